#!/usr/bin/env bash
# Drives scripts/setup through its decisions with stand-ins for id, sudo, dpkg-query and apt-get on
# PATH (and no terminal), and checks what it runs, prints and returns in each case.
#   setup_test.sh <path of scripts/setup>
set -uo pipefail
setup="$(realpath "$1")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The real tools the script and the stand-ins use, and nothing else: no real sudo, apt or dpkg.
mkdir "$work/tools" "$work/fakes"
for tool in bash env cat awk tr mktemp rm; do
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
# FAKE_APT: works, install (the install fails in dpkg) or offline (the update cannot fetch the lists,
# warns and succeeds, as apt-get does; the install then knows none of the packages).
cat >"$work/fakes/apt-get" <<'FAKE'
#!/usr/bin/env bash
echo "apt-get[DEBIAN_FRONTEND=${DEBIAN_FRONTEND:-}] $*" >>"$CALLS"
echo "Selecting previously unselected package x."
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
esac
FAKE
chmod +x "$work/fakes/apt-get"

# The package list that setup reads, and, missing two of its packages, a machine with Boost 1.74.
all="$(sed 's/#.*//' "$(dirname "$setup")/debian-packages" | tr -s ' \n' '  ')"
all="${all# }" all="${all% }" count="$(wc -w <<<"$all")"
missing_two="$(for p in $all libboost1.74-dev libboost-system1.74-dev; do
    [[ "$p" == cmake || "$p" == libboost1.81-dev ]] || printf '%s ' "$p"
done)"
install_line="apt-get update && apt-get install --no-install-recommends cmake libboost1.81-dev"

failures=0
# check <case> <uid> <sudo> <installed> <apt (see above)> <expected status> <expected texts>...
# Each expected text is "out:<text>", "err:<text>", "calls:<text>" (found in that output) or with
# a leading "!" (not found).
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
    local actual=$? problems=()
    [ "$actual" -eq "$status" ] || problems+=("exit status $actual, expected $status")
    for expectation in "$@"; do
        local negate="" where text
        [[ "$expectation" == !* ]] && negate=1 expectation="${expectation#!}"
        where="${expectation%%:*}" text="${expectation#*:}"
        if [[ "$(cat "$dir/$where")" == *"$text"* ]]; then
            [ -z "$negate" ] || problems+=("$where shows \"$text\"")
        else
            [ -n "$negate" ] || problems+=("$where lacks \"$text\"")
        fi
    done
    if [ ${#problems[@]} -eq 0 ]; then
        echo "ok      $name"
    else
        failures=$((failures + 1))
        echo "FAILED  $name"
        printf '        %s\n' "${problems[@]}"
        for stream in out err calls; do sed 's/^/        '"$stream"': /' "$dir/$stream"; done
    fi
}

check NothingMissing 1000 absent "$all" works 0 '!out:Installing' '!err:missing' '!calls:apt-get'
check RootInstallsQuietlyAndSaysWhatBoostReplaces 0 absent "$missing_two" works 0 \
    'out:Updating package lists' 'out:Installing 2 packages: cmake libboost1.81-dev' \
    'out:replaces the installed Boost 1.74 headers (libboost1.74-dev libboost-system1.74-dev)' \
    'out:apt will remove: libboost1.74-dev libwidget-dev' '!out:Selecting' \
    'calls:apt-get[DEBIAN_FRONTEND=noninteractive] update' \
    'calls:apt-get[DEBIAN_FRONTEND=noninteractive] install -y --no-install-recommends cmake libboost1.81-dev' \
    '!calls:sudo'
check RootNamesTheLogWhenAptFails 0 absent "$missing_two" install 1 \
    'out:Installing 2 packages' 'err:that step failed; apt'"'"'s output is in ' '!out:Selecting' \
    'err:    E: Sub-process /usr/bin/dpkg returned an error code (1)' '!err:could not fetch'
check NonRootWithoutSudoGetsTheCommand 1000 absent "$missing_two" works 1 \
    'err:cannot be installed: not running as root, and there is no sudo' "err:$install_line" \
    'err:replaces the installed Boost 1.74 headers' '!err:command not found' '!calls:apt-get'
check SudoNeedingAPasswordWithoutATerminalGetsTheCommand 1000 password "$missing_two" works 1 \
    'err:sudo needs a password but there is no terminal' "err:$install_line" \
    '!err:a terminal is required' '!calls:apt-get'
check PasswordlessSudoKeepsDebianFrontend 1000 nopasswd "$missing_two" works 0 \
    'out:Installing 2 packages' \
    'calls:sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends cmake libboost1.81-dev' \
    'calls:apt-get[DEBIAN_FRONTEND=noninteractive] install'
# Offline, on a fresh machine: the update says at once that it could not fetch the lists and why
# (once, not once a source), and the install's failure shows apt's first reasons and points back.
check OfflineSaysWhyAtTheUpdateAndTheInstallPointsBack 0 absent "" offline 1 \
    "err:apt could not fetch the package lists: Temporary failure resolving 'deb.example.invalid'"$'\n' \
    "!err:'deb.example.invalid'; " "out:Installing $count packages" \
    'err:that step failed; apt'"'"'s output is in ' \
    'err:    E: Unable to locate package cmake' 'err:    E: Unable to locate package g++' \
    '!err:Unable to locate package clang-16' "err:    (and $((count - 3)) more such lines)" \
    'err:the update above could not fetch the package lists' '!err:Err:1'

# A run that installed something leaves no log behind; a failed one keeps it.
logs="$(ls "$work"/*/tmp/kelvane-setup-*.log 2>/dev/null | tr '\n' ' ')"
if [[ "$logs" != *"/RootNamesTheLogWhenAptFails/tmp/"* ]] ||
    [[ "$logs" != *"/OfflineSaysWhyAtTheUpdateAndTheInstallPointsBack/tmp/"* ]] ||
    [ "$(echo $logs | wc -w)" -ne 2 ]; then
    failures=$((failures + 1))
    echo "FAILED  only the failed run keeps its log: $logs"
fi
exit $((failures > 0))
