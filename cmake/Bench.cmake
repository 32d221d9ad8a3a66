# The benchmark suite: built by the normal build, run on demand.
find_package(benchmark REQUIRED)
file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/*.cpp)
add_executable(cradlekeep_bench ${BENCH_SOURCES} $<TARGET_OBJECTS:cradlekeep_objects>)
target_include_directories(cradlekeep_bench PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/bench)
target_link_libraries(cradlekeep_bench PRIVATE simgame AsaApi spdlog::spdlog fmt::fmt nlohmann_json::nlohmann_json
  benchmark::benchmark ${CMAKE_DL_LIBS})
target_compile_options(cradlekeep_bench PRIVATE -Wno-invalid-offsetof)
set_target_properties(cradlekeep_bench PROPERTIES BUILD_RPATH "\$ORIGIN")

# The instruction-count driver for callgrind (scripts/instructions.sh).
add_executable(cradlekeep_instr bench/instructions/main.cpp bench/bench_world.cpp $<TARGET_OBJECTS:cradlekeep_objects>)
target_include_directories(cradlekeep_instr PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/bench)
target_link_libraries(cradlekeep_instr PRIVATE simgame AsaApi spdlog::spdlog fmt::fmt nlohmann_json::nlohmann_json ${CMAKE_DL_LIBS})
target_compile_options(cradlekeep_instr PRIVATE -Wno-invalid-offsetof)
set_target_properties(cradlekeep_instr PROPERTIES BUILD_RPATH "\$ORIGIN")
