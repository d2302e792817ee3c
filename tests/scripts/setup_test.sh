#!/usr/bin/env bash
# Drives scripts/setup through its decisions with stand-ins for id, sudo, dpkg-query and apt-get on
# PATH (and no terminal), and checks what it runs, prints and returns in each case, that its rows
# fit 80 columns, and how it shows a slow apt's progress on a terminal of 80 columns and in a log.
#   setup_test.sh <path of scripts/setup>
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/report.sh"
setup="$(realpath "$1")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The real tools the script and the stand-ins use, and nothing else: no real sudo, apt or dpkg.
mkdir "$work/tools" "$work/fakes"
for tool in bash env cat awk tr mktemp rm tail stty sleep; do
    ln -s "$(command -v "$tool")" "$work/tools/$tool"
done
fake() { printf '#!/usr/bin/env bash\n%s\n' "$2" >"$work/fakes/$1" && chmod +x "$work/fakes/$1"; }
fake id '[ "$1" = -u ] && echo "$FAKE_UID"'
# FAKE_SUDO: absent (no sudo at all), nopasswd, or password (asks for one, which needs a terminal).
fake sudo 'case "$1" in
  -n|-v) [ "$FAKE_SUDO" = nopasswd ] && exit 0; echo "sudo: a password is required" >&2; exit 1 ;;
  *) echo "sudo $*" >>"$CALLS"; exec "$@" ;;
esac'
fake dpkg-query 'for pattern in "$@"; do
  [[ "$pattern" == -* ]] && continue
  for p in $FAKE_INSTALLED; do [[ "$p" == $pattern ]] && printf "install ok installed\t%s\n" "$p"; done
done; exit 1'
# FAKE_APT: works, install (the install fails in dpkg), offline (the update cannot fetch the lists,
# warns and succeeds, as apt-get does; the install then knows none of the packages) or slow (apt
# writes its status, given APT::Status-Fd=2, with pauses: a quiet start, a long silence, a line
# written in two parts a second apart, a status wider than a terminal).
cat >"$work/fakes/apt-get" <<'FAKE'
#!/usr/bin/env bash
echo "apt-get[DEBIAN_FRONTEND=${DEBIAN_FRONTEND:-} LC_ALL=${LC_ALL:-}] $*" >>"$CALLS"
echo "Selecting previously unselected package x."
arguments=() status_fd=""
while [ $# -gt 0 ]; do
    case "$1" in
        -o) [ "$2" = APT::Status-Fd=2 ] && status_fd=2; shift 2 ;;
        *) arguments+=("$1"); shift ;;
    esac
done
set -- "${arguments[@]}"
status() { [ -z "$status_fd" ] || printf '%s\n' "$1" >&2; sleep "$2"; }
why="Temporary failure resolving 'deb.example.invalid'"
case "$FAKE_APT $1" in
    *" -s") printf '%s\n' "Inst libboost1.81-dev (1.81.0-5)" "Remv libboost1.74-dev [1.74.0.3]" \
        "Remv libwidget-dev [2.0]" ;;
    "install install") echo "E: Sub-process /usr/bin/dpkg returned an error code (1)" >&2; exit 100 ;;
    "offline update")
        for suite in bookworm bookworm-updates bookworm-security; do
            printf '%s\n' "Err:1 http://deb.example.invalid/debian $suite InRelease" "  $why"
            echo "W: Failed to fetch http://deb.example.invalid/debian/dists/$suite/InRelease  $why" >&2
        done
        echo "W: Some index files failed to download. They have been ignored, or old ones used instead." >&2 ;;
    "offline install")
        for p in "${@:2}"; do [[ "$p" == -* ]] || echo "E: Unable to locate package $p" >&2; done
        exit 100 ;;
    "slow update")
        echo "Get:1 http://deb.example.invalid/debian bookworm InRelease [151 kB]"
        sleep 1.5
        status "dlstatus:1:0.0000:Retrieving file 1 of 3" 0.2
        status "dlstatus:3:100.0000:Retrieving file 3 of 3" 0.2 ;;
    "slow install")
        status "dlstatus:1:0.0000:Retrieving file 1 of 2" 0.2
        status "dlstatus:2:50.0000:Retrieving file 2 of 2" 0.2
        status "pmstatus:cmake:20.0000:Unpacking cmake (3.25.1-1)" 3
        echo "W: a warning of apt's, for the log" >&2
        [ -z "$status_fd" ] || printf 'pmstatus:libboost1.81-dev:60.0000:Prepar' >&2
        sleep 1.5
        status "ing to configure libboost1.81-dev (1.81.0-5)" 0.2
        status "pmstatus:libboost1.81-dev:80.0000:Setting up $(printf 'a-long-name%.0s' {1..8})" 0.2
        status "pmstatus:cmake:90.0000:Configuring cmake (3.25.1-1)" 0.2 ;;
