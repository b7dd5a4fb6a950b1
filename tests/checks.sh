# The frame of the end-to-end scripts, sourced by them with `work` set: starts in a fresh
# folder `work`, and counts the checks.
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
# Polls until the command succeeds, for up to a minute; fails when it never does.
wait_until() {
    tries=0
    until "$@"; do
        tries=$((tries + 1))
        [ "$tries" -lt 6000 ] || return 1
        sleep 0.01
    done
}
# A file's bytes as hexadecimal pairs on one line.
hex() { od -An -tx1 -v "$1" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }

# Says how many checks passed and failed, and fails when one did.
finish() {
    echo "$passes passed, $failures failed"
    [ "$failures" -eq 0 ]
}
