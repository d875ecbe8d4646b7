cmake_minimum_required(VERSION 3.18)
# Compiles one-line files with the include folders a build target really gets and holds the
# outcome against the layering: a subsystem finds its own headers and those below it, never
# one above; a user of the library finds the public headers and nothing else.
# Variables: CXX, WORK, and INC_<name> (include folders joined with "|") for each name below.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

# Rows: include set, header as written, expected outcome (ok or missing).
set(_rows
  config "CUtilJson.h" ok
  config "CConverter.h" ok
  config "CMeasurementResultData.h" missing
  config "CChannelData.h" missing
  vocabulary "CDeviceSettingsData.h" missing
  channels "CMeasConfigData.h" ok
  channels "CDBMeasurement.h" missing
  database "CChannelTableData.h" ok
  database "CSessionReader.h" missing
  results "CDBMeasurementController.h" ok
  results "CArchivHandler.h" missing
  exchange "CMeasurementResultData.h" ok
  public "CConverter.h" ok
  public "<MainDataAccess/CConverter.h>" ok
  public "<MainDataAccess/CMeasurementResultData.h>" ok
  public "CTableMeasurements.h" missing
  public "CTableBase.h" missing
  public "CMeasurementJudge.h" missing
  public "CImportStaging.h" missing)

set(_failures "")
list(LENGTH _rows _count)
math(EXPR _last "${_count} - 1")
set(_n 0)
foreach(i RANGE 0 ${_last} 3)
  math(EXPR j "${i} + 1")
  math(EXPR k "${i} + 2")
  list(GET _rows ${i} _set)
  list(GET _rows ${j} _header)
  list(GET _rows ${k} _expect)
  if(NOT DEFINED INC_${_set})
    message(FATAL_ERROR "no include folders given for '${_set}'")
  endif()
  string(REPLACE "|" ";" _dirs "${INC_${_set}}")
  set(_flags)
  foreach(d IN LISTS _dirs)
    list(APPEND _flags "-I${d}")
  endforeach()
  if(_header MATCHES "^<")
    set(_line "#include ${_header}")
  else()
    set(_line "#include \"${_header}\"")
  endif()
  math(EXPR _n "${_n} + 1")
  set(_file ${WORK}/probe${_n}.cpp)
  file(WRITE ${_file} "${_line}\nint main() { return 0; }\n")
  execute_process(COMMAND ${CXX} -std=c++17 -fPIC -fsyntax-only ${_flags} ${_file}
    RESULT_VARIABLE _rc OUTPUT_VARIABLE _out ERROR_VARIABLE _err)
  string(REGEX REPLACE "^<MainDataAccess/(.*)>$" "\\1" _bare "${_header}")
  if(_expect STREQUAL "ok" AND NOT _rc EQUAL 0)
    string(APPEND _failures "${_set}: ${_line} does not compile:\n${_err}\n")
  elseif(_expect STREQUAL "missing")
    # Failing for another reason (a broken flag) would prove nothing.
    if(_rc EQUAL 0)
      string(APPEND _failures "${_set}: ${_line} compiles, but must not be found\n")
    elseif(NOT _err MATCHES "${_bare}: No such file")
      string(APPEND _failures "${_set}: ${_line} fails, but not as a missing header:\n${_err}\n")
    endif()
  endif()
endforeach()
if(_failures)
  message(FATAL_ERROR "${_failures}")
endif()
message(STATUS "${_n} include probes as expected")