esac
FAKE
chmod +x "$work/fakes/apt-get"

# The package list that setup reads, and, missing two of its packages, a machine with Boost 1.74.
all="$(sed 's/#.*//' "$(dirname "$setup")/debian-packages" | tr -s ' \n' '  ')"
all="${all# }" all="${all% }" count="$(wc -w <<<"$all")"
missing_two="$(for p in $all libboost1.74-dev libboost-system1.74-dev; do
    [[ "$p" == cmake || "$p" == libboost1.81-dev ]] || printf '%s ' "$p"
done)"

failures=0
# The rows of a file that pass 80 columns, but for a single word no wrapping can shorten (a path).
too_wide() {
    awk 'length > 80 && NF > 1 { print FILENAME ": " length " columns: " $0 }' "$@"
}
# The rows of `file` after its row `after`, as bash runs them pasted, with a stand-in for apt-get
# that prints its arguments: the command a user copies out of the message.
pasted() {
    awk -v after="$2" 'found { print } $0 == after { found = 1 }' "$1" >"$1.pasted"
    PATH="$work/tools" bash -c 'apt-get() { echo "apt-get $*"; }; . "$1"' - "$1.pasted" 2>&1
}
# check <case> <uid> <sudo> <installed> <apt (see above)> <expected status> <expected texts>...
# Each expected text is "out:<text>", "err:<text>", "calls:<text>" (found in that output, its rows
# joined by spaces for out and err: wrapped messages read as one), "pasted:<text>" (what the
# command that err gives a user to run does), or with a leading "!" (not found). No row passes
# 80 columns.
check() {
    local name="$1" uid="$2" sudo="$3" installed="$4" apt="$5" status="$6"
    shift 6
    local dir="$work/$name"
    mkdir -p "$dir/tmp" "$dir/fakes"
    cp "$work/fakes/"* "$dir/fakes/"
    [ "$sudo" = absent ] && rm "$dir/fakes/sudo"
    : >"$dir/calls"
    env -i PATH="$dir/fakes:$work/tools" TMPDIR="$dir/tmp" CALLS="$dir/calls" FAKE_UID="$uid" \
        FAKE_SUDO="$sudo" FAKE_INSTALLED="$installed" FAKE_APT="$apt" \
        "$(command -v setsid)" -w "$setup" </dev/null >"$dir/out" 2>"$dir/err"
    local actual=$? problems=() wide
    [ "$actual" -eq "$status" ] || problems+=("exit status $actual, expected $status")
    for stream in out err; do tr '\n' ' ' <"$dir/$stream" | tr -s ' ' >"$dir/$stream.joined"; done
    pasted "$dir/err" "Run this as root, then run the command again:" >"$dir/pasted"
    for expectation in "$@"; do
        local negate="" where text file content
        [[ "$expectation" == !* ]] && negate=1 expectation="${expectation#!}"
        where="${expectation%%:*}" text="${expectation#*:}" file="$dir/$where"
        [[ "$where" == out || "$where" == err ]] && file="$file.joined"
        content="$(cat "$file"; echo .)"  # keeps the last line's end
        if [[ "${content%.}" == *"$text"* ]]; then
            [ -z "$negate" ] || problems+=("$where shows \"$text\"")
        else
            [ -n "$negate" ] || problems+=("$where lacks \"$text\"")
        fi
    done
    wide="$(too_wide "$dir/out" "$dir/err")"
    [ -z "$wide" ] || problems+=("$wide")
    report "$name" "$dir" out err calls pasted
}

