# Shared by the end-to-end scripts: sourced after `cd` into the work folder.
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
