# Included by the demo's tests: runs the demo with TMPDIR pointing at an empty folder of the test's
# own (HOME too, so that no file of the user's is touched), fails the test when the demo fails, and
# leaves what it printed in `demo_output`.
#   needs DEMO=<kelvane-demo> and WORK=<scratch folder>
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/tmp" "${WORK}/home")
execute_process(
    COMMAND "${CMAKE_COMMAND}" -E env --unset=XDG_DOCUMENTS_DIR --unset=XDG_CONFIG_HOME
            "TMPDIR=${WORK}/tmp" "HOME=${WORK}/home" "${DEMO}"
    RESULT_VARIABLE result
    OUTPUT_VARIABLE demo_output
    ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the demo failed (${result}):\n${errors}")
endif()