apt_env="DEBIAN_FRONTEND=noninteractive LC_ALL=C.UTF-8"
install_two="install -y --no-install-recommends cmake libboost1.81-dev -o APT::Status-Fd=2"
check NothingMissing 1000 absent "$all" works 0 '!out:Installing' '!err:missing' '!calls:apt-get'
check RootInstallsQuietlyAndSaysWhatBoostReplaces 0 absent "$missing_two" works 0 \
    'out:Updating package lists' 'out:Installing 2 packages: cmake libboost1.81-dev' \
    'out:replaces the installed Boost 1.74 headers (libboost1.74-dev libboost-system1.74-dev)' \
    'out:apt will remove: libboost1.74-dev libwidget-dev' '!out:Selecting' \
    "calls:apt-get[$apt_env] update -o APT::Status-Fd=2" "calls:apt-get[$apt_env] $install_two" \
    '!calls:sudo'
check RootNamesTheLogWhenAptFails 0 absent "$missing_two" install 1 \
    'out:Installing 2 packages' 'err:that step failed; apt'"'"'s output is in ' '!out:Selecting' \
    'err: E: Sub-process /usr/bin/dpkg returned an error code (1)' '!err:could not fetch'
# The command to run as root, pasted into a shell, updates and installs what is missing.
runs_as_root=$'pasted:apt-get update\n'
runs_as_root+=$'apt-get install --no-install-recommends cmake libboost1.81-dev\n'
check NonRootWithoutSudoGetsTheCommand 1000 absent "$missing_two" works 1 \
    'err:cannot be installed: not running as root, and there is no sudo' "$runs_as_root" \
    'err:replaces the installed Boost 1.74 headers' '!err:command not found' '!calls:apt-get'
check SudoNeedingAPasswordWithoutATerminalGetsTheCommand 1000 password "$missing_two" works 1 \
    'err:sudo needs a password but there is no terminal' "$runs_as_root" \
    '!err:a terminal is required' '!calls:apt-get'
# All of them: the command takes several rows.
runs_all=$'pasted:apt-get update\napt-get install --no-install-recommends '"$all"$'\n'
check NonRootGetsTheWholeCommandOverRows 1000 absent "" works 1 "$runs_all" '!calls:apt-get'
check OnePackageIsOne 0 absent "${missing_two/libboost1.74-dev/libboost1.81-dev}" works 0 \
    'out:Installing 1 package: cmake…'
check PasswordlessSudoKeepsDebianFrontend 1000 nopasswd "$missing_two" works 0 \
    'out:Installing 2 packages' \
    "calls:sudo env $apt_env apt-get $install_two" "calls:apt-get[$apt_env] install"
# Offline, on a fresh machine: the update says at once that it could not fetch the lists and why
# (once, not once a source), and the install's failure shows apt's first reasons and points back.
check OfflineSaysWhyAtTheUpdateAndTheInstallPointsBack 0 absent "" offline 1 \
    "err:apt could not fetch the package lists: Temporary failure resolving" \
    "err:resolving 'deb.example.invalid' scripts/setup: that step failed" \
    "!err:'deb.example.invalid'; " "out:Installing $count packages" \
    'err: E: Unable to locate package cmake' 'err: E: Unable to locate package g++ ' \
    '!err:Unable to locate package clang-16' "err: (and $((count - 3)) more such lines)" \
    'err:the update above could not fetch the package lists' '!err:Err:1'
# A slow apt in a log: no line redrawn, and no line of progress for steps shorter than 30 seconds.
check SlowAptInALogAddsNoLines 0 absent "$missing_two" slow 0 \
    '!out:[0:' '!out:%' '!out:Get:1' '!err:pmstatus' 'out:Installed.'
