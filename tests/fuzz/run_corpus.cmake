# Runs the libFuzzer target FUZZER over every file of the folder CORPUS, each once. Files, not
# the folder, are passed: given a folder, libFuzzer would fuzz it and add its finds to it.
file(GLOB inputs LIST_DIRECTORIES false "${CORPUS}/*")
if(NOT inputs)
  message(FATAL_ERROR "no inputs in ${CORPUS}")
endif()
execute_process(COMMAND ${FUZZER} ${inputs} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${FUZZER} failed (${status}) on the input named in the last \"Running:\" line above")
endif()
