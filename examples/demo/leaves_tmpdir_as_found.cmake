# Runs the demo with TMPDIR pointing at an empty folder of this test's own and fails when the demo
# leaves anything in TMPDIR.
#   cmake -DDEMO=<kelvane-demo> -DWORK=<scratch folder> -P leaves_tmpdir_as_found.cmake
include("${CMAKE_CURRENT_LIST_DIR}/run_demo.cmake")
file(GLOB left LIST_DIRECTORIES true "${WORK}/tmp/*" "${WORK}/tmp/.*")
if(left)
    message(FATAL_ERROR "the demo left behind in TMPDIR:\n${left}")
endif()
file(REMOVE_RECURSE "${WORK}")
