# Runs a fuzz target once over every file of a regression folder (cmake -P script).
file(GLOB inputs ${DIR}/*)
if(NOT inputs)
  message(FATAL_ERROR "no regression inputs in ${DIR}")
endif()
execute_process(COMMAND ${FUZZER} ${inputs} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${FUZZER} failed on a regression input (${result})")
endif()
