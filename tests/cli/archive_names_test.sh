#!/bin/sh
# End-to-end checks that run on every system, under Wine too: a level that an import rebuilds
# is compressed by the corvask library beside the program, the Steam edition's archives of
# other languages (fflevel.lgp, gflevel.lgp, sflevel.lgp) open and take an import as
# flevel.lgp does, and so do files whose names hold letters of any script.
# Usage: archive_names_test.sh ORVENNE_CLI WORK_FOLDER
set -u
cli=$1
work=$2
. "$(dirname "$0")/../checks.sh"
same() { cmp -s "$1" "$2" && echo same || echo different; }

# The first text of the first level, translated.
"$cli" sample flevel.lgp --levels 3 --seed 5
"$cli" export flevel.lgp texts.po
level=$(awk '/^msgctxt / { gsub(/"/, "", $2); split($2, part, ":"); print part[1]; exit }' texts.po)
awk '!done && /^msgctxt / { found = 1 }
    found && $0 == "msgstr \"\"" { print "msgstr \"{CLOUD}, the edit.\""; found = 0; done = 1; next }
    { print }' texts.po > edited.po

check "import" 0 "$(status "$cli" import flevel.lgp edited.po -o edited.lgp)"
"$cli" extract edited.lgp "$level" level.bin
"$cli" extract edited.lgp "$level" stored.lzs --raw
"$cli" lzs compress level.bin library.lzs
"$cli" lzs compress --fallback level.bin fallback.lzs
check "the two compressors differ on the level" different "$(same library.lzs fallback.lzs)"
check "the rebuilt level is the library's stream" same "$(same stored.lzs library.lzs)"

for name in fflevel gflevel sflevel; do
    cp flevel.lgp "$name.lgp"
    check "$name.lgp lists as flevel.lgp" "$("$cli" list flevel.lgp)" "$("$cli" list "$name.lgp")"
    check "$name.lgp takes the import" 0 "$(status "$cli" import "$name.lgp" edited.po)"
    check "$name.lgp holds the edit" "$("$cli" texts edited.lgp "$level")" \
        "$("$cli" texts "$name.lgp" "$level")"
done

# Names beyond ASCII, and beyond the Windows code page of Western Europe.
name="Café 中文"
check "sample named $name" 0 "$(status "$cli" sample "$name.lgp" --levels 3 --seed 5)"
check "it is the same archive" same "$(same flevel.lgp "$name.lgp")"
check "export to $name.po" 0 "$(status "$cli" export "$name.lgp" "$name.po")"
check "the PO file names the archive" "\"Project-Id-Version: $name.lgp\\n\"" \
    "$(grep '^"Project-Id-Version' "$name.po")"
check "import into a new file" 0 "$(status "$cli" import "$name.lgp" edited.po -o "$name 2.lgp")"
check "import in place" 0 "$(status "$cli" import "$name.lgp" edited.po)"
check "both hold the edit" "$("$cli" texts edited.lgp "$level")$("$cli" texts edited.lgp "$level")" \
    "$("$cli" texts "$name 2.lgp" "$level")$("$cli" texts "$name.lgp" "$level")"
check "no temporary file left" "" "$(ls ./*.~*lgp 2>/dev/null)"

finish
