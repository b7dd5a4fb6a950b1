#!/bin/sh
# End-to-end checks that run on every system, under Wine too: the commands that write an
# archive or a mod folder do so under names beyond the Windows code page of Western Europe,
# two imports into one archive at once both land, and an archive that must not be replaced
# (read-only, or with two names) is refused.
# Usage: writing_test.sh ORVENNE_CLI WORK_FOLDER [ROUNDS]   (ROUNDS of two imports at once: 5)
set -u
cli=$1
work=$2
rounds=${3:-5}
. "$(dirname "$0")/../checks.sh"
same() { cmp -s "$1" "$2" && echo same || echo different; }
temporaries() { find . -name '*.~*' | sort | tr '\n' ' '; }
po() { printf 'msgctxt "%s"\nmsgid "x"\nmsgstr "%s"\n\n' "$1" "$2"; }
has_edit() { "$cli" texts "$1" "$2" | grep -c "\"tagged\": \"$3\""; }

# The demo archive's first levels with one window too narrow for its texts.
name="Café 中文"
"$cli" sample demo.lgp --levels 40 --seed 1997
. "$(dirname "$0")/demo_facts.sh"
level=$(narrow_one_window demo.lgp narrow.lgp | cut -d ' ' -f 1)
cp narrow.lgp "$name.lgp"
check "check reads the archive" 1 "$(status "$cli" check "$name.lgp")"
check "fit into a new file" "windows changed: 1;levels rebuilt: 1;" \
    "$("$cli" fit "$name.lgp" -o "$name fitted.lgp" --only-overflowing | tr '\n' ';')"
check "nothing overflows there" 0 "$(status "$cli" check "$name fitted.lgp")"
check "fit in place" 0 "$(status "$cli" fit "$name.lgp" --only-overflowing)"
check "in place as into the new file" same "$(same "$name.lgp" "$name fitted.lgp")"
check "export-mod into a new folder" "direct/flevel/$level;levels exported: 1;" \
    "$("$cli" export-mod "$name.lgp" narrow.lgp "Mod $name" --layout direct | tr '\n' ';')"
check "the README names both archives" \
    "The levels of $name.lgp whose texts or windows differ from narrow.lgp:" \
    "$(head -n 1 "Mod $name/README.txt" | tr -d '\r')"
check "export-mod refuses a folder that is not empty" 1 \
    "$(status "$cli" export-mod "$name.lgp" narrow.lgp "Mod $name" --layout direct)"
# The levels' first texts are their places' names: the level of each occurrence, and the
# texts that hold one.
"$cli" export "$name.lgp" before.json
place=$(awk -F '"tagged": "' '/^        \{"text": 1,/ { sub(/".*/, "", $2); print $2; exit }' before.json)
occurrences=$(awk -v place="$place" '
    /^      "name": / { level = $0; sub(/^[^:]*: "/, "", level); sub(/",$/, "", level) }
    /^        \{"text": / { line = $0; while ((at = index(line, place)) > 0) { print level; line = substr(line, at + length(place)) } }
    ' before.json | xargs)
holding=$(awk -v place="$place" '/^        \{"text": / && index($0, place) > 0 { ++n } END { print n }' before.json)
if [ "$holding" = 1 ]; then modified="1 text has been modified."; else modified="$holding texts have been modified."; fi
check "replace in place" "$modified" \
    "$("$cli" replace "$name.lgp" "$place" 'Forêt' --match-case)"
check "the replacement is found" "$occurrences" \
    "$("$cli" find "$name.lgp" 'Forêt' --match-case | cut -f 1 | xargs)"
check "no temporary file left" "" "$(temporaries)"

# Two imports into one archive at once, in both orders: each waits for the other's file, and
# gives up with the lock's message only when the other takes too long (a loaded machine).
"$cli" sample small.lgp --levels 6
level_a=$(level_with small.lgp 1)
level_b=$(level_with small.lgp 2 "$level_a")
po "$level_a:1" 'Edited A' > a.po
po "$level_b:2" 'Edited B' > b.po
lost=0
round=0
while [ $round -lt "$rounds" ]; do
    cp small.lgp "$name race.lgp"
    if [ $((round % 2)) -eq 0 ]; then first=a second=b; else first=b second=a; fi
    "$cli" import "$name race.lgp" $first.po >/dev/null 2>$first.err & pid=$!
    "$cli" import "$name race.lgp" $second.po >/dev/null 2>$second.err; eval "status_$second=$?"
    wait $pid; eval "status_$first=$?"
    for file in a b; do
        eval "code=\$status_$file"
        if [ $file = a ]; then level=$level_a edit='Edited A'; else level=$level_b edit='Edited B'; fi
        if [ "$code" = 0 ] && [ "$(has_edit "$name race.lgp" $level "$edit")" = 1 ]; then :
        elif [ "$code" = 1 ] && grep -q 'is being saved by another program' $file.err; then :
        else lost=$((lost + 1)); fi
    done
    round=$((round + 1))
done
check "every import of every round lands or is refused" 0 "$lost"
check "no temporary file left by them" "" "$(temporaries)"

# What must not be replaced is refused, and left as it was.
cp small.lgp "$name locked.lgp"
chmod 444 "$name locked.lgp"
check "a read-only archive is refused" "orvenne-cli import: $name locked.lgp is read-only" \
    "$("$cli" import "$name locked.lgp" a.po 2>&1 >/dev/null)"
check "and left as it was" same "$(same small.lgp "$name locked.lgp")"
cp small.lgp "$name linked.lgp"
ln "$name linked.lgp" "$name other.lgp"
check "an archive with two names is refused" 1 \
    "$("$cli" import "$name linked.lgp" a.po 2>&1 | grep -c 'has 2 hard links')"
check "--break-links saves" 0 "$(status "$cli" import "$name linked.lgp" a.po --break-links)"
check "the other name keeps the old data" same "$(same small.lgp "$name other.lgp")"
check "no temporary file left at the end" "" "$(temporaries)"

finish
