# Runs the demo with TMPDIR pointing at an empty folder of this test's own (HOME too, so that no
# file of the user's is touched) and fails when the demo leaves anything in TMPDIR.
#   cmake -DDEMO=<kelvane-demo> -DWORK=<scratch folder> -P leaves_tmpdir_as_found.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/tmp" "${WORK}/home")
execute_process(
    COMMAND "${CMAKE_COMMAND}" -E env --unset=XDG_DOCUMENTS_DIR --unset=XDG_CONFIG_HOME
            "TMPDIR=${WORK}/tmp" "HOME=${WORK}/home" "${DEMO}"
    RESULT_VARIABLE result
    OUTPUT_QUIET
    ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the demo failed (${result}):\n${errors}")
endif()
file(GLOB left LIST_DIRECTORIES true "${WORK}/tmp/*" "${WORK}/tmp/.*")
if(left)
    message(FATAL_ERROR "the demo left behind in TMPDIR:\n${left}")
endif()
file(REMOVE_RECURSE "${WORK}")
