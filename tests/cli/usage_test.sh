#!/bin/sh
# End-to-end checks of orvenne-cli's command line: empty and dash-led arguments, backslashes,
# options given twice, outputs that name an input, the exit statuses that every command's
# help documents, and exchange files whose texts hold a NUL character.
# Usage: usage_test.sh ORVENNE_CLI WORK_FOLDER
set -u
cli=$1
work=$2
. "$(dirname "$0")/../checks.sh"
tab() { printf '%s' "$*" | tr ' ' '\t'; }
errors() { "$@" 2>&1 >/dev/null; }
tagged() { "$cli" texts "$1" "$2" | sed -n "$3p" | sed 's/.*"tagged": //'; }

"$cli" sample small.lgp --levels 6 --seed 3
cat > edits.json <<'JSON'
{"levels": [{"name": "ancnt3", "texts": [{"text": 2, "tagged": "-v dash, back\\slash, one word"}]}]}
JSON
"$cli" import small.lgp edits.json >/dev/null

# "--" ends the options; "\\" is one backslash, a backslash before anything else is itself.
check "a text that starts with a dash" "$(tab ancnt3 2 0)" "$("$cli" find small.lgp -- -v)"
check "without --, it is an option" 2 "$(status "$cli" find small.lgp -v)"
check "options stand before --" "$(tab ancnt3 2 0)" "$("$cli" find small.lgp --match-case -- -v)"
check "--help after -- is a text" "" "$("$cli" find small.lgp -- --help)"
check "\\\\ is one backslash" "$(tab ancnt3 2 9)" "$("$cli" find small.lgp 'back\\slash')"
check "a lone backslash is itself" "$(tab ancnt3 2 9)" "$("$cli" find small.lgp 'back\slash')"
check "\\\\n is a backslash and an n" "" "$("$cli" find small.lgp 'back\\nslash')"

# An empty REPLACEMENT deletes; SEARCH may start with a dash after --.
check "an empty replacement" "1 text has been modified." "$("$cli" replace small.lgp ' one word' '' -o deleted.lgp)"
check "deletes the words" '"-v dash, back\\slash,"}' "$(tagged deleted.lgp ancnt3 2)"
check "replace after --" "1 text has been modified." "$("$cli" replace small.lgp -o dashed.lgp -- '-v ' '')"
check "the dash is gone" '"dash, back\\slash, one word"}' "$(tagged dashed.lgp ancnt3 2)"
check "an empty SEARCH is still refused" 2 "$(status "$cli" replace small.lgp '' x -o bad.lgp)"
check "an empty ARCHIVE is still refused" 2 "$(status "$cli" replace '' x y)"

# An option given twice says so.
check "a flag twice" "orvenne-cli find: option --match-case is given twice" \
    "$(errors "$cli" find small.lgp x --match-case --match-case | head -n 1)"
check "an option with a value twice" "orvenne-cli import: option -o is given twice" \
    "$(errors "$cli" import small.lgp edits.json -o a.lgp -o b.lgp | head -n 1)"
check "a layout twice" 2 "$(status "$cli" export-mod small.lgp small.lgp mod --layout mod --layout direct)"
check "nothing written" "" "$(ls a.lgp b.lgp mod 2>/dev/null)"

# An output that is one of the inputs is refused before anything is read or written.
cp edits.json kept.json
check "import over its own exchange file" "orvenne-cli import: the output kept.json is also an input: writing it would replace what is read" \
    "$(errors "$cli" import small.lgp kept.json -o kept.json | head -n 1)"
check "import over its own exchange file: a usage error" 2 "$(status "$cli" import small.lgp kept.json -o ./kept.json)"
check "the exchange file is kept" 0 "$(status cmp -s edits.json kept.json)"
cp small.lgp before.lgp
check "extract over the archive" 2 "$(status "$cli" extract small.lgp ancnt3 small.lgp)"
check "export over the archive" 2 "$(status "$cli" export small.lgp small.lgp)"
check "lzs over its input" 2 "$(status "$cli" lzs compress small.lgp small.lgp)"
check "the archive is kept" 0 "$(status cmp -s small.lgp before.lgp)"

# Exit statuses: every command's help says what they mean; check tells errors from overflows.
undocumented=""
for command in $("$cli" --help | awk 'NR > 1 && $1 == "orvenne-cli" { print $2 }' | sort -u); do
    "$cli" "$command" --help | grep -q '^Exit status: ' || undocumented="$undocumented $command"
done
check "every help documents the exit statuses" "" "$undocumented"
check "the usual statuses" "Exit status: 0 when done, 1 when it fails (the reason on standard error), 2 for a wrong command line." \
    "$("$cli" import --help | tail -n 1)"
check "check's own" 1 "$("$cli" check --help | grep -c '^Exit status: 0 when nothing overflows, 1 when something does, 2 for an error')"
check "check of a missing archive" 2 "$(status "$cli" check missing.lgp)"
check "check with an unknown option" 2 "$(status "$cli" check small.lgp --bogus)"

# A NUL character in an imported text would cut it: refused with its level, text and place.
printf '{"levels": [{"name": "ancnt3", "texts": [{"text": 1, "tagged": "Forgotten\\u0000City"}]}]}' > withnul.json
cp small.lgp withnul.lgp
check "a NUL in a JSON text" "orvenne-cli import: withnul.json:1:64: level ancnt3, text 1 holds a NUL character (U+0000) at position 9, which would cut the text there" \
    "$(errors "$cli" import withnul.lgp withnul.json)"
printf 'msgctxt "ancnt3:1"\nmsgid "x"\nmsgstr "Forgotten\\0City"\n' > withnul.po
check "a NUL in a PO text" "orvenne-cli import: withnul.po:3:8: level ancnt3, text 1 holds a NUL character (U+0000) at position 9, which would cut the text there" \
    "$(errors "$cli" import withnul.lgp withnul.po)"
check "the archive is unchanged" 0 "$(status cmp -s small.lgp withnul.lgp)"

finish
