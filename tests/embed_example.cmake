# Installs the build into a scratch prefix, then configures, builds and runs
# examples/embed against that installed copy alone, from a fresh build folder,
# and compares its output with examples/embed/expected-output.txt.
# Run with -DBUILD=<build folder> -DSCRATCH=<scratch folder> -DEXAMPLE=<examples/embed>
# -DCOMPILER=<C++ compiler> -DGENERATOR=<generator>.
file(REMOVE_RECURSE ${SCRATCH})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${SCRATCH}/prefix
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -S ${EXAMPLE} -B ${SCRATCH}/build -G ${GENERATOR}
                        -DCMAKE_CXX_COMPILER=${COMPILER} -DCMAKE_PREFIX_PATH=${SCRATCH}/prefix
                        -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF -DCMAKE_FIND_USE_SYSTEM_PACKAGE_REGISTRY=OFF
                RESULT_VARIABLE status OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "configuring the example failed:\n${log}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${SCRATCH}/build RESULT_VARIABLE status OUTPUT_VARIABLE log
                ERROR_VARIABLE log)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "building the example failed:\n${log}")
endif()

execute_process(COMMAND ${SCRATCH}/build/velmor-embed-example WORKING_DIRECTORY ${EXAMPLE}
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "the example ended with ${status}:\n${output}${errors}")
endif()
file(READ ${EXAMPLE}/expected-output.txt expected)
if(NOT output STREQUAL expected)
    file(WRITE ${SCRATCH}/actual-output.txt "${output}")
    message(FATAL_ERROR "the example's output differs from expected-output.txt; it printed "
                        "(also in ${SCRATCH}/actual-output.txt):\n${output}")
endif()
file(REMOVE_RECURSE ${SCRATCH})
