#!/bin/sh
# End-to-end checks of orvenne-cli: exit statuses, the lzs commands on the known example
# streams, toc/extract on a small archive laid out here byte by byte, and the listing,
# comparison, export and import of demo archives, and text previews drawn to PNG files.
# Usage: cli_test.sh ORVENNE_CLI WORK_FOLDER
set -u
cli=$1
work=$2
. "$(dirname "$0")/../checks.sh"

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

# Comparison: the demo archive against itself and against one with fewer levels.
"$cli" sample fewer.lgp --levels 4 --seed 3
check "compare header" "$(printf '\tOriginal file\tCurrent file\tDifferences\tPercentage')" \
    "$("$cli" compare small.lgp small.lgp | head -n 1)"
check "compare with itself" "texts 0 0.00 %;windowed texts 0 0.00 %;windows 0 0.00 %;" \
    "$("$cli" compare small.lgp small.lgp | awk -F '\t' 'NR > 1 { printf "%s %s %s;", $1, $4, $5 }')"
check "compare counts" "$(awk '/^texts:/ { print $2 }' info.txt)" \
    "$("$cli" compare small.lgp fewer.lgp | awk -F '\t' '$1 == "texts" { print $3 }')"
check "compare with one level fewer" "- -;- -;- -;" \
    "$("$cli" compare small.lgp fewer.lgp | awk -F '\t' 'NR > 1 { printf "%s %s;", $4, $5 }')"
check "compare with a missing file" 1 "$(status "$cli" compare small.lgp missing.lgp)"

# Exchange files: export, then import unchanged and edited.
check "export JSON" 0 "$(status "$cli" export small.lgp small.json)"
check "export PO" 0 "$(status "$cli" export small.lgp small.po)"
check "export to another format" 2 "$(status "$cli" export small.lgp small.txt)"
if command -v msgfmt >/dev/null 2>&1; then
    check "msgfmt --check" 0 "$(status msgfmt --check -o /dev/null small.po)"
fi
check "one PO entry per text" "$(grep '^texts:' info.txt | cut -d ' ' -f 2)" \
    "$(($(grep -c '^msgctxt ' small.po) + $(grep -c '^# Left out: ' small.po)))"
check "JSON import of the export" "texts changed: 0;windows changed: 0;levels rebuilt: 0;" \
    "$("$cli" import small.lgp small.json -o same.lgp | tr '\n' ';')"
check "PO import of the export" "levels rebuilt: 0" \
    "$("$cli" import small.lgp small.po -o same-po.lgp | grep '^levels rebuilt:')"
check "unchanged import compares equal" "0 0 0" \
    "$("$cli" compare same.lgp small.lgp | awk -F '\t' 'NR > 1 { print $4 }' | xargs)"

# A level whose text 2 is shown in a window, and an edit of that text in each format.
for name in $("$cli" list small.lgp --only-levels | awk -F '\t' 'NR > 1 && $4 > 0 { print $2 }'); do
    if "$cli" texts small.lgp "$name" | sed -n 2p | grep -q '"windows": \[\['; then
        wlevel=$name
        break
    fi
done
awk -v ctx="msgctxt \"$wlevel:2\"" '$0 == ctx { found = 1 }
    found && $0 == "msgstr \"\"" { print "msgstr \"Ça va, {CLOUD}?\\r\\n\\\"Oui.\\\"\""; found = 0; next }
    { print }' small.po > edited.po
check "PO import of a translation" "texts changed: 1;windows changed: 0;levels rebuilt: 1;" \
    "$("$cli" import small.lgp edited.po -o po-edit.lgp | tr '\n' ';')"
check "the translation reads back" '"tagged": "Ça va, {CLOUD}?\r\n\"Oui.\""}' \
    "$("$cli" texts po-edit.lgp "$wlevel" | sed -n 2p | sed 's/.*"tagged"/"tagged"/')"
check "other texts unchanged" "$("$cli" texts small.lgp "$wlevel" | sed 2d)" \
    "$("$cli" texts po-edit.lgp "$wlevel" | sed 2d)"
