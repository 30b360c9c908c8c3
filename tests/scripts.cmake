# Script tests: every tests/scripts/<area>/<name>.vlm is one ctest test,
# script/<area>/<name>, run on both engines by tests/run_scripts.py.
find_package(Python3 3.8 REQUIRED COMPONENTS Interpreter)

set(VELMOR_SCRIPT_ROOT ${CMAKE_CURRENT_SOURCE_DIR}/scripts)
file(GLOB_RECURSE VELMOR_SCRIPT_TESTS CONFIGURE_DEPENDS ${VELMOR_SCRIPT_ROOT}/*.vlm)
foreach(script IN LISTS VELMOR_SCRIPT_TESTS)
    file(RELATIVE_PATH relative ${VELMOR_SCRIPT_ROOT} ${script})
    string(REGEX REPLACE "\\.vlm$" "" test_name ${relative})
    add_test(NAME script/${test_name}
             COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/run_scripts.py -q -j 1
                     --velmor $<TARGET_FILE:velmor> ${script})
endforeach()

# The same scripts on the engines without their fast paths, which must meet
# the same expectations.
add_test(NAME plain/scripts
         COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/run_scripts.py -q -j 2
                 --velmor $<TARGET_FILE:velmor-plain> ${VELMOR_SCRIPT_ROOT})

# Watch mode polls the file system, so it gets its own time-bounded test.
# Under AddressSanitizer it leaves out the run under an address-space cap.
if(VELMOR_SANITIZE)
  set(VELMOR_WATCH_TEST_OPTIONS --sanitized)
endif()
add_test(NAME watch/rerun_on_save
         COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/watch_test.py --velmor $<TARGET_FILE:velmor>
                 ${VELMOR_WATCH_TEST_OPTIONS})
set_tests_properties(watch/rerun_on_save PROPERTIES TIMEOUT 180 LABELS slow)

# The runner checked against a stand-in program, so that a fault in it cannot hide failing scripts.
add_test(NAME runner/self_test COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/run_scripts_test.py)
set_tests_properties(runner/self_test PROPERTIES LABELS slow)
