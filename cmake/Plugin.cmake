# The plugin: its sources compile once into an object library that both the
# shipped shared library and the unit tests use.
#
# On Windows the plugin talks to the framework only through its
# binary-interface layer (src/host/framework/msvc/): it links the framework's import
# library and the structured-exception guard, never the simulated framework.
file(GLOB_RECURSE CRADLEKEEP_SOURCES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/src/*.cpp)
# Built by clang in MSVC mode (cmake/FrameworkDouble.cmake), not by this compiler.
list(FILTER CRADLEKEEP_SOURCES EXCLUDE REGEX "src/host/framework/msvc/seh_guard\\.cpp$")
add_library(cradlekeep_objects OBJECT ${CRADLEKEEP_SOURCES})
# The generated folder holds plugin/version.h (cmake/Version.cmake).
target_include_directories(cradlekeep_objects PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/sdk
  ${CRADLEKEEP_GENERATED_INCLUDE_DIR})
target_link_libraries(cradlekeep_objects PUBLIC fmt::fmt nlohmann_json::nlohmann_json)
if(WIN32)
  add_dependencies(cradlekeep_objects framework_import)
  set(CRADLEKEEP_PLATFORM_OBJECTS ${CRADLEKEEP_SEH_GUARD})
  set(CRADLEKEEP_FRAMEWORK_LINK ${CRADLEKEEP_FRAMEWORK_IMPORT})
else()
  target_link_libraries(cradlekeep_objects PUBLIC spdlog::spdlog)
  set(CRADLEKEEP_PLATFORM_OBJECTS "")
  set(CRADLEKEEP_FRAMEWORK_LINK AsaApi spdlog::spdlog)
endif()
set_target_properties(cradlekeep_objects PROPERTIES
  CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
if(WIN32)
  # The release's symbols zip carries the DLL's full debug information,
  # whatever the rest of the build carries.
  target_compile_options(cradlekeep_objects PRIVATE -g)
endif()

add_library(cradlekeep SHARED $<TARGET_OBJECTS:cradlekeep_objects> ${CRADLEKEEP_PLATFORM_OBJECTS})
target_link_libraries(cradlekeep PRIVATE ${CRADLEKEEP_FRAMEWORK_LINK} fmt::fmt)
if(WIN32)
  set_target_properties(cradlekeep PROPERTIES PREFIX "" OUTPUT_NAME Cradlekeep)
  add_dependencies(cradlekeep framework_import)
  # The file and product version an admin sees in the DLL's properties.
  target_sources(cradlekeep PRIVATE ${CRADLEKEEP_GENERATED_INCLUDE_DIR}/plugin/version.rc)
else()
  set_target_properties(cradlekeep PROPERTIES OUTPUT_NAME cradlekeep)
  # Only the three entry points leave the library, whatever the headers it
  # includes declare with default visibility.
  target_link_options(cradlekeep PRIVATE
    -Wl,--version-script=${PROJECT_SOURCE_DIR}/src/plugin/exports.map -Wl,--no-undefined)
  set_property(TARGET cradlekeep APPEND PROPERTY LINK_DEPENDS ${PROJECT_SOURCE_DIR}/src/plugin/exports.map)
  set_target_properties(cradlekeep PROPERTIES BUILD_RPATH "\$ORIGIN")
endif()

# A program that links the plugin's code itself, beside the simulated
# framework and game: the unit tests, the soak and the benchmarks, which look
# at the plugin from the inside.
function(cradlekeep_add_inside_program name)
  add_executable(${name} ${ARGN} $<TARGET_OBJECTS:cradlekeep_objects> ${CRADLEKEEP_PLATFORM_OBJECTS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${CRADLEKEEP_GENERATED_INCLUDE_DIR})
  target_link_libraries(${name} PRIVATE simgame AsaApi ${CRADLEKEEP_FRAMEWORK_LINK} spdlog::spdlog fmt::fmt
    nlohmann_json::nlohmann_json ${CMAKE_DL_LIBS})
  target_compile_options(${name} PRIVATE -Wno-invalid-offsetof)
  set_target_properties(${name} PROPERTIES BUILD_RPATH "\$ORIGIN")
endfunction()

# The table of the game keys the plugin uses (docs/game-keys.md), written from
# the plugin's own table of keys and parts.
cradlekeep_add_inside_program(cradlekeep-keys tools/keys/main.cpp)