awk -v name="\"name\": \"$wlevel\"," 'index($0, name) { level = 1; window = 1; text = 1 }
    level && window && /^ *\{"x": / { sub(/\{.*\}/, "{\"x\": 5, \"y\": -6, \"width\": 100, \"height\": 50}"); window = 0 }
    level && text && /"text": 2,/ { sub(/"tagged": ".*", "windows"/, "\"tagged\": \"{RED}Edited{WHITE}\", \"windows\""); text = 0 }
    { print }' small.json > edited.json
check "JSON import of an edit" "texts changed: 1;windows changed: 1;levels rebuilt: 1;" \
    "$("$cli" import small.lgp edited.json -o json-edit.lgp | tr '\n' ';')"
check "the edited text reads back" '"tagged": "{RED}Edited{WHITE}"}' \
    "$("$cli" texts json-edit.lgp "$wlevel" | sed -n 2p | sed 's/.*"tagged"/"tagged"/')"
"$cli" export json-edit.lgp again.json
check "the moved window reads back" 1 "$(grep -c '{"x": 5, "y": -6, "width": 100, "height": 50}' again.json)"
cp small.lgp in-place.lgp
check "import over the archive" 0 "$(status "$cli" import in-place.lgp edited.po)"
check "the archive holds the translation" "$("$cli" texts po-edit.lgp "$wlevel")" \
    "$("$cli" texts in-place.lgp "$wlevel")"
check "no temporary file left" "" "$(ls ./*.~*lgp 2>/dev/null)"

# Bad exchange files: one line naming the place, exit status 1, nothing written.
printf '{"levels": [\n  ,]}' > broken.json
check "malformed JSON" "orvenne-cli import: broken.json:2:3: syntax error while parsing value - unexpected ','; expected '[', '{', or a literal" \
    "$("$cli" import small.lgp broken.json -o broken.lgp 2>&1)"
check "nothing written for malformed JSON" "" "$(ls broken.lgp 2>/dev/null)"
printf 'msgctxt "nosuch:1"\nmsgid "a"\nmsgstr "b"\n' > unknown.po
cp small.lgp kept.lgp
check "unknown level" 1 "$(status "$cli" import kept.lgp unknown.po)"
check "unknown level is named" 1 "$("$cli" import kept.lgp unknown.po 2>&1 | grep -c '^orvenne-cli import: unknown.po:1:1: .*nosuch$')"
sed "s/^msgstr \"Ça va.*/msgstr \"中\"/" edited.po > chinese.po
check "characters outside Windows-1252" 1 "$(status "$cli" import kept.lgp chinese.po)"
check "they are reported with the level and text" 1 \
    "$("$cli" import kept.lgp chinese.po 2>&1 | grep -c "level $wlevel, text 2 holds characters")"
check "the archive is left as it was" 0 "$(status cmp -s small.lgp kept.lgp)"
check "import with -o and no file" 2 "$(status "$cli" import small.lgp small.json -o)"

# The translators' template: every section, and a description for each of the 702 levels.
check "language-template exit" 0 "$(status "$cli" language-template template.lng)"
check "template header" "[header]" "$(sed -n 3p template.lng | tr -d '\r')"
check "template sections" 14 "$(grep -c '^\[' template.lng)"
check "template level descriptions" "zz1=Sleeping man cave" "$(grep '^zz1=' template.lng | tr -d '\r')"
check "template without output" 2 "$(status "$cli" language-template)"

# Text previews (built with Qt only): the picture's size, from the PNG header.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $3 * 256 + $4, $7 * 256 + $8 }'; }
if "$cli" --help | grep -q ' preview '; then
    printf 'Hello, {CLOUD}!\n' > one.txt
    check "preview exit" 0 "$(status "$cli" preview one.txt one.png)"
    check "one line, automatic size" 320x25 "$(png_size one.png)"
    printf 'A\r\nB\nC' > three.txt
    "$cli" preview three.txt three.png
    check "three lines, CR LF or LF" 320x57 "$(png_size three.png)"
    "$cli" preview one.txt sized.png --size 200x60 --colors 0058b0000050000020000080
    check "given size" 200x60 "$(png_size sized.png)"
    printf 'x' | "$cli" preview - stdin.png
    check "standard input" 320x25 "$(png_size stdin.png)"
    printf '\357\273\277x\r\n' > bom.txt
    check "byte-order mark and CR LF" 0 "$(status sh -c "'$cli' preview bom.txt bom.png && cmp -s bom.png stdin.png")"
    check "size of zero" 2 "$(status "$cli" preview one.txt bad.png --size 0x10)"
    check "size without height" 2 "$(status "$cli" preview one.txt bad.png --size 200)"
    check "short colours" 2 "$(status "$cli" preview one.txt bad.png --colors 0058B0)"
    check "nothing written for bad options" "" "$(ls bad.png 2>/dev/null)"
    printf '\304\200\n' > outside.txt
    check "characters outside Windows-1252" 1 "$(status "$cli" preview outside.txt bad.png)"
    check "missing input" 1 "$(status "$cli" preview nothere.txt bad.png)"
    check "unwritable output" 1 "$(status "$cli" preview one.txt no/such/folder.png)"
fi

finish
