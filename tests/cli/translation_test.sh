#!/bin/sh
# End-to-end checks of what translators run over a demo archive: the overflow check, fitting
# the windows to their texts, the PO export through gettext's own tools, and the spelling
# glossary.
# Usage: translation_test.sh ORVENNE_CLI WORK_FOLDER
set -u
cli=$1
work=$2
. "$(dirname "$0")/../checks.sh"

# The demo archive's first levels, every window fitted to its texts, then one window too
# narrow for the texts that show it.
"$cli" sample demo.lgp --levels 40 --seed 1997
. "$(dirname "$0")/demo_facts.sh"
set -- $(narrow_one_window demo.lgp narrow.lgp)
level=$1 window=$2 links=$3
shift 3
expected=""
for number in "$@"; do
    expected="$expected$(printf '%s\t%d\t%d\t1\twidth\t56\t55' "$level" "$number" "$window");"
done
check "check finds the overflow" 1 "$(status "$cli" check narrow.lgp)"
"$cli" check narrow.lgp > overflows.txt 2> summary.txt
check "one line per overflow" "$expected" "$(tr '\n' ';' < overflows.txt)"
if [ $# -eq 1 ]; then summary="1 text overflows its windows"; else summary="$# texts overflow their windows"; fi
check "a summary on standard error" "orvenne-cli check: $summary" "$(cat summary.txt)"
check "the widest names overflow more" 1 \
    "$("$cli" check narrow.lgp --names widest 2>/dev/null | awk -v lines=$# 'END { print (NR > lines) }')"
check "every line has seven fields" 0 \
    "$("$cli" check narrow.lgp --names widest 2>/dev/null | awk -F '\t' 'NF != 7 || ($5 != "width" && $5 != "height") || $6 <= $7' | wc -l | tr -d ' ')"
check "unknown names" 2 "$(status "$cli" check demo.lgp --names long)"
check "names without a value" 2 "$(status "$cli" check demo.lgp --names)"
check "check of a missing archive: an error, not an overflow" 2 "$(status "$cli" check missing.lgp)"
check "the overflowing text as the texts list numbers it" 1 \
    "$("$cli" texts narrow.lgp "$level" | grep -c "^{\"text\": $1, ")"

# Fitting: only the overflowing window, then every window; check then finds nothing.
check "fit only the overflowing" "windows changed: 1;levels rebuilt: 1;" \
    "$("$cli" fit narrow.lgp -o only.lgp --only-overflowing | tr '\n' ';')"
check "nothing overflows after fitting" 0 "$(status "$cli" check only.lgp)"
check "and nothing is printed" "" "$("$cli" check only.lgp 2>&1)"
# Each entry of the texts' window lists that is the window differs.
check "texts are unchanged" "0 0 $links" \
    "$("$cli" compare only.lgp narrow.lgp | awk -F '\t' 'NR > 1 { print $4 }' | xargs)"
check "fitting a fitted archive changes nothing" "windows changed: 0;levels rebuilt: 0;" \
    "$("$cli" fit only.lgp --only-overflowing | tr '\n' ';')"
"$cli" fit demo.lgp -o widest.lgp --names widest > /dev/null
check "for the widest names only lines wider than the screen stay" 0 \
    "$("$cli" check widest.lgp --names widest 2>/dev/null | awk -F '\t' '$5 != "width" || $6 <= 304 || $7 != 304' | wc -l | tr -d ' ')"
cp narrow.lgp in-place.lgp
"$cli" fit in-place.lgp > /dev/null
check "fit over the archive" 0 "$(status "$cli" check in-place.lgp)"
check "no temporary file left" "" "$(ls ./*.~*lgp 2>/dev/null)"
check "fit with -o and no file" 2 "$(status "$cli" fit demo.lgp -o)"

# The PO export as gettext's tools read it: no warning, and its msgids as translations
# change nothing.
"$cli" export demo.lgp demo.po
check "no carriage return in the PO file" 0 "$(grep -c '\\r' demo.po)"
check "msgcat without a warning" "" "$(msgcat demo.po -o cat.po 2>&1)"
msgen cat.po -o english.po
check "the msgids imported as translations" "texts changed: 0;windows changed: 0;levels rebuilt: 0;" \
    "$("$cli" import demo.lgp english.po -o english.lgp | tr '\n' ';')"

# The spelling glossary (built with Hunspell only), with a dictionary of two words.
if "$cli" --help | grep -q ' spellcheck '; then
    printf 'SET UTF-8\n' > tiny.aff
    printf '2\nthe\nyou\n' > tiny.dic
    XDG_DATA_HOME="$work/nobody" "$cli" spellcheck demo.lgp --dictionary "$work/tiny.dic" > words.txt
    check "unknown words found" 1 "$(awk 'END { print (NR > 10) }' words.txt)"
    check "word, count, level and text" 0 "$(awk -F '\t' 'NF != 4 || $2 < 1 || $4 < 1' words.txt | wc -l | tr -d ' ')"
    check "the most frequent first" 0 \
        "$(awk -F '\t' 'NR > 1 && $2 > last { bad++ } { last = $2 } END { print bad + 0 }' words.txt)"
    check "known words, tags and names are left out" 0 \
        "$(grep -cE '^(the|The|you|CLOUD|PAGE|PAUSE|Cloud|Tifa)	' words.txt)"
    set -- $(head -n 1 words.txt)
    check "the first place is the text as the texts list numbers it" 1 \
        "$("$cli" texts demo.lgp "$3" | grep "^{\"text\": $4," | grep -cF "$1")"
    first=$1
    mkdir -p data/orvenne
    echo "$first" > data/orvenne/user_words.txt
    check "the user's own words are known" 0 \
        "$(XDG_DATA_HOME="$work/data" "$cli" spellcheck demo.lgp --dictionary "$work/tiny.dic" | grep -c "^$first	")"
    check "a dictionary that is not there" 1 "$(status "$cli" spellcheck demo.lgp --dictionary xx_NONE)"
    check "without a dictionary" 2 "$(status "$cli" spellcheck demo.lgp)"
fi

finish
