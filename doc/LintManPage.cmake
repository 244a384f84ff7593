# cmake -DPAGE=<page> [-DGROFF=<groff>] [-DMANDOC=<mandoc>] -P LintManPage.cmake
# Renders the page with every formatter given and fails on any message.
set(checked 0)
if(GROFF)
  execute_process(COMMAND ${GROFF} -man -ww -z ${PAGE}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0 OR NOT "${out}${err}" STREQUAL "")
    message(FATAL_ERROR "groff -man -ww -z (status ${status}):\n${out}${err}")
  endif()
  math(EXPR checked "${checked} + 1")
endif()
if(MANDOC)
  execute_process(COMMAND ${MANDOC} -T lint ${PAGE}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0 OR NOT "${out}${err}" STREQUAL "")
    message(FATAL_ERROR "mandoc -T lint (status ${status}):\n${out}${err}")
  endif()
  math(EXPR checked "${checked} + 1")
endif()
if(checked EQUAL 0)
  message(FATAL_ERROR "no formatter given")
endif()
message(STATUS "${PAGE}: clean with ${checked} formatter(s)")
