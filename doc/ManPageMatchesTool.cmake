# cmake -DPAGE=<page> -DGROFF=<groff> -DTOOL=<velkin-tool> -DRESOURCE_ROOT=<dir>
#       -P ManPageMatchesTool.cmake
# The rendered page must quote the usage line the tool prints, the exit status
# it ends with, and the resource root the build installs.
execute_process(COMMAND ${GROFF} -man -T ascii -P -cbou -rLL=200n ${PAGE}
  RESULT_VARIABLE status OUTPUT_VARIABLE text ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "groff could not render ${PAGE}:\n${err}")
endif()

execute_process(COMMAND ${TOOL}
  RESULT_VARIABLE status OUTPUT_VARIABLE usage ERROR_VARIABLE err)
string(STRIP "${usage}" usage)
if(usage STREQUAL "")
  message(FATAL_ERROR "${TOOL} without an argument printed nothing")
endif()
string(FIND "${text}" "${usage}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "the page does not show the usage line \"${usage}\"")
endif()
string(REGEX MATCH "\n +${status}[ \n]" documented "${text}")
if(documented STREQUAL "")
  message(FATAL_ERROR "the page does not list the exit status ${status} of a wrong argument count")
endif()

foreach(path ${RESOURCE_ROOT}
             ${RESOURCE_ROOT}/profile/menu.json
             ${RESOURCE_ROOT}/profile/helper.json
             ${RESOURCE_ROOT}/profile/providers.json)
  string(FIND "${text}" "${path}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the page does not name ${path}")
  endif()
endforeach()
message(STATUS "${PAGE} agrees with ${TOOL}")
