#!/bin/sh
# End-to-end checks of orvenne-cli export-mod: an edited demo archive against the one it was
# made from, in each layout; the level read back from the direct layout; refusals.
# Usage: export_mod_test.sh ORVENNE_CLI WORK_FOLDER
set -u
cli=$1
work=$2
. "$(dirname "$0")/../checks.sh"

# The demo archive, and a copy whose second text of its first level with two texts is longer.
"$cli" sample small.lgp --levels 6 --seed 3
"$cli" export small.lgp small.po
level=$("$cli" list small.lgp --only-levels | awk -F '\t' 'NR > 1 && $4 > 1 { print $2; exit }')
awk -v ctx="msgctxt \"$level:2\"" '$0 == ctx { found = 1 }
    found && $0 == "msgstr \"\"" { print "msgstr \"A longer text, {CLOUD}.\""; found = 0; next }
    { print }' small.po > edited.po
"$cli" import small.lgp edited.po -o edited.lgp > /dev/null

check "direct layout" "direct/flevel/$level;levels exported: 1;" \
    "$("$cli" export-mod edited.lgp small.lgp direct --layout direct | tr '\n' ';')"
check "chunks layout" "direct/flevel.lgp/$level.chunk.1;levels exported: 1;" \
    "$("$cli" export-mod edited.lgp small.lgp chunks --layout chunks | tr '\n' ';')"
check "mod manager layout" "flevel.lgp/$level.chunk.1;levels exported: 1;" \
    "$("$cli" export-mod edited.lgp small.lgp mod --layout mod | tr '\n' ';')"
check "the files and a README, nothing else" \
    "chunks/README.txt chunks/direct/flevel.lgp/$level.chunk.1 direct/README.txt direct/direct/flevel/$level mod/README.txt mod/flevel.lgp/$level.chunk.1" \
    "$(find chunks direct mod -type f | sort | xargs)"
"$cli" extract edited.lgp "$level" edited.bin
"$cli" lzs decompress "direct/direct/flevel/$level" direct.bin
check "the direct file decodes to the edited level" 0 "$(status cmp edited.bin direct.bin)"
check "same chunk in both chunk layouts" 0 \
    "$(status cmp "chunks/direct/flevel.lgp/$level.chunk.1" "mod/flevel.lgp/$level.chunk.1")"
check "an unchanged archive exports nothing" "levels exported: 0" \
    "$("$cli" export-mod small.lgp small.lgp none --layout mod)"
check "and writes no folder" "" "$(ls -d none 2>/dev/null)"

# Refusals: usage errors 2, failures 1 with one line, nothing written.
check "no layout" 2 "$(status "$cli" export-mod edited.lgp small.lgp out)"
check "unknown layout" 2 "$(status "$cli" export-mod edited.lgp small.lgp out --layout zip)"
check "layout without a value" 2 "$(status "$cli" export-mod edited.lgp small.lgp out --layout)"
check "missing folder argument" 2 "$(status "$cli" export-mod edited.lgp small.lgp --layout mod)"
check "a folder that is not empty" \
    "orvenne-cli export-mod: mod is not empty: a mod folder is written into a new or empty folder" \
    "$("$cli" export-mod edited.lgp small.lgp mod --layout mod 2>&1)"
"$cli" sample fewer.lgp --levels 5 --seed 3
check "archives that cannot be compared" 1 "$(status "$cli" export-mod edited.lgp fewer.lgp out --layout direct)"
check "nothing written for refusals" "" "$(ls -d out 2>/dev/null)"
check "no temporary file left" "" "$(find . -name '*.~part')"

finish
