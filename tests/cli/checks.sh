# What the end-to-end scripts share; each sources it first, with its own arguments
# ORVENNE_CLI WORK_FOLDER: sets cli, makes the work folder anew and enters it, and counts the
# checks. A script ends with `finish`, which prints the counts and gives the exit status.
set -u
cli=$1
work=$2
rm -rf "$work"
mkdir -p "$work"
cd "$work" || exit 1
failures=0
passes=0

check() {  # check DESCRIPTION EXPECTED ACTUAL
    if [ "$2" = "$3" ]; then
        passes=$((passes + 1))
    else
        failures=$((failures + 1))
        printf 'FAIL: %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3"
    fi
}

status() { "$@" >/dev/null 2>&1; echo $?; }

finish() {
    echo "$passes passed, $failures failed"
    [ "$failures" -eq 0 ]
}
