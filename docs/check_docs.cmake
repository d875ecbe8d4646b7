cmake_minimum_required(VERSION 3.18)
# Runs doxygen over the public headers and fails, listing them, on any warning.
# Variables: DOXYGEN, DOXYFILE, WARNINGS.
file(REMOVE ${WARNINGS})
execute_process(COMMAND ${DOXYGEN} ${DOXYFILE} RESULT_VARIABLE _rc
  OUTPUT_VARIABLE _out ERROR_VARIABLE _err)
set(_warnings "")
if(EXISTS ${WARNINGS})
  file(READ ${WARNINGS} _warnings)
endif()
if(NOT _rc EQUAL 0 OR NOT _warnings STREQUAL "")
  message(FATAL_ERROR "doxygen (${_rc}):\n${_warnings}${_err}")
endif()
message(STATUS "public headers fully documented")
