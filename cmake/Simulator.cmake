# The simulated game and the command-line simulator.
file(GLOB SIMGAME_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/sim/game/*.cpp)
add_library(simgame STATIC ${SIMGAME_SOURCES})
target_include_directories(simgame PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(simgame PUBLIC AsaApi)
# The game's objects are plain classes whose field offsets are published to
# the key registry; offsetof on them is what the registry is for.
target_compile_options(simgame PRIVATE -Wno-invalid-offsetof)
set_target_properties(simgame PROPERTIES UNITY_BUILD ${CRADLEKEEP_UNITY} UNITY_BUILD_BATCH_SIZE 5)

file(GLOB SIMTOOL_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/sim/*.cpp)
list(FILTER SIMTOOL_SOURCES EXCLUDE REGEX "main\\.cpp$")
add_library(simtool STATIC ${SIMTOOL_SOURCES})
set_target_properties(simtool PROPERTIES UNITY_BUILD ${CRADLEKEEP_UNITY} UNITY_BUILD_BATCH_SIZE 5)
target_include_directories(simtool PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(simtool PUBLIC simgame AsaApi nlohmann_json::nlohmann_json ${CMAKE_DL_LIBS})
# The scenario reader and checker all include nlohmann-json: parsed once.
if(NOT WIN32)
  target_precompile_headers(simtool PRIVATE <nlohmann/json.hpp> <filesystem> <string> <vector>)
endif()

add_executable(cradlekeep-sim tools/sim/main.cpp)
target_link_libraries(cradlekeep-sim PRIVATE simtool)
set_target_properties(cradlekeep-sim PROPERTIES BUILD_RPATH "\$ORIGIN")
add_dependencies(cradlekeep-sim cradlekeep)

# The fault sweep over scenarios.
add_executable(cradlekeep-sweep tools/sweep/main.cpp)
target_link_libraries(cradlekeep-sweep PRIVATE simtool)
set_target_properties(cradlekeep-sweep PROPERTIES BUILD_RPATH "\$ORIGIN")
add_dependencies(cradlekeep-sweep cradlekeep)
