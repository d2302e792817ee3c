#!/usr/bin/env bash
# Feeds scripts/progress-line what ctest writes for a small project of passing, failing and crashing
# tests, and checks the rows a terminal of a given width is left with: ctest's lines other than its
# passed tests, whole, and no row left behind by the progress line; cut short, the last progress line.
#   progress_line_test.sh <path of scripts/progress-line> <path of ctest>
set -uo pipefail
filter="$(realpath "$1")"
ctest="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

long="Widgets/ASuiteWithAVeryLongName.KeepsEveryPromiseItMakesEvenWhenItsNameRunsOnPastTheEdge/CaseNine"
wide_output="$(printf 'x%.0s' {1..150})"
mkdir "$work/project"
cat >"$work/project/CTestTestfile.cmake" <<EOF
add_test(Short.Passes "true")
add_test($long "true")
add_test(Fails.WithOutput "sh" "-c" "echo 'Expected: $wide_output'; echo; echo second line; exit 1")
add_test(Crashes "sh" "-c" "kill -SEGV \$\$")
add_test(Last.Passes "true")
EOF
(cd "$work/project" && "$ctest" --output-on-failure >"$work/ctest.out" 2>&1)
grep -q '^60% tests passed, 2 tests failed out of 5$' "$work/ctest.out" ||
    { echo "FAILED  the project's ctest run:"; sed 's/^/        /' "$work/ctest.out"; exit 1; }
# What a terminal keeps: every line but those of tests starting and passing.
grep -v -E '^ +Start |  Passed ' "$work/ctest.out" >"$work/kept"

# The rows a terminal `width` columns wide shows after the input, as xterm draws it: a character
# in the last column leaves the cursor there until the next one; "\r", "\n", "\t" and ESC [ K.
screen() {
    awk -v width="$1" 'BEGIN { RS = "\001"; row = col = wrap = 0 }
    function put(c) {
        if (wrap) { row++; col = 0; wrap = 0 }
        t = substr(text[row], 1, col)
        while (length(t) < col) t = t " "
        text[row] = t c substr(text[row], col + 2)
        if (++col == width) { col = width - 1; wrap = 1 }
    }
    {
        for (i = 1; i <= length($0); i++) {
            c = substr($0, i, 1)
            if (c == "\r") { col = 0; wrap = 0 }
            else if (c == "\n") { row++; col = 0; wrap = 0 }
            else if (c == "\t") { do put(" "); while (col % 8 != 0) }
            else if (substr($0, i, 3) == "\033[K") { text[row] = substr(text[row], 1, col); i += 2 }
            else put(c)
        }
    }
    END { last = (col == 0 && text[row] == "") ? row - 1 : row; for (r = 0; r <= last; r++) print text[r] }'
}

failures=0
# expect <case> <actual file> <expected file>
expect() {
    if cmp -s "$2" "$3"; then
        echo "ok      $1"
    else
        failures=$((failures + 1))
        echo "FAILED  $1"
        diff "$3" "$2" | sed 's/^/        /'
    fi
}

# The whole run: the kept lines, wrapped where they are wider than the terminal, and nothing else.
for width in 20 40 80 200; do
    "$filter" "$width" <"$work/ctest.out" | screen "$width" >"$work/screen"
    expand "$work/kept" | fold -w "$width" >"$work/expected"
    expect "WholeRunAt$width" "$work/screen" "$work/expected"
done

# Cut short (Ctrl-C) after the given test passed, the progress line stays, and the shell's prompt
# ("$ ") comes on the row below it.
# cut_short <case> <width> <count of the last line read> <expected progress line>
cut_short() {
    { awk -v count="$3" '{ print } $1 == count && $2 == "Test" { exit }' "$work/ctest.out" |
        "$filter" "$2"; printf '$ '; } | screen "$2" | tail -n 2 >"$work/screen"
    printf '%s\n' "$4" '$ ' >"$work/expected"
    expect "$1" "$work/screen" "$work/expected"
}
cut_short ShortNameWhole 40 1/5 "[1/5] Short.Passes"
cut_short LongNameLosesItsMiddle 40 2/5 "[2/5] Widgets/ASuiteW...heEdge/CaseNine"
cut_short LongNameWholeWhereItFits 200 2/5 "[2/5] $long"
cut_short TooNarrowForANameCutsTheLine 12 2/5 "[2/5] Widge"

# Not on a terminal, or on a dumb one, the lines pass unchanged; on a terminal, its width rules.
"$filter" <"$work/ctest.out" >"$work/to-file"
expect PassesUnchangedToAFile "$work/to-file" "$work/ctest.out"
on_terminal() {
    TERM="$1" script -qec "stty cols $2 rows 24; '$filter' <'$work/ctest.out'" /dev/null </dev/null
}
on_terminal dumb 50 | tr -d '\r' >"$work/on-dumb"
expect PassesUnchangedToADumbTerminal "$work/on-dumb" "$work/ctest.out"
on_terminal xterm 50 | screen 50 >"$work/screen"
expand "$work/kept" | fold -w 50 >"$work/expected"
expect TakesTheTerminalsWidth "$work/screen" "$work/expected"
exit $((failures > 0))
