#!/bin/sh
# End-to-end checks of orvenne-cli: exit statuses, the lzs commands on the known example
# streams, and toc/extract on a small archive laid out here byte by byte.
# Usage: cli_test.sh ORVENNE_CLI WORK_FOLDER
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
hex() { od -An -tx1 -v "$1" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }

# Twenty bytes 0x61 through both compressors, and back.
printf 'aaaaaaaaaaaaaaaaaaaa' > twenty.bin
check "lzs compress exit" 0 "$(status "$cli" lzs compress twenty.bin library.lzs)"
check "library stream" "07 00 00 00 fd 61 ee fd 61 61 61" "$(hex library.lzs)"
check "lzs compress --fallback exit" 0 "$(status "$cli" lzs compress --fallback twenty.bin fallback.lzs)"
check "fallback stream" "0a 00 00 00 07 61 61 61 ee f0 ef f2 f0 f6" "$(hex fallback.lzs)"
"$cli" lzs decompress fallback.lzs decoded.bin
check "decompressed bytes" "$(hex twenty.bin)" "$(hex decoded.bin)"

# Exit statuses: usage errors 2, failures 1 with one line on standard error, help 0.
check "no arguments" 2 "$(status "$cli")"
check "unknown command" 2 "$(status "$cli" frobnicate)"
check "missing argument" 2 "$(status "$cli" lzs compress twenty.bin)"
check "unknown option" 2 "$(status "$cli" toc --bogus x.lgp)"
check "help of a command" 0 "$(status "$cli" extract --help)"
check "help of lzs" 0 "$(status "$cli" lzs --help)"
check "missing input" 1 "$(status "$cli" lzs decompress missing.lzs out.bin)"
check "one-line error" 1 "$("$cli" toc missing.lgp 2>&1 >/dev/null | wc -l | tr -d ' ')"

# A two-file archive: header, two entries, then the data headers and data.
le32() { printf "$(printf '\\%03o\\%03o\\%03o\\%03o' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)))"; }
name20() { printf '%s' "$1"; head -c $((20 - ${#1})) /dev/zero; }
{
    head -c 2 /dev/zero; printf 'SQUARESOFT'; le32 2
    name20 level; le32 70; printf '\016\000\000'
    name20 other; le32 105; printf '\016\000\000'
    name20 level; le32 11; cat library.lzs
    name20 other; le32 3; printf 'xyz'
    printf 'FINAL FANTASY7'
} > demo.lgp
check "toc" "$(printf 'creator\tSQUARESOFT\n1\tlevel\t70\t11\n2\tother\t105\t3')" "$("$cli" toc demo.lgp)"
"$cli" extract demo.lgp level level.bin
check "extract decodes" "$(hex twenty.bin)" "$(hex level.bin)"
"$cli" extract demo.lgp level level.raw --raw
check "extract --raw" "$(hex library.lzs)" "$(hex level.raw)"
check "extract of a missing name" 1 "$(status "$cli" extract demo.lgp nothere out.bin)"
head -c 60 demo.lgp > cut.lgp
check "truncated archive" 1 "$(status "$cli" toc cut.lgp)"

# Text codec on standard input and output.
printf '\041\350\042\377' > page.bin
"$cli" text decode < page.bin > page.txt
check "text decode" "41 0d 0a 7b 4e 45 57 20 50 41 47 45 7d 0d 0a 42" "$(hex page.txt)"
"$cli" text encode < page.txt > page.out
check "text encode" "$(hex page.bin)" "$(hex page.out)"
check "text without action" 2 "$(status "$cli" text)"

# The demo archive: its first levels, listed, counted and read back.
check "sample exit" 0 "$(status "$cli" sample small.lgp --levels 6 --seed 3)"
check "sample is deterministic" 0 "$(status sh -c "'$cli' sample again.lgp --levels 6 --seed 3 && cmp -s small.lgp again.lgp")"
check "sample with a bad count" 2 "$(status "$cli" sample bad.lgp --levels 900)"
check "sample without a number" 2 "$(status "$cli" sample bad.lgp --seed)"
check "list header" "$(printf '#\tFile\tDescription\tTexts')" "$("$cli" list small.lgp | head -n 1)"
check "levels listed" 6 "$("$cli" list small.lgp --only-levels | tail -n +2 | wc -l | tr -d ' ')"
check "other files show dashes" 0 "$("$cli" list small.lgp | tail -n +2 | awk -F '\t' '$3 == "-" && $4 != "-"' | wc -l | tr -d ' ')"
"$cli" info small.lgp > info.txt
check "info levels" "levels: 6" "$(grep '^levels:' info.txt)"
texts=$("$cli" list small.lgp --only-levels | tail -n +2 | awk -F '\t' '{ sum += $4 } END { print sum }')
check "info texts match the list" "texts: $texts" "$(grep '^texts:' info.txt)"
level=$("$cli" list small.lgp --only-levels | awk -F '\t' 'NR > 1 && $4 > 0 { print $2; exit }')
count=$("$cli" list small.lgp --only-levels | awk -F '\t' -v level="$level" '$2 == level { print $4 }')
check "one JSON line per text" "$count" "$("$cli" texts small.lgp "$level" | grep -c '^{"text": [0-9]*, "windows": \[.*\], "tagged": ".*"}$')"
check "texts of a non-level" 1 "$(status "$cli" texts small.lgp maplist)"
check "irregular sample" 0 "$(status "$cli" sample irregular.lgp --levels 6 --irregular)"
check "irregular info" "levels: 6" "$("$cli" info irregular.lgp | grep "^levels:")"

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
