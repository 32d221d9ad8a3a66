# The plugin's version has one source: the project version in the top-level
# CMakeLists.txt (project(Cradlekeep VERSION X.Y.Z)). Everything that carries
# the version is made from it here, in the build folder:
#
#   generated/plugin/version.h    ck::plugin::kVersion, the text of the start-up
#                                 line "Cradlekeep loaded version X.Y.Z"; its
#                                 folder is on the include path of every target
#                                 that compiles the plugin's sources
#   packaging/PluginInfo.json     the framework's description of the plugin,
#                                 from packaging/PluginInfo.json.in
#   generated/plugin/version.rc   the Windows version resource of
#                                 Cradlekeep.dll (file and product version),
#                                 compiled by windres in the Windows build
#
# The release zips are named after the same version (scripts/package.sh), and
# CHANGELOG.md has a section for it; tests/check_versions.sh holds them all
# to the project version.
#
# The fuzz build is a project of its own (fuzz/CMakeLists.txt); there the
# version is read from the top-level CMakeLists.txt.

get_filename_component(CRADLEKEEP_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)

if(DEFINED Cradlekeep_VERSION)
  set(CRADLEKEEP_VERSION ${Cradlekeep_VERSION})
else()
  file(STRINGS ${CRADLEKEEP_SOURCE_ROOT}/CMakeLists.txt project_line REGEX "^project\\(Cradlekeep VERSION ")
  if(NOT project_line MATCHES "VERSION ([0-9]+\\.[0-9]+\\.[0-9]+)")
    message(FATAL_ERROR "no project(Cradlekeep VERSION X.Y.Z) line in ${CRADLEKEEP_SOURCE_ROOT}/CMakeLists.txt")
  endif()
  set(CRADLEKEEP_VERSION ${CMAKE_MATCH_1})
endif()
if(NOT CRADLEKEEP_VERSION MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
  message(FATAL_ERROR "the project version '${CRADLEKEEP_VERSION}' is not MAJOR.MINOR.PATCH")
endif()
set(CRADLEKEEP_VERSION_MAJOR ${CMAKE_MATCH_1})
set(CRADLEKEEP_VERSION_MINOR ${CMAKE_MATCH_2})
set(CRADLEKEEP_VERSION_PATCH ${CMAKE_MATCH_3})

# The framework reads PluginInfo's Version as a number: the major version,
# then the minor and patch versions written one after the other as the
# fraction (0.7.3 is 0.73, 0.8.0 is 0.80). That number orders the releases
# only while the minor and patch versions stay single digits (0.10.0 would be
# 0.100, below 0.80): a version past that needs another rule here first.
if(CRADLEKEEP_VERSION_MINOR GREATER 9 OR CRADLEKEEP_VERSION_PATCH GREATER 9)
  message(FATAL_ERROR "the project version ${CRADLEKEEP_VERSION} has no PluginInfo number that sorts above "
                      "the releases before it; see the PluginInfo rule in cmake/Version.cmake")
endif()
set(CRADLEKEEP_PLUGIN_INFO_VERSION "${CRADLEKEEP_VERSION_MAJOR}.${CRADLEKEEP_VERSION_MINOR}${CRADLEKEEP_VERSION_PATCH}")

set(CRADLEKEEP_GENERATED_INCLUDE_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in ${CRADLEKEEP_GENERATED_INCLUDE_DIR}/plugin/version.h @ONLY)
configure_file(${CRADLEKEEP_SOURCE_ROOT}/packaging/PluginInfo.json.in ${CMAKE_BINARY_DIR}/packaging/PluginInfo.json
  @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.rc.in ${CRADLEKEEP_GENERATED_INCLUDE_DIR}/plugin/version.rc @ONLY)
