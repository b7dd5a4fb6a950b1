#!/bin/sh
# End-to-end checks of what translators run over a demo archive: the overflow check, fitting
# the windows to their texts, the PO export through gettext's own tools, and the spelling
# glossary.
# Usage: translation_test.sh ORVENNE_CLI WORK_FOLDER
set -u
cli=$1
work=$2
. "$(dirname "$0")/../checks.sh"

# The demo archive's first levels: one text overflows its window on purpose.
"$cli" sample demo.lgp --levels 40 --seed 1997
check "check finds the overflow" 1 "$(status "$cli" check demo.lgp)"
"$cli" check demo.lgp > overflows.txt 2> summary.txt
check "one line per overflow" \
    "$(printf 'anfrst_4\t40\t11\t1\twidth\t207\t204\nanfrst_4\t40\t11\t2\twidth\t206\t204\nanfrst_4\t41\t11\t1\twidth\t206\t204\nanfrst_4\t43\t11\t1\twidth\t223\t204')" \
    "$(cat overflows.txt)"
check "a summary on standard error" "orvenne-cli check: 3 texts overflow their windows" \
    "$(cat summary.txt)"
check "the widest names overflow more" 1 \
    "$("$cli" check demo.lgp --names widest 2>/dev/null | awk 'END { print (NR > 4) }')"
check "every line has seven fields" 0 \
    "$("$cli" check demo.lgp --names widest 2>/dev/null | awk -F '\t' 'NF != 7 || ($5 != "width" && $5 != "height") || $6 <= $7' | wc -l | tr -d ' ')"
check "unknown names" 2 "$(status "$cli" check demo.lgp --names long)"
check "names without a value" 2 "$(status "$cli" check demo.lgp --names)"
check "check of a missing archive: an error, not an overflow" 2 "$(status "$cli" check missing.lgp)"
check "the overflowing text as the texts list numbers it" 1 \
    "$("$cli" texts demo.lgp anfrst_4 | grep -c '^{"text": 43, "windows": \[\[[0-9-]*, [0-9-]*, 204, ')"

# Fitting: only the overflowing window, then every window; check then finds nothing.
check "fit only the overflowing" "windows changed: 1;levels rebuilt: 1;" \
    "$("$cli" fit demo.lgp -o only.lgp --only-overflowing | tr '\n' ';')"
check "nothing overflows after fitting" 0 "$(status "$cli" check only.lgp)"
check "and nothing is printed" "" "$("$cli" check only.lgp 2>&1)"
# The window shows three texts: three of the text-window links differ.
check "texts are unchanged" "0 0 3" \
    "$("$cli" compare only.lgp demo.lgp | awk -F '\t' 'NR > 1 { print $4 }' | xargs)"
check "fitting a fitted archive changes nothing" "windows changed: 0;levels rebuilt: 0;" \
    "$("$cli" fit only.lgp --only-overflowing | tr '\n' ';')"
"$cli" fit demo.lgp -o widest.lgp --names widest > /dev/null
check "for the widest names only lines wider than the screen stay" 0 \
    "$("$cli" check widest.lgp --names widest 2>/dev/null | awk -F '\t' '$5 != "width" || $6 <= 304 || $7 != 304' | wc -l | tr -d ' ')"
cp demo.lgp in-place.lgp
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
