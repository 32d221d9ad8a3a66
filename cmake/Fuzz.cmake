# The fuzz build: libFuzzer targets for the configuration loader, the
# debug console command, the admin commands and the offsets cache reader, built with clang apart
# from the normal build.
#
# Entered from fuzz/CMakeLists.txt (cmake -S fuzz -B build/fuzz), a project
# of its own beside the normal build; it works as well when the top-level
# CMakeLists.txt includes it instead of its own targets. The plugin, the
# simulated framework and the simulated game are compiled once more here,
# instrumented for coverage and with AddressSanitizer and
# UndefinedBehaviorSanitizer; each fuzz target links them in with libFuzzer's
# main.

if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "the fuzz build needs clang (libFuzzer): configure it with -DCMAKE_CXX_COMPILER=clang++")
endif()

get_filename_component(CRADLEKEEP_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)

# The plugin's version header (plugin/version.h), made in this build folder.
include(${CMAKE_CURRENT_LIST_DIR}/Version.cmake)

foreach(package fmt spdlog nlohmann_json)
  if(NOT ${package}_FOUND)
    find_package(${package} REQUIRED)
  endif()
endforeach()

# UB stops the run like a memory error does; -O1 keeps the runs fast and the
# stacks readable, and line tables are all a stack needs.
set(CRADLEKEEP_FUZZ_SANITIZERS address,undefined)
# The function-type check stays off: the plugin calls each simulated game
# function through the framework's declared types (TSubclassOf<UObject>*),
# while the simulated game defines it on its own objects of the same layout.
set(CRADLEKEEP_FUZZ_COMPILE_OPTIONS
  -Wall -Wextra -O1 -gline-tables-only -fno-omit-frame-pointer
  -fsanitize=fuzzer-no-link,${CRADLEKEEP_FUZZ_SANITIZERS} -fno-sanitize-recover=all -fno-sanitize=function)
if(CRADLEKEEP_WERROR)
  list(APPEND CRADLEKEEP_FUZZ_COMPILE_OPTIONS -Werror)
endif()

# The simulated framework (in the normal build the AsaApi shared library).
file(GLOB CRADLEKEEP_FUZZ_FRAMEWORK_SOURCES CONFIGURE_DEPENDS ${CRADLEKEEP_ROOT}/sim/framework/*.cpp)
add_library(fuzz_framework OBJECT ${CRADLEKEEP_FUZZ_FRAMEWORK_SOURCES})
target_include_directories(fuzz_framework PUBLIC ${CRADLEKEEP_ROOT}/sdk ${CRADLEKEEP_ROOT})
target_compile_definitions(fuzz_framework PRIVATE ASAAPI_BUILDING)
target_link_libraries(fuzz_framework PUBLIC spdlog::spdlog fmt::fmt)

# The simulated game. Its objects are plain classes whose field offsets are
# published to the key registry; offsetof on them is what the registry is for.
file(GLOB CRADLEKEEP_FUZZ_GAME_SOURCES CONFIGURE_DEPENDS ${CRADLEKEEP_ROOT}/sim/game/*.cpp)
add_library(fuzz_game OBJECT ${CRADLEKEEP_FUZZ_GAME_SOURCES})
target_link_libraries(fuzz_game PUBLIC fuzz_framework)
target_compile_options(fuzz_game PRIVATE -Wno-invalid-offsetof)

# The plugin.
file(GLOB_RECURSE CRADLEKEEP_FUZZ_PLUGIN_SOURCES CONFIGURE_DEPENDS ${CRADLEKEEP_ROOT}/src/*.cpp)
list(FILTER CRADLEKEEP_FUZZ_PLUGIN_SOURCES EXCLUDE REGEX "src/host/framework/msvc/seh_guard\\.cpp$")
add_library(fuzz_plugin OBJECT ${CRADLEKEEP_FUZZ_PLUGIN_SOURCES})
target_include_directories(fuzz_plugin PUBLIC ${CRADLEKEEP_ROOT}/src ${CRADLEKEEP_GENERATED_INCLUDE_DIR})
target_link_libraries(fuzz_plugin PUBLIC fuzz_framework nlohmann_json::nlohmann_json)

# Compiled a few files at a time as one: nothing here is shipped, and each
# batch parses the logging and JSON headers once.
foreach(library fuzz_framework fuzz_game fuzz_plugin)
  target_compile_options(${library} PRIVATE ${CRADLEKEEP_FUZZ_COMPILE_OPTIONS})
  set_target_properties(${library} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
endforeach()

# One program per target, named after its source: fuzz/NAME_fuzzer.cpp gives
# NAME_fuzzer. Linking the object libraries directly puts their objects in.
foreach(name config debug_command admin_command offsets_cache)
  add_executable(${name}_fuzzer ${CRADLEKEEP_ROOT}/fuzz/${name}_fuzzer.cpp)
  target_include_directories(${name}_fuzzer PRIVATE ${CRADLEKEEP_ROOT}/fuzz)
  target_link_libraries(${name}_fuzzer PRIVATE fuzz_plugin fuzz_game fuzz_framework
    spdlog::spdlog fmt::fmt nlohmann_json::nlohmann_json ${CMAKE_DL_LIBS})
  target_compile_options(${name}_fuzzer PRIVATE ${CRADLEKEEP_FUZZ_COMPILE_OPTIONS} -Wno-invalid-offsetof)
  target_link_options(${name}_fuzzer PRIVATE -fsanitize=fuzzer,${CRADLEKEEP_FUZZ_SANITIZERS})
  set_target_properties(${name}_fuzzer PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endforeach()
