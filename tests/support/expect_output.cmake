# Runs a program and passes when it exits with 0 and its standard output holds the lines of each
# file of expected lines, each file's in its order, each within one line of the output (the rest of
# that line and lines between them may be anything). Each file is matched on its own, against the
# whole output, so that several runs may share one file and add one of their own.
#   cmake -DPROGRAM=<program> [-DARGS=<arg>;...] -DEXPECTED=<file>[;<file>...] -P expect_output.cmake
execute_process(COMMAND "${PROGRAM}" ${ARGS} RESULT_VARIABLE status OUTPUT_VARIABLE output
                ERROR_VARIABLE errors)
# Shown as printed when the check fails.
set(report "--- standard output:\n${output}--- standard error:\n${errors}")
if(NOT status STREQUAL "0")
    message(NOTICE "${report}")
    message(FATAL_ERROR "${PROGRAM} ended with ${status}")
endif()

foreach(file IN LISTS EXPECTED)
    file(STRINGS "${file}" expected_lines)
    set(rest "${output}")
    foreach(expected IN LISTS expected_lines)
        string(FIND "${rest}" "${expected}" at)
        if(at EQUAL -1)
            message(NOTICE "${report}")
            message(FATAL_ERROR "missing, or out of order in ${file}: ${expected}")
        endif()
        # On from the end of the line that held it.
        string(SUBSTRING "${rest}" ${at} -1 rest)
        string(FIND "${rest}" "\n" end)
        if(end EQUAL -1)
            set(rest "")
        else()
            math(EXPR end "${end} + 1")
            string(SUBSTRING "${rest}" ${end} -1 rest)
        endif()
    endforeach()
endforeach()
