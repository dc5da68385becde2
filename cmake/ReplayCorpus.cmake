# Runs one fuzz target over every file of its corpus (no mutation): a crash or
# sanitizer report fails the test.
file(GLOB _inputs ${CORPUS}/*)
if(NOT _inputs)
  message(STATUS "empty corpus ${CORPUS}")
  return()
endif()
execute_process(COMMAND ${FUZZER} -runs=0 ${_inputs} RESULT_VARIABLE _rc OUTPUT_QUIET ERROR_VARIABLE _err)
if(NOT _rc EQUAL 0)
  message(FATAL_ERROR "fuzz replay failed (${_rc}):\n${_err}")
endif()
