cmake_minimum_required(VERSION 3.18)
# Installs the just-built library into a fresh temporary prefix, then builds and runs the
# client twice against it: through the CMake package, and through pkg-config alone.
# Variables: BUILD_DIR, SOURCE_DIR, WORK, PACKAGE, PC_NAME, LIBDIR, QT_MAJOR, MOC, CXX.
function(mda_run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE _rc OUTPUT_VARIABLE _out ERROR_VARIABLE _err)
  if(NOT _rc EQUAL 0)
    string(REPLACE ";" " " _line "${ARGN}")
    message(FATAL_ERROR "failed (${_rc}): ${_line}\n${_out}${_err}")
  endif()
  set(mda_output "${_out}" PARENT_SCOPE)
endfunction()

set(_prefix ${WORK}/prefix)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
mda_run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${_prefix})

# Only the public headers are installed, and each of them finds what it includes in the
# installed tree alone: one file including all of them compiles with the package's flags.
file(GLOB _installed RELATIVE ${_prefix} ${_prefix}/include/*/MainDataAccess/*.h)
list(LENGTH _installed _installed_count)
if(_installed_count LESS 100)
  message(FATAL_ERROR "only ${_installed_count} headers installed: ${_installed}")
endif()
foreach(internal CTableBase.h CTableMeasurements.h CTableRecordSet.h CTableCursor.h
        CMeasurementJudge.h CImportStaging.h CSessionConfigurationRestorer.h)
  if(_installed MATCHES "/${internal}")
    message(FATAL_ERROR "internal header installed: ${internal}")
  endif()
endforeach()
set(_all ${WORK}/all_headers.cpp)
file(WRITE ${_all} "")
foreach(h IN LISTS _installed)
  get_filename_component(_name ${h} NAME)
  file(APPEND ${_all} "#include <MainDataAccess/${_name}>\n")
endforeach()

# 1. find_package(): the package must come from the temporary prefix, not from the system.
mda_run(${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK}/cmake-build -DCMAKE_BUILD_TYPE=Release
        -DCMAKE_PREFIX_PATH=${_prefix} -DMDA_PACKAGE=${PACKAGE} -DCMAKE_CXX_COMPILER=${CXX})
file(STRINGS ${WORK}/cmake-build/CMakeCache.txt _dir REGEX "^${PACKAGE}_DIR:")
if(NOT _dir STREQUAL "${PACKAGE}_DIR:PATH=${_prefix}/${LIBDIR}/cmake/${PACKAGE}")
  message(FATAL_ERROR "the package was found elsewhere: ${_dir}")
endif()
mda_run(${CMAKE_COMMAND} --build ${WORK}/cmake-build)
mda_run(${WORK}/cmake-build/mda_consumer)
message(STATUS "find_package: ${mda_output}")
if(QT_MAJOR EQUAL 5)
  # The Qt 5 package also answers to the name with the Qt in it, as the Qt 6 one does.
  mda_run(${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK}/cmake-build-qt5-name
          -DCMAKE_PREFIX_PATH=${_prefix} -DMDA_PACKAGE=MainDataAccess-Qt5 -DCMAKE_CXX_COMPILER=${CXX})
endif()

# 2. pkg-config only: compiler, moc and the flags the .pc file gives, nothing else.
set(ENV{PKG_CONFIG_PATH} ${_prefix}/${LIBDIR}/pkgconfig)
mda_run(pkg-config --variable=libdir ${PC_NAME})
string(STRIP "${mda_output}" _libdir)
get_filename_component(_libdir "${_libdir}" REALPATH)
if(NOT _libdir STREQUAL "${_prefix}/${LIBDIR}")
  message(FATAL_ERROR "${PC_NAME}.pc points at ${_libdir}, not at the prefix it lies in")
endif()
mda_run(pkg-config --cflags --libs ${PC_NAME})
string(STRIP "${mda_output}" _flags)
if(_flags MATCHES "QT_NO_KEYWORDS|-Werror")
  message(FATAL_ERROR "${PC_NAME}.pc imposes build settings: ${_flags}")
endif()
separate_arguments(_flags UNIX_COMMAND "${_flags}")
mda_run(${CXX} -std=c++17 -fPIC -fsyntax-only ${_all} ${_flags})
mda_run(${MOC} ${SOURCE_DIR}/CStationMonitor.h -o ${WORK}/moc_CStationMonitor.cpp)
# -fPIC: Qt built with reduced relocations asks it of every user.
mda_run(${CXX} -std=c++17 -fPIC -DMDA_EXPECTED_QT_MAJOR=${QT_MAJOR} -I${SOURCE_DIR}
        ${SOURCE_DIR}/main.cpp ${SOURCE_DIR}/CStationMonitor.cpp ${WORK}/moc_CStationMonitor.cpp
        ${_flags} -o ${WORK}/mda_consumer_pc)
set(ENV{LD_LIBRARY_PATH} ${_prefix}/${LIBDIR})
mda_run(${WORK}/mda_consumer_pc)
message(STATUS "pkg-config: ${mda_output}")
