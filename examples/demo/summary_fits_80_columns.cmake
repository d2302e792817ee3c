# Runs the demo and checks its closing summary: every section named at the start of a row, the
# closing sentence, and no row wider than a terminal of 80 columns. (The rows before it quote the
# framework's own log lines and printed forms, which run as wide as they are.)
#   cmake -DDEMO=<kelvane-demo> -DWORK=<scratch folder> -P summary_fits_80_columns.cmake
include("${CMAKE_CURRENT_LIST_DIR}/run_demo.cmake")
file(REMOVE_RECURSE "${WORK}")
string(FIND "${demo_output}" "\n== summary ==\n" at)
if(at EQUAL -1)
    message(FATAL_ERROR "the demo printed no summary:\n${demo_output}")
endif()
string(SUBSTRING "${demo_output}" ${at} -1 summary)
foreach(area "store" "logging" "model" "code blocks" "view extensions" "state" "framework"
        "events" "test screens")
    string(FIND "${summary}" "\n${area}  " found)
    if(found EQUAL -1)
        message(FATAL_ERROR "the summary has no row for ${area}:${summary}")
    endif()
endforeach()
if(NOT summary MATCHES "\nEvery section ran\\. The [0-9]+ error lines marked \"expected\" were caused on purpose\\.\n$")
    message(FATAL_ERROR "the summary does not end with its closing sentence:${summary}")
endif()
# A row of 81 characters or more, found without splitting the text into a list (which would split
# rows at semicolons too).
string(REPEAT "[^\n]" 81 wider)
string(REGEX MATCH "[^\n]*${wider}[^\n]*" row "${summary}")
if(NOT row STREQUAL "")
    string(LENGTH "${row}" columns)
    message(FATAL_ERROR "a row of the summary is ${columns} columns wide:\n[${row}]")
endif()
