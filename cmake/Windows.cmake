# The Windows build: mingw-w64 cross-compiler, programs run under Wine.
#
# Debian's CMake packages of fmt, spdlog and nlohmann-json describe Linux
# libraries and the Linux include folder, so this build copies the three
# libraries' headers into an include folder of its own and uses fmt and spdlog
# header-only. The targets carry the names the Linux build gets from
# find_package, so every target links the same way on both systems.

set(CRADLEKEEP_HEADER_SOURCE /usr/include CACHE PATH
  "Folder holding the fmt, spdlog and nlohmann headers the Windows build copies")
set(CRADLEKEEP_WIN_INCLUDE ${CMAKE_BINARY_DIR}/win-include)
foreach(library fmt spdlog nlohmann)
  if(NOT IS_DIRECTORY ${CRADLEKEEP_HEADER_SOURCE}/${library})
    message(FATAL_ERROR "no ${library} headers in ${CRADLEKEEP_HEADER_SOURCE}; "
                        "scripts/setup-windows.sh installs them")
  endif()
  file(COPY ${CRADLEKEEP_HEADER_SOURCE}/${library} DESTINATION ${CRADLEKEEP_WIN_INCLUDE})
endforeach()

# The DLL's version resource (cmake/version.rc.in) is compiled by the
# toolchain's windres.
enable_language(RC)

# fmt's formatting core compiles once, into a static library every module
# links (cmake/windows/fmt_library.cpp); header-only, it compiled again in
# every file that formats text, four times the time of the file itself.
add_library(cradlekeep_fmt STATIC ${PROJECT_SOURCE_DIR}/cmake/windows/fmt_library.cpp)
target_include_directories(cradlekeep_fmt SYSTEM PUBLIC ${CRADLEKEEP_WIN_INCLUDE})
# Linked into the shipped DLL: full debug information, as the plugin's own code.
target_compile_options(cradlekeep_fmt PRIVATE -g)
add_library(fmt::fmt INTERFACE IMPORTED)
set_target_properties(fmt::fmt PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES ${CRADLEKEEP_WIN_INCLUDE}
  INTERFACE_LINK_LIBRARIES cradlekeep_fmt)

# SPDLOG_HEADER_ONLY is defined empty, as spdlog's own headers define it.
add_library(spdlog::spdlog INTERFACE IMPORTED)
set_target_properties(spdlog::spdlog PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES ${CRADLEKEEP_WIN_INCLUDE}
  INTERFACE_COMPILE_DEFINITIONS "SPDLOG_HEADER_ONLY=;SPDLOG_FMT_EXTERNAL"
  INTERFACE_LINK_LIBRARIES fmt::fmt)

add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES ${CRADLEKEEP_WIN_INCLUDE})

# Programs built here run under Wine, in a Wine prefix inside the build folder,
# without Wine's diagnostics, its offers to install Mono or Gecko, or its menu
# entries in the user's desktop.
if(CMAKE_CROSSCOMPILING AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
  find_program(CRADLEKEEP_WINE NAMES wine64 wine)
  if(CRADLEKEEP_WINE)
    set(CRADLEKEEP_WINEPREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
    file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/wine-run @ONLY CONTENT [[#!/bin/sh
# Runs a Windows program of this build under Wine.
export WINEPREFIX='@CRADLEKEEP_WINEPREFIX@' WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
exec '@CRADLEKEEP_WINE@' "$@"
]])
    file(CHMOD ${CMAKE_BINARY_DIR}/wine-run
      PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
  endif()
endif()

if(CRADLEKEEP_BUILD_TESTS)
  # GoogleTest is built from Debian's source package with this compiler.
  set(CRADLEKEEP_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source folder")
  set(BUILD_GMOCK OFF CACHE BOOL "Build GoogleMock")
  set(INSTALL_GTEST OFF CACHE BOOL "Install GoogleTest")
  add_subdirectory(${CRADLEKEEP_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  foreach(library gtest gtest_main)
    if(NOT TARGET GTest::${library})
      add_library(GTest::${library} ALIAS ${library})
    endif()
  endforeach()

  # Listing a test program's cases runs it, under Wine: do that when the tests
  # run, where the test command keeps one Wine server up, not in the build.
  set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)

  # What each shipped module imports, and what the plugin exports.
  set(pe_check ${PROJECT_SOURCE_DIR}/tests/windows/check_pe.cmake)
  add_test(NAME plugin.exports
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DMODULE=$<TARGET_FILE:cradlekeep>
            -DEXPORTS=Cradlekeep_CaptureForTransfer,Plugin_Init,Plugin_Unload
            -DALLOWED_IMPORTS=AsaApi.dll -P ${pe_check})
  add_test(NAME framework.imports
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DMODULE=$<TARGET_FILE:AsaApi>
            -DALLOWED_IMPORTS=AsaApi.dll -P ${pe_check})
  add_test(NAME sim.imports
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DMODULE=$<TARGET_FILE:cradlekeep-sim>
            -DALLOWED_IMPORTS=$<TARGET_FILE_NAME:AsaApi> -P ${pe_check})
endif()
