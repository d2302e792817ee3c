#!/usr/bin/env bash
# Drives scripts/test and scripts/test-whole-programs in a copy of the project with stand-ins for
# scripts/setup, cmake, ctest and a test program, and checks what each runs, prints and returns:
# help and unknown builds answer without setting anything up, the builds come from
# CMakePresets.json, and the calls .ci/run makes run what they always ran.
#   test_scripts_test.sh <source folder>
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/report.sh"
source_dir="$(realpath "$1")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/fakes" "$work/project/scripts"
cp "$source_dir/CMakePresets.json" "$work/project/"
for script in test test-whole-programs builds progress-line; do
    cp "$source_dir/scripts/$script" "$work/project/scripts/"
done
fake() { printf '#!/usr/bin/env bash\n%s\n' "$2" >"$1" && chmod +x "$1"; }
fake "$work/project/scripts/setup" 'echo setup >>"$CALLS"'
fake "$work/fakes/cmake" 'echo "cmake $*" >>"$CALLS"'
fake "$work/fakes/ctest" 'echo "ctest $*" >>"$CALLS"
echo "100% tests passed, 0 tests failed out of 1"'

# A second project whose presets file is laid out otherwise (one line, keys in another order,
# escapes): "extra" is a build, "half" (no test preset) and "mixed" (its test preset configures
# another preset) are not.
mkdir -p "$work/other/scripts"
cp "$work/project/scripts/"* "$work/other/scripts/"
cat >"$work/other/CMakePresets.json" <<'EOF'
{"version": 6, "testPresets": [{"configurePreset": "extra", "name": "extra"},
 {"name": "mixed", "configurePreset": "extra"}],
 "configurePresets": [{"binaryDir": "b", "displayName": "An \"extra\" build, C:\\ path",
   "name": "extra",
   "cacheVariables": {"KELVANE_BUILD_EXAMPLES": "OFF", "X": {"type": "BOOL", "value": "OFF"}}},
  {"name": "half", "displayName": "Half"}, {"name": "mixed"}],
 "buildPresets": [{"name": "extra", "configurePreset": "extra"}, {"name": "half"},
  {"name": "mixed"}]}
EOF

failures=0
# check <case> <project> <command and arguments> -- <expected status> <expected texts>...
# Each expected text is "out:<text>", "err:<text>", "calls:<text>" (found in that output) or with a
# leading "!" (not found); "empty:out" or "empty:err" says that stream stays empty. Every row the
# command prints must fit 80 columns.
check() {
    local name="$1" project="$work/$2"
    shift 2
    local command=()
    while [ "$1" != -- ]; do command+=("$1"); shift; done
    local status="$2"
    shift 2
    local dir="$work/cases/$name"
    mkdir -p "$dir"
    : >"$dir/calls"
    (cd "$project" && PATH="$work/fakes:$PATH" CALLS="$dir/calls" "${command[@]}" \
        </dev/null >"$dir/out" 2>"$dir/err")
    local actual=$? problems=()
    [ "$actual" -eq "$status" ] || problems+=("exit status $actual, expected $status")
    for expectation in "$@"; do
        local negate="" where text
        [[ "$expectation" == !* ]] && negate=1 expectation="${expectation#!}"
        where="${expectation%%:*}" text="${expectation#*:}"
        if [ "$where" = empty ]; then
            [ -s "$dir/$text" ] && problems+=("$text is not empty")
            continue
        fi
        local content
        content="$(cat "$dir/$where"; echo .)"  # keeps the last line's end
        if [[ "${content%.}" == *"$text"* ]]; then
            [ -z "$negate" ] || problems+=("$where shows \"$text\"")
        else
            [ -n "$negate" ] || problems+=("$where lacks \"$text\"")
        fi
    done
    local wide
    wide="$(awk 'length > 80 { print FILENAME ": " length " columns: " $0 }' "$dir/out" "$dir/err")"
    [ -z "$wide" ] || problems+=("$wide")
    report "$name" "$dir" out err calls
}

# The builds as the presets file describes them, each with its name in the first column.
builds=("  dev        Development (debug info, optimised)"
    "  sanitize   Address and undefined-behaviour sanitizers; no benchmarks or demo"
    "  clang      Clang 16 (Debian's clang-16) against libstdc++, warnings as errors"
    "  tsan       Thread sanitizer; no benchmarks or demo")
listed=() listed_err=()
for build in "${builds[@]}"; do listed+=("out:$build"$'\n') listed_err+=("err:$build"$'\n'); done

for option in --help -h; do
    check "TestHelp$option" project scripts/test "$option" -- 0 'out:usage: scripts/test [BUILD]' \
        "${listed[@]}" 'out:dev when none is given' '!calls:setup' '!calls:cmake' 'empty:err'
done
check TestUnknownBuildNamesTheBuilds project scripts/test nonsense -- 2 \
    'err:there is no build "nonsense"' "${listed_err[@]}" '!calls:setup' '!calls:cmake' 'empty:out'
check TestUnknownOption project scripts/test --nonsense -- 2 'err:unknown option --nonsense' \
    '!calls:setup'
check TestOneBuildAtATime project scripts/test dev clang -- 2 'err:one build at a time' \
    '!calls:setup'
# What .ci/run calls: setup first, then configure, build and test with the build's presets.
check TestDefaultIsDev project scripts/test -- 0 \
    $'calls:setup\ncmake --preset dev\ncmake --build --preset dev\nctest --preset dev\n' \
    'out:100% tests passed'
for build in sanitize clang tsan; do
    runs="setup"$'\n'"cmake --preset $build"$'\n'"cmake --build --preset $build"$'\n'
    runs+="ctest --preset $build"$'\n'
    check "TestRuns-$build" project scripts/test "$build" -- 0 "calls:$runs"
done

for option in --help -h; do
    check "WholeProgramsHelp$option" project scripts/test-whole-programs "$option" -- 0 \
        'out:usage: scripts/test-whole-programs [BUILD]' "${listed[@]}" \
        'out:sanitize when none is given' 'empty:err'
done
check WholeProgramsUnknownBuildNamesTheBuilds project scripts/test-whole-programs nonsense -- 2 \
    'err:there is no build "nonsense"' "${listed_err[@]}" 'empty:out'
check WholeProgramsWithoutABuildSaysWhatToRun project scripts/test-whole-programs -- 1 \
    $'err:build/sanitize/ has no test programs;\n    run scripts/test sanitize first.' 'empty:out'
mkdir -p "$work/project/build/sanitize/tests"
fake "$work/project/build/sanitize/tests/kelvane_widget_tests" 'echo "widget tests $*" >>"$CALLS"'
check WholeProgramsRunsEachProgramShuffled project scripts/test-whole-programs sanitize -- 0 \
    'out:whole program passed: kelvane_widget_tests' \
    'calls:widget tests --gtest_shuffle --gtest_brief=1'

check ListComesFromThePresetsFile other scripts/test --help -- 0 \
    $'out:dev when none is given:\n  extra   An "extra" build, C:\\ path; no demo\n\nEach' \
    '!out:half' '!out:mixed'
check PresetsFileBuildRuns other scripts/test extra -- 0 'calls:cmake --preset extra'
check PresetsFileLeavesOutHalfBuilds other scripts/test half -- 2 'err:there is no build "half"' \
    '!calls:setup'
exit $((failures > 0))
