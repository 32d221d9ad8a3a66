# Windows only: the pieces built by clang in MSVC mode.
#
# - The framework double, AsaApi.dll: the framework's declarations
#   (sim/msvc/framework_decls.h) implemented in MSVC's binary interface and
#   forwarding to the simulated framework (SimFramework.dll) through a C
#   bridge, and the game functions whose binary interface differs between
#   the compilers, served as the MSVC-built game serves them. Freestanding, linked by lld-link with mingw's kernel32 import
#   library. Its import library AsaApi.lib lets the simulated framework
#   connect to it.
# - The plugin's structured-exception guard (src/host/framework/msvc/seh_guard.cpp), an
#   ordinary COFF object that links into the mingw-built plugin.
# - The plugin's import library for the framework, made by dlltool from
#   src/host/framework/msvc/asaapi.def: plain C names bound to the framework's
#   MSVC-decorated exports.

find_program(CRADLEKEEP_CLANG NAMES clang-14 clang REQUIRED)
find_program(CRADLEKEEP_LLD_LINK NAMES lld-link-14 lld-link REQUIRED)
find_program(CRADLEKEEP_DLLTOOL NAMES x86_64-w64-mingw32-dlltool REQUIRED)
find_library(CRADLEKEEP_KERNEL32 NAMES kernel32 REQUIRED)

set(CRADLEKEEP_MSVC_FLAGS --target=x86_64-pc-windows-msvc -ffreestanding -fno-stack-protector -fasynchronous-unwind-tables -O2 -std=c++20
    -Wall -Wextra)
if(CRADLEKEEP_WERROR)
  list(APPEND CRADLEKEEP_MSVC_FLAGS -Werror)
endif()

set(double_dir ${CMAKE_BINARY_DIR}/framework-double)
file(MAKE_DIRECTORY ${double_dir})
set(double_headers ${PROJECT_SOURCE_DIR}/sim/msvc/framework_decls.h ${PROJECT_SOURCE_DIR}/sim/msvc/bridge.h
    ${PROJECT_SOURCE_DIR}/sim/msvc/runtime.h)

add_custom_command(OUTPUT ${double_dir}/framework_double.obj
  COMMAND ${CRADLEKEEP_CLANG} ${CRADLEKEEP_MSVC_FLAGS} -fno-exceptions -fno-rtti
          -c ${PROJECT_SOURCE_DIR}/sim/msvc/framework_double.cpp -o ${double_dir}/framework_double.obj
  DEPENDS ${PROJECT_SOURCE_DIR}/sim/msvc/framework_double.cpp ${double_headers}
  COMMENT "clang (MSVC mode): framework double")
add_custom_command(OUTPUT ${double_dir}/game_thunks.obj
  COMMAND ${CRADLEKEEP_CLANG} ${CRADLEKEEP_MSVC_FLAGS} -fno-exceptions -fno-rtti
          -c ${PROJECT_SOURCE_DIR}/sim/msvc/game_thunks.cpp -o ${double_dir}/game_thunks.obj
  DEPENDS ${PROJECT_SOURCE_DIR}/sim/msvc/game_thunks.cpp ${double_headers}
  COMMENT "clang (MSVC mode): game function thunks")
# Exceptions and RTTI here: clang lays out the throw information itself.
add_custom_command(OUTPUT ${double_dir}/runtime.obj
  COMMAND ${CRADLEKEEP_CLANG} ${CRADLEKEEP_MSVC_FLAGS} -fexceptions -fcxx-exceptions -frtti
          -c ${PROJECT_SOURCE_DIR}/sim/msvc/runtime.cpp -o ${double_dir}/runtime.obj
  DEPENDS ${PROJECT_SOURCE_DIR}/sim/msvc/runtime.cpp ${double_headers}
  COMMENT "clang (MSVC mode): framework double runtime")
set(CRADLEKEEP_DOUBLE_DLL ${CMAKE_BINARY_DIR}/bin/AsaApi.dll)
set(CRADLEKEEP_DOUBLE_LIB ${CMAKE_BINARY_DIR}/lib/AsaApi.lib)
add_custom_command(OUTPUT ${CRADLEKEEP_DOUBLE_DLL} ${CRADLEKEEP_DOUBLE_LIB}
  COMMAND ${CRADLEKEEP_LLD_LINK} /nologo /dll /nodefaultlib /noentry /machine:x64
          /out:${CRADLEKEEP_DOUBLE_DLL} /implib:${CRADLEKEEP_DOUBLE_LIB}
          ${double_dir}/framework_double.obj ${double_dir}/game_thunks.obj ${double_dir}/runtime.obj
          ${CRADLEKEEP_KERNEL32}
  DEPENDS ${double_dir}/framework_double.obj ${double_dir}/game_thunks.obj ${double_dir}/runtime.obj
  COMMENT "lld-link: AsaApi.dll (framework double)")
add_custom_target(framework_double ALL DEPENDS ${CRADLEKEEP_DOUBLE_DLL} ${CRADLEKEEP_DOUBLE_LIB})

set(CRADLEKEEP_SEH_GUARD ${CMAKE_BINARY_DIR}/seh-guard/seh_guard.obj)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/seh-guard)
add_custom_command(OUTPUT ${CRADLEKEEP_SEH_GUARD}
  COMMAND ${CRADLEKEEP_CLANG} ${CRADLEKEEP_MSVC_FLAGS} -fno-exceptions -fno-rtti
          -c ${PROJECT_SOURCE_DIR}/src/host/framework/msvc/seh_guard.cpp -o ${CRADLEKEEP_SEH_GUARD}
  DEPENDS ${PROJECT_SOURCE_DIR}/src/host/framework/msvc/seh_guard.cpp ${PROJECT_SOURCE_DIR}/src/host/framework/msvc/seh_guard.h
  COMMENT "clang (MSVC mode): structured-exception guard")
set_source_files_properties(${CRADLEKEEP_SEH_GUARD} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)

set(CRADLEKEEP_FRAMEWORK_IMPORT ${CMAKE_BINARY_DIR}/lib/libasaapi_import.a)
add_custom_command(OUTPUT ${CRADLEKEEP_FRAMEWORK_IMPORT}
  COMMAND ${CRADLEKEEP_DLLTOOL} -d ${PROJECT_SOURCE_DIR}/src/host/framework/msvc/asaapi.def -l ${CRADLEKEEP_FRAMEWORK_IMPORT}
  DEPENDS ${PROJECT_SOURCE_DIR}/src/host/framework/msvc/asaapi.def
  COMMENT "dlltool: the framework's import library")
add_custom_target(framework_import DEPENDS ${CRADLEKEEP_FRAMEWORK_IMPORT})
