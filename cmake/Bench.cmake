# The benchmark suite: built by the normal build, run on demand.
find_package(benchmark REQUIRED)
file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/*.cpp)
cradlekeep_add_inside_program(cradlekeep_bench ${BENCH_SOURCES})
target_include_directories(cradlekeep_bench PRIVATE ${PROJECT_SOURCE_DIR}/bench)
target_link_libraries(cradlekeep_bench PRIVATE benchmark::benchmark)

# The instruction-count driver for callgrind (scripts/instructions.sh).
cradlekeep_add_inside_program(cradlekeep_instr bench/instructions/main.cpp bench/bench_world.cpp)
target_include_directories(cradlekeep_instr PRIVATE ${PROJECT_SOURCE_DIR}/bench)
