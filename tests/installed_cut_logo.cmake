# Installs the build into a scratch prefix, builds examples/cut_logo.cpp against it
# with find_package(Slitform), and cuts the example box with it.
# cmake -DBUILD=... -DSOURCE=... -DWORK=... -P installed_cut_logo.cmake
file(REMOVE_RECURSE ${WORK})
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT code EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${code}):\n${out}")
  endif()
  set(output "${out}" PARENT_SCOPE)
endfunction()
run(${CMAKE_COMMAND} --install ${BUILD} --prefix ${WORK}/prefix)
run(${CMAKE_COMMAND} -S ${SOURCE}/examples/installed -B ${WORK}/build
    -DCMAKE_PREFIX_PATH=${WORK}/prefix -DCMAKE_BUILD_TYPE=Release)
run(${CMAKE_COMMAND} --build ${WORK}/build)
run(${WORK}/build/cut_logo ${SOURCE}/examples/grid_box.ply ${SOURCE}/examples/star.svg
    ${WORK}/cut.ply open=on)
if(NOT output MATCHES "[1-9][0-9]* faces cut")
  message(FATAL_ERROR "cut_logo said:\n${output}")
endif()
message(STATUS "the installed library cut the box: ${output}")
