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

# The rows a terminal `width` columns wide shows after the input.
screen() { awk -v width="$1" -f "$(dirname "$0")/terminal_screen.awk"; }

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

# --status: "<seconds> <text>" lines, with a plain line among them, as a long step reports itself.
wide_status="  [0:12] 40% Unpacking $(printf 'libsomething%.0s' {1..8}) (1.2.3-4)"
printf '%s\n' "1 [0:01] Retrieving file 1 of 3" "5 [0:05] Retrieving file 3 of 3" \
    "W: a line of its own" "9 [0:09] 10% Preparing cmake" "10 [0:10] 20% Unpacking cmake" \
    "12 $wide_status" "25 [0:25] 70% Configuring cmake" "31 [0:31] 80% Running dpkg" \
    "55 [0:55] 99% Running a trigger" >"$work/status"
# On a terminal: each status redraws the one line, the plain line stays, and at the end the line
# is gone, leaving the cursor where the caller's next line belongs.
for width in 20 80; do
    { "$filter" --status "$width" <"$work/status"; printf '$ '; } | screen "$width" >"$work/screen"
    printf '%s\n' "W: a line of its own" '$ ' >"$work/expected"
    expect "StatusLineClearedAtTheEndAt$width" "$work/screen" "$work/expected"
done
# Before the end, after the wide status: that status, cut one column short of the width.
for width in 20 80; do
    head -n 6 "$work/status" | "$filter" --status "$width" | sed '$ s/\r\x1b\[K$//' |
        screen "$width" | tail -n 1 >"$work/screen"
    printf '%s\n' "${wide_status:0:$((width - 1))}" >"$work/expected"
    expect "StatusCutToTheWidthAt$width" "$work/screen" "$work/expected"
done
# Elsewhere: plain lines, a status at most once every --every seconds and none before.
"$filter" --status --every 10 <"$work/status" >"$work/to-file"
printf '%s\n' "W: a line of its own" "[0:10] 20% Unpacking cmake" "[0:25] 70% Configuring cmake" \
    "[0:31] 80% Running dpkg" "[0:55] 99% Running a trigger" >"$work/expected"
expect StatusToAFileEveryFewSeconds "$work/to-file" "$work/expected"
"$filter" --status <"$work/status" >"$work/to-file"
printf '%s\n' "W: a line of its own" "[0:31] 80% Running dpkg" >"$work/expected"
expect StatusToAFileEveryThirtySecondsByDefault "$work/to-file" "$work/expected"
TERM=xterm script -qec "stty cols 30 rows 24; '$filter' --status <'$work/status'" /dev/null \
    </dev/null | screen 30 >"$work/screen"
printf '%s\n' "W: a line of its own" >"$work/expected"
expect StatusOnATerminalRedrawsAndClears "$work/screen" "$work/expected"

# Each line shows as it comes, while the input stays open (some awks read a pipe in blocks and hold
# lines back until a block is full or the input ends). The writer keeps the pipe open until the
# line's output appears, for 10 seconds at most.
# as_it_comes <case> <line> <arguments of progress-line>...
as_it_comes() {
    local name="$1" line="$2"
    shift 2
    rm -f "$work/early" "$work/seen"
    { printf '%s\n' "$line"
        for _ in $(seq 100); do
            [ -s "$work/early" ] && { touch "$work/seen"; break; }
            sleep 0.1
        done; } | "$filter" "$@" >"$work/early"
    if [ -e "$work/seen" ]; then
        echo "ok      $name"
    else
        failures=$((failures + 1))
        echo "FAILED  $name: nothing shown until the input ended"
    fi
}
as_it_comes PassedTestShowsAsItComes "  1/9 Test  #1: Short.Passes .....   Passed    0.01 sec" 40
as_it_comes OtherLineShowsAsItComes "The following tests FAILED:" 40
as_it_comes StatusShowsAsItComes "5 [0:05] 20% Unpacking cmake" --status 40
as_it_comes StatusInALogShowsAsItComes "5 [0:05] 20% Unpacking cmake" --status --every 1
exit $((failures > 0))