if grep -q $'\r' "$work/SlowAptInALogAddsNoLines/out"; then
    failures=$((failures + 1))
    echo "FAILED  SlowAptInALogAddsNoLines: the output redraws a line"
fi

# A slow apt on a terminal of 80 columns: one line, redrawn at each status and every second while
# apt is silent, cut to the width, and gone when the step ends.
terminal_case() {
    local name=SlowAptOnATerminalShowsOneUpdatingLine dir="$work/SlowAptOnATerminal" problems=()
    mkdir -p "$dir/tmp"
    : >"$dir/calls"
    env -i PATH="$work/fakes:$work/tools" TMPDIR="$dir/tmp" CALLS="$dir/calls" FAKE_UID=0 \
        FAKE_INSTALLED="$missing_two" FAKE_APT=slow TERM=xterm \
        "$(command -v script)" -qec "stty cols 80 rows 24; exec '$setup'" /dev/null \
        </dev/null >"$dir/raw"
    awk -v width=80 -f "$(dirname "$0")/terminal_screen.awk" "$dir/raw" >"$dir/screen"
    printf '%s\n' "Updating package lists…" \
        "Note: libboost1.81-dev replaces the installed Boost 1.74 headers" \
        "    (libboost1.74-dev libboost-system1.74-dev)." \
        "    apt will remove: libboost1.74-dev libwidget-dev" \
        "Installing 2 packages: cmake libboost1.81-dev…" "Installed." >"$dir/expected"
    cmp -s "$dir/screen" "$dir/expected" ||
        problems+=("the screen differs from the expected:" "$(diff "$dir/expected" "$dir/screen")")
    # Each drawing of the progress line, without the escape that ends it.
    awk 'BEGIN { RS = "\r" } /^  \[[0-9]+:[0-9][0-9]\] / { sub(/\033\[K.*/, ""); print }' \
        "$dir/raw" >"$dir/drawn"
    # "<time> <status>" once for each time a status was shown at.
    local times
    times="$(awk '{ t = $1; sub(/^ *[^ ]+ /, ""); print t, $0 }' "$dir/drawn" | sort -u)"
    grep -q '\] Get:1 http://deb.example.invalid/debian bookworm InRelease' "$dir/drawn" ||
        problems+=("before apt's first status, the log's last line is not shown")
    [ "$(grep -c ' 20% Unpacking cmake (3.25.1-1)$' <<<"$times")" -ge 2 ] ||
        problems+=("while apt is silent, the line is not redrawn with the time moving on")
    grep -q '\] 60% Preparing to configure libboost1.81-dev (1.81.0-5)$' "$dir/drawn" ||
        problems+=("a status written in two parts is not shown whole")
    grep -q '\] 90% Configuring cmake (3.25.1-1)$' "$dir/drawn" ||
        problems+=("the last status is not shown")
    local widest
    widest="$(awk 'length > widest { widest = length } END { print widest + 0 }' "$dir/drawn")"
    [ "$widest" -eq 79 ] || problems+=("the widest drawing is $widest columns, not 79")
    ! grep -q 'Prepar$\|^ *ing to' "$dir/drawn" || problems+=("a part of a status is shown")
    report "$name" "$dir" screen drawn calls
}
terminal_case

# A run that installed something leaves no log behind; a failed one keeps it.
logs="$(ls "$work"/*/tmp/kelvane-setup-*.log 2>/dev/null | tr '\n' ' ')"
if [[ "$logs" != *"/RootNamesTheLogWhenAptFails/tmp/"* ]] ||
    [[ "$logs" != *"/OfflineSaysWhyAtTheUpdateAndTheInstallPointsBack/tmp/"* ]] ||
    [ "$(echo $logs | wc -w)" -ne 2 ]; then
    failures=$((failures + 1))
    echo "FAILED  only the failed run keeps its log: $logs"
fi
exit $((failures > 0))
