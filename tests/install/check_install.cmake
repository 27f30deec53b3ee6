# Script run by CTest: install, then build and run the consumer both ways.
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
  set(last_output "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE "${PREFIX}" "${WORK_DIR}")
run(${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}")

# 1. find_package(veltcore CONFIG REQUIRED) and veltcore::veltcore.
run(${CMAKE_COMMAND} -S "${CONSUMER_DIR}" -B "${WORK_DIR}/cmake" -G Ninja
    -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_PREFIX_PATH=${PREFIX})
run(${CMAKE_COMMAND} --build "${WORK_DIR}/cmake")
run("${WORK_DIR}/cmake/consumer")
if(NOT last_output MATCHES "Handle gia' utilizzato")
  message(FATAL_ERROR "consumer printed: ${last_output}")
endif()

# 2. pkg-config --cflags --libs veltcore.
set(ENV{PKG_CONFIG_PATH} "")
file(GLOB_RECURSE pc_files "${PREFIX}/*/veltcore.pc")
list(GET pc_files 0 pc_file)
get_filename_component(pc_dir "${pc_file}" DIRECTORY)
set(ENV{PKG_CONFIG_PATH} "${pc_dir}")
run(pkg-config --cflags --libs veltcore)
string(STRIP "${last_output}" flags)
separate_arguments(flags UNIX_COMMAND "${flags}")
get_filename_component(libdir "${pc_dir}" DIRECTORY)
run(${CXX} "${CONSUMER_DIR}/main.cpp" ${flags} "-Wl,-rpath,${libdir}" -o "${WORK_DIR}/pc_consumer")
run("${WORK_DIR}/pc_consumer")
if(NOT last_output MATCHES "Handle gia' utilizzato")
  message(FATAL_ERROR "pkg-config consumer printed: ${last_output}")
endif()
