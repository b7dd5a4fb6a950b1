#!/bin/sh
# End-to-end checks of orvenne-cli find and replace on a small demo archive whose texts are
# first set, through import, to ones written here.
# Usage: search_test.sh ORVENNE_CLI WORK_FOLDER
set -u
cli=$1
work=$2
. "$(dirname "$0")/../checks.sh"
tab() { printf '%s' "$*" | tr ' ' '\t'; }

# Three levels in table order, c1 before c2 before c3, with enough texts for the edits.
"$cli" sample small.lgp --levels 6 --seed 3
. "$(dirname "$0")/demo_facts.sh"
c1=$(levels_with small.lgp 3 | head -n 1)
c2=$(levels_with small.lgp 6 | awk -v after="$c1" 'seen { print; exit } $0 == after { seen = 1 }')
c3=$(levels_with small.lgp 2 | awk -v after="$c2" 'seen { print; exit } $0 == after { seen = 1 }')
check "three levels with texts in table order" 3 \
    "$("$cli" list small.lgp --only-levels | awk -F '\t' -v a="$c1" -v b="$c2" -v c="$c3" \
        '$2 == a { n = 1 } $2 == b && n == 1 { n = 2 } $2 == c && n == 2 { n = 3 } END { print n + 0 }')"
cat > edits.json <<JSON
{"levels": [
  {"name": "$c3", "texts": [{"text": 2, "tagged": "Zorblax, zorblax!"}]},
  {"name": "$c1", "texts": [{"text": 1, "tagged": "zorblaxzorblax"},
                             {"text": 3, "tagged": "A\\nZORBLAX {CLOUD}"}]},
  {"name": "$c2", "texts": [{"text": 4, "tagged": "ÉCLAIR éclair zorblax"},
                             {"text": 5, "tagged": "ÉCLAIR alone"},
                             {"text": 6, "tagged": "qqqqq"}]}
]}
JSON
check "texts set" "texts changed: 6" "$("$cli" import small.lgp edits.json | head -n 1)"
cp small.lgp original.lgp

# Find: level, text from 1 and position from 0, as repeated "Next" finds them.
check "every occurrence, case folded" \
    "$(tab $c1 1 0; echo; tab $c1 1 7; echo; tab $c1 3 3; echo; tab $c2 4 14; echo; tab $c3 2 0; echo; tab $c3 2 9)" \
    "$("$cli" find small.lgp zorblax)"
check "match case" "$(tab $c3 2 0)" "$("$cli" find small.lgp Zorblax --match-case)"
check "not overlapping" "$(tab $c2 6 0; echo; tab $c2 6 2)" "$("$cli" find small.lgp qq)"
check "a line break as \\n" "$(tab $c1 3 0)" "$("$cli" find small.lgp 'a\nzorblax')"
check "a tag" 1 "$("$cli" find small.lgp '{cloud}' | grep -cx "$(tab $c1 3 11)")"
check "accented capitals folded" "$(tab $c2 4 0; echo; tab $c2 4 7; echo; tab $c2 5 0)" \
    "$("$cli" find small.lgp éclair)"
check "accented capitals matched" "$(tab $c2 4 7)" "$("$cli" find small.lgp éclair --match-case)"
check "nothing found: no output" "" "$("$cli" find small.lgp qqqzzz)"
check "nothing found: success" 0 "$(status "$cli" find small.lgp qqqzzz)"
check "find without text" 2 "$(status "$cli" find small.lgp)"
check "find an empty text" 2 "$(status "$cli" find small.lgp '')"
check "find outside Windows-1252" 1 "$(status "$cli" find small.lgp 'Ω')"
check "find in a missing archive" 1 "$(status "$cli" find missing.lgp zorblax)"
check "find help" 0 "$(status "$cli" find --help)"

# Replace: counts texts, not occurrences; saves to -o, leaving the archive alone.
check "replace with -o" "3 texts have been modified." \
    "$("$cli" replace small.lgp zorblax Tifa --match-case -o out.lgp)"
check "the archive is left alone" 0 "$(status cmp -s small.lgp original.lgp)"
check "what is left" "$(tab $c1 3 3; echo; tab $c3 2 0)" "$("$cli" find out.lgp zorblax)"
check "the replacement" "$(tab $c3 2 9)" "$("$cli" find out.lgp 'Tifa!' --match-case)"
cp small.lgp accent.lgp
check "the test folds A to Z alone" "1 text has been modified." \
    "$("$cli" replace accent.lgp éclair y)"
check "then the replacement folds accents too" "$(tab $c2 4 0)" "$("$cli" find accent.lgp 'y y zorblax')"
check "a text with the capital alone is kept" "$(tab $c2 5 0)" "$("$cli" find accent.lgp éclair)"
cp small.lgp lines.lgp
check "a line break in the replacement" "1 text has been modified." \
    "$("$cli" replace lines.lgp 'Zorblax, zorblax!' 'one\ntwo' --match-case)"
check "stored as CR LF" 1 "$("$cli" texts lines.lgp $c3 | grep -c '"tagged": "one\\r\\ntwo"}$')"
check "replace over the archive" "4 texts have been modified." "$("$cli" replace small.lgp ZORBLAX x)"
check "none left" "" "$("$cli" find small.lgp zorblax)"
check "no temporary file left" "" "$(ls ./*.~*lgp 2>/dev/null)"
cp original.lgp same.lgp
check "nothing to replace" "No text has been modified." "$("$cli" replace same.lgp qqqzzz x)"
check "nothing rewritten" 0 "$(status cmp -s same.lgp original.lgp)"

# A refused replacement writes nothing.
cp original.lgp kept.lgp
check "a character the game lacks" 1 "$(status "$cli" replace kept.lgp zorblax '€' -o refused.lgp)"
check "is named with its level and text" 1 \
    "$("$cli" replace kept.lgp zorblax '€' 2>&1 | grep -c "^orvenne-cli replace: nothing was replaced: level $c1, text 1: ")"
long=$(head -c 3000 /dev/zero | tr '\0' 'x')
check "a text section too large" 1 \
    "$("$cli" replace kept.lgp e "$long" 2>&1 | grep -c 'bytes, more than the 65535 it can hold$')"
check "the archive is byte-identical" 0 "$(status cmp -s kept.lgp original.lgp)"
check "no output written" "" "$(ls refused.lgp 2>/dev/null)"
check "replace without replacement" 2 "$(status "$cli" replace kept.lgp zorblax)"
check "replace with -o and no file" 2 "$(status "$cli" replace kept.lgp zorblax x -o)"
check "replace help" 0 "$(status "$cli" replace --help)"

finish
