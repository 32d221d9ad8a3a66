# Runs the simulator on SCENARIO and passes when it exits 2 with a message
# containing the text given on the scenario's first line ("// expect: ...").
# EMULATOR, when set, is the program that runs SIM (Wine for a Windows build).
file(STRINGS ${SCENARIO} first_line LIMIT_COUNT 1)
string(REGEX REPLACE "^// expect: " "" expected "${first_line}")
execute_process(COMMAND ${EMULATOR} ${SIM} run ${SCENARIO} --quiet --plugin ${PLUGIN}
  RESULT_VARIABLE code ERROR_VARIABLE err OUTPUT_VARIABLE out)
if(NOT code EQUAL 2)
  message(FATAL_ERROR "expected exit 2, got ${code}\nstdout: ${out}\nstderr: ${err}")
endif()
string(FIND "${err}" "${expected}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "refusal does not mention '${expected}':\n${err}")
endif()
string(REGEX MATCHALL "\n" lines "${err}")
list(LENGTH lines count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one line on stderr, got ${count}:\n${err}")
endif()
