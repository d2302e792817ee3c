# Sourced by the script tests: one case's verdict.
# report <case> <folder> <streams shown on failure>..., with the problems found in `problems`; a
# failure counts in `failures`.
report() {
    local name="$1" dir="$2"
    shift 2
    if [ ${#problems[@]} -eq 0 ]; then
        echo "ok      $name"
    else
        failures=$((failures + 1))
        echo "FAILED  $name"
        printf '        %s\n' "${problems[@]}"
        for stream in "$@"; do sed 's/^/        '"$stream"': /' "$dir/$stream"; done
    fi
}
