#!/bin/sh
# End-to-end checks that orvenne-cli loses nothing when writing: imports running at the same
# time, links, permissions, a full standard output, a file-size limit, damaged levels and
# text tables, characters the game lacks, and names that must be printed escaped.
# Usage: save_test.sh ORVENNE_CLI WORK_FOLDER [ROUNDS]   (ROUNDS of two imports at once: 20)
set -u
cli=$1
work=$2
rounds=${3:-20}
. "$(dirname "$0")/../checks.sh"
errors() { "$@" 2>&1 >/dev/null; }
same() { cmp -s "$1" "$2" && echo same || echo different; }
temporaries() { find . -name '*.~*' | sort | tr '\n' ' '; }
u16() { od -An -tu2 -j "$2" -N2 "$1" | tr -d ' '; }
u32() { od -An -tu4 -j "$2" -N4 "$1" | tr -d ' '; }
le32() { printf "$(printf '\\%03o\\%03o\\%03o\\%03o' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)))"; }
name20() { printf "$1"; head -c $((20 - $(printf "$1" | wc -c))) /dev/zero; }
po() { printf 'msgctxt "%s"\nmsgid "x"\nmsgstr "%s"\n\n' "$1" "$2"; }

# build_archive OUTPUT NAME STORED [NAME STORED ...]: names may hold printf escapes.
build_archive() {
    out=$1
    shift
    offset=$((16 + 27 * $# / 2))
    {
        head -c 2 /dev/zero; printf 'SQUARESOFT'; le32 $(($# / 2))
        i=0
        for arg in "$@"; do
            if [ $((i % 2)) -eq 0 ]; then name=$arg; else
                name20 "$name"; le32 $offset; printf '\016\000\000'
                offset=$((offset + 24 + $(wc -c < "$arg")))
            fi
            i=$((i + 1))
        done
        i=0
        for arg in "$@"; do
            if [ $((i % 2)) -eq 0 ]; then name=$arg; else
                name20 "$name"; le32 "$(wc -c < "$arg")"; cat "$arg"
            fi
            i=$((i + 1))
        done
        printf 'FINAL FANTASY7'
    } > "$out"
}

"$cli" sample small.lgp --levels 6
. "$(dirname "$0")/demo_facts.sh"
level_a=$(level_with small.lgp 1)
level_b=$(level_with small.lgp 2 "$level_a")
po "$level_a:1" 'Edited A' > a.po
po "$level_b:2" 'Edited B' > b.po
has_edit() { "$cli" texts "$1" "$2" | grep -c "\"tagged\": \"$3\""; }

# Two imports into one archive at once, in both orders: each edit lands, or its import
# gives up with the lock's message; the archive always reads.
readable=0 landed=0 refused=0 lost=0
round=0
while [ $round -lt "$rounds" ]; do
    cp small.lgp race.lgp
    if [ $((round % 2)) -eq 0 ]; then first=a second=b; else first=b second=a; fi
    "$cli" import race.lgp $first.po >/dev/null 2>$first.err & pid1=$!
    "$cli" import race.lgp $second.po >/dev/null 2>$second.err & pid2=$!
    wait $pid1; eval "status_$first=$?"
    wait $pid2; eval "status_$second=$?"
    [ "$(status "$cli" info race.lgp)" = 0 ] && readable=$((readable + 1))
    for file in a b; do
        eval "code=\$status_$file"
        if [ $file = a ]; then level=$level_a; else level=$level_b; fi
        if [ "$code" = 0 ] && [ "$(has_edit race.lgp $level "Edited $(echo $file | tr ab AB)")" = 1 ]; then
            landed=$((landed + 1))
        elif [ "$code" = 1 ] && grep -q 'race.lgp is being saved by another program' $file.err; then
            refused=$((refused + 1))
        else
            lost=$((lost + 1))
        fi
    done
    round=$((round + 1))
done
echo "$rounds rounds of two imports at once: $readable readable, $landed edits landed, $refused refused, $lost lost"
check "every round leaves a readable archive" "$rounds" "$readable"
check "no edit is lost" 0 "$lost"
check "no temporary file is left" "" "$(temporaries)"

# A lock held by another program for longer than the wait: a clear refusal, nothing written.
# The holder keeps it until held.locked is removed (or a minute has passed).
cp small.lgp held.lgp
flock -x held.lgp sh -c 'touch held.locked; i=0
    while [ -e held.locked ] && [ $i -lt 600 ]; do sleep 0.1; i=$((i + 1)); done' & holder=$!
wait_until test -e held.locked
check "a held archive is refused" "orvenne-cli import: held.lgp is being saved by another program" \
    "$(errors "$cli" import held.lgp a.po)"
check "the held archive is unchanged" same "$(same small.lgp held.lgp)"
rm -f held.locked
wait $holder

# Another program that takes no lock moves its own archive into the archive's place while an
# import edits it: the import refuses to write over it. The import reads its exchange file,
# a FIFO, once the archive is read: the move happens then.
cp small.lgp moved.lgp
"$cli" import small.lgp b.po -o other.lgp >/dev/null
cp other.lgp other-copy.lgp
mkfifo moving.po
"$cli" import moved.lgp moving.po >/dev/null 2>moved.err & importer=$!
timeout 60 sh -c 'exec 3>moving.po && mv other.lgp moved.lgp && cat a.po >&3'
wait $importer
check "an archive moved in during an import is refused" 1 $?
check "the refusal says why" \
    "orvenne-cli import: moved.lgp was replaced or changed by another program since it was read; nothing was written" \
    "$(cat moved.err)"
check "the other program's archive is kept" same "$(same other-copy.lgp moved.lgp)"

# What is not a regular file is refused, not waited for.
mkfifo pipe.lgp
check "a FIFO as the archive" "orvenne-cli import: pipe.lgp is not a regular file" \
    "$(errors timeout 20 "$cli" import pipe.lgp a.po)"
check "a FIFO as the archive to read" "orvenne-cli list: pipe.lgp is not a regular file" \
    "$(errors timeout 20 "$cli" list pipe.lgp)"
check "a FIFO as -o" "orvenne-cli import: pipe.lgp is not a regular file" \
    "$(errors timeout 20 "$cli" import small.lgp a.po -o pipe.lgp)"
check "a FIFO as the sample's output" "orvenne-cli sample: pipe.lgp is not a regular file" \
    "$(errors timeout 20 "$cli" sample pipe.lgp --levels 1)"

# A name of 255 bytes, as long as the file system takes: the temporary name is shorter.
long="$(head -c 251 /dev/zero | tr '\0' n).lgp"
cp small.lgp "$long"
check "an archive with a 255-byte name is saved" 0 "$(status "$cli" import "$long" a.po)"
check "it holds the edit" 1 "$(has_edit "$long" ancnt3 'Edited A')"
rm -f "$long"

# Ctrl-C or SIGTERM during a save ends the program and removes its temporary file. The save
# is stopped once its temporary file is there, and signalled then; should it have ended
# before it was stopped, the round starts again.
"$cli" sample many-copy.lgp --levels 200
interrupted=none
round=0
while [ "$interrupted" = none ] && [ $round -lt 5 ]; do
    cp many-copy.lgp many.lgp
    "$cli" replace many.lgp e E --match-case >/dev/null 2>&1 & saver=$!
    wait_until sh -c '[ -e many.~lgp ] || ! cmp -s many.lgp many-copy.lgp'
    kill -STOP "$saver"
    if [ -e many.~lgp ]; then
        kill -TERM "$saver"
        kill -CONT "$saver"
        wait "$saver"
        interrupted=$?
    else
        kill -CONT "$saver"
        wait "$saver"
    fi
    round=$((round + 1))
done
check "a save ends by SIGTERM" 143 "$interrupted"
check "SIGTERM removes the temporary file" "" "$(temporaries)"
check "the archive is left as it was" same "$(same many-copy.lgp many.lgp)"
rm -f many.lgp many-copy.lgp

# A symbolic link stays a link, and its target gets the edit.
cp small.lgp target.lgp
ln -s target.lgp link.lgp
check "import through a link" 0 "$(status "$cli" import link.lgp a.po)"
check "the link stays a link" target.lgp "$(readlink link.lgp)"
check "the target holds the edit" 1 "$(has_edit target.lgp "$level_a" 'Edited A')"

# Permissions: kept, and a read-only archive refused.
cp small.lgp private.lgp
chmod 600 private.lgp
"$cli" import private.lgp a.po >/dev/null
check "a 0600 archive stays 0600" 600 "$(stat -c %a private.lgp)"
cp small.lgp locked.lgp
chmod 444 locked.lgp
check "a read-only archive is refused" "orvenne-cli import: locked.lgp is read-only" \
    "$(errors "$cli" import locked.lgp a.po)"
check "and left as it was" same "$(same small.lgp locked.lgp)"

# Hard links: refused, unless --break-links.
cp small.lgp linked.lgp
ln linked.lgp other-name.lgp
check "an archive with two names is refused" 1 "$(status "$cli" import linked.lgp a.po)"
check "the refusal says why" 1 "$(errors "$cli" import linked.lgp a.po | grep -c 'has 2 hard links')"
check "--break-links saves" 0 "$(status "$cli" import linked.lgp a.po --break-links)"
check "the other name keeps the old data" same "$(same small.lgp other-name.lgp)"

# Standard output that cannot take the output, and output paths that are no file.
printf 'A\377' > text.bin
check "text decode to a full device" 1 "$(status sh -c "'$cli' text decode < text.bin > /dev/full")"
check "toc to a full device" 1 "$(status sh -c "'$cli' toc small.lgp > /dev/full")"
check "the failure is named" 1 "$("$cli" toc small.lgp 2>&1 >/dev/full | grep -c 'cannot write the standard output')"
check "-o with an empty name" 2 "$(status "$cli" import small.lgp a.po -o '')"
mkdir folder.po
check "a folder as input" "orvenne-cli import: folder.po is a folder" "$(errors "$cli" import small.lgp folder.po)"
check "a folder as output" "orvenne-cli export: folder.po is a folder" "$(errors "$cli" export small.lgp folder.po)"

# A file-size limit: the write fails with an error, the temporary file goes, the old file stays.
"$cli" export small.lgp before.po
cp before.po export.po
cp small.lgp limited.lgp
check "import under a file-size limit" 1 \
    "$(status sh -c "ulimit -f 100; exec '$cli' import limited.lgp a.po")"
check "the archive is left as it was" same "$(same small.lgp limited.lgp)"
check "export under a file-size limit" 1 \
    "$(status sh -c "ulimit -f 1; exec '$cli' export small.lgp export.po")"
check "the previous export is left as it was" same "$(same before.po export.po)"
check "no temporary file is left after the limit" "" "$(temporaries)"

# A level that cannot be parsed: refused, or with --skip-damaged kept and saved byte for byte.
"$cli" extract small.lgp "$level_a" a.lzs --raw
"$cli" extract small.lgp "$level_b" b.bin
head -c 100 b.bin > cut.bin
"$cli" lzs compress cut.bin cut.lzs
build_archive damaged.lgp "$level_a" a.lzs "$level_b" cut.lzs
check "a damaged level refuses the archive" 1 "$(status "$cli" list damaged.lgp)"
check "the refusal names the way on" 1 "$(errors "$cli" info damaged.lgp | grep -c "level $level_b: .*--skip-damaged")"
check "--skip-damaged lists it" \
    "$(printf '1\t%s\t%s\n2\t%s\tdamaged' "$level_a" "$(text_count small.lgp "$level_a")" "$level_b")" \
    "$("$cli" list damaged.lgp --skip-damaged 2>/dev/null | awk -F '\t' 'NR > 1 { print $1 "\t" $2 "\t" $4 }')"
check "and names it on standard error" 1 "$(errors "$cli" list damaged.lgp --skip-damaged | grep -c "level $level_b could not be read")"
"$cli" import damaged.lgp b.po --skip-damaged -o unchanged.lgp 2>/dev/null >/dev/null
check "saved back unchanged, byte for byte" same "$(same damaged.lgp unchanged.lgp)"
check "check of a damaged archive is an error" 2 "$(status "$cli" check damaged.lgp)"
check "export-mod takes the --skip-damaged it suggests" "levels exported: 0" \
    "$("$cli" export-mod damaged.lgp damaged.lgp mod-out --layout direct --skip-damaged 2>/dev/null)"
if "$cli" --help | grep -q ' spellcheck '; then
    printf 'SET UTF-8\n' > tiny.aff
    printf '1\nthe\n' > tiny.dic
    check "spellcheck suggests --skip-damaged" 1 \
        "$(errors "$cli" spellcheck damaged.lgp --dictionary "$work/tiny.dic" | grep -c -- '--skip-damaged')"
    check "and takes it" 0 \
        "$(status env XDG_DATA_HOME="$work/nobody" "$cli" spellcheck damaged.lgp --dictionary "$work/tiny.dic" --skip-damaged)"
fi
"$cli" import damaged.lgp a.po --skip-damaged -o edited.lgp 2>/dev/null >/dev/null
"$cli" extract edited.lgp "$level_b" kept.lzs --raw
check "an edit elsewhere keeps its bytes" same "$(same cut.lzs kept.lzs)"
check "the edit elsewhere is saved" 1 "$(has_edit edited.lgp "$level_a" 'Edited A')"

# A text that starts past the level's first Akao block: empty, and the level is not rebuilt.
# The first level with texts and Akao blocks after them.
found=""
for crossing in $(levels_with small.lgp 1); do
    "$cli" extract small.lgp "$crossing" akao.bin
    base=$(($(u32 akao.bin 6) + 4))
    section=$(u16 akao.bin $((base + 4)))
    [ "$(u16 akao.bin $((base + 6)))" -gt 0 ] || continue
    akao=$(u32 akao.bin $((base + 32 + 8 * $(od -An -tu1 -j $((base + 2)) -N1 akao.bin))))
    if [ "$akao" -gt "$section" ]; then found=$crossing; break; fi
done
check "a level with Akao blocks after its texts" "$crossing" "$found"
first=$(u16 akao.bin $((base + section + 2)))
beyond=$((akao - section + 10))
printf "$(printf '\\%03o\\%03o' $((beyond & 255)) $((beyond >> 8)))" |
    dd of=akao.bin bs=1 seek=$((base + section + first - 2)) conv=notrunc 2>/dev/null
"$cli" lzs compress akao.bin akao.lzs
build_archive crossing.lgp "$crossing" akao.lzs
count=$("$cli" texts crossing.lgp "$crossing" | wc -l | tr -d ' ')
check "the text past the Akao block is empty" '"tagged": ""}' \
    "$("$cli" texts crossing.lgp "$crossing" | tail -n 1 | sed 's/.*"tagged"/"tagged"/')"
po "$crossing:1" 'Edited C' > c.po
check "an edit of that level is refused with the reason" \
    "orvenne-cli import: level $crossing cannot be changed: text $count starts at $beyond in the text section, past its end at $((akao - section))" \
    "$(errors "$cli" import crossing.lgp c.po -o crossed.lgp)"
check "nothing is written" "" "$(ls crossed.lgp 2>/dev/null)"

# Characters that the game's character set lacks: each named, and refused unless replaced.
{ po "$level_a:1" 'Prix: 5 €'; po "$level_b:1" "a$(printf '\302\240')b$(printf '\302\201')c %99999"; } > unknown.po
cp small.lgp kept.lgp
check "unknown characters are refused" 1 "$(status "$cli" import kept.lgp unknown.po)"
check "each is named with its level and text" \
    "orvenne-cli import: unknown.po:3:8: characters that the game cannot show (--replace-unknown writes them as spaces): level $level_a, text 1: \"€\" (U+20AC); level $level_b, text 1: \"$(printf '\302\240')\" (U+00A0); level $level_b, text 1: U+0081; level $level_b, text 1: \"%99999\"" \
    "$(errors "$cli" import kept.lgp unknown.po)"
check "the archive is unchanged" same "$(same small.lgp kept.lgp)"
check "--replace-unknown counts them" "unknown characters replaced: 4" \
    "$("$cli" import kept.lgp unknown.po --replace-unknown | tail -n 1)"

# Names with control bytes and a NUL are printed escaped and whole.
printf 'xyz' > other.bin
build_archive odd.lgp 'ab\000cd' other.bin 'e\033[31mf' other.bin
check "toc escapes names" "$(printf '1\tab\\x00cd\n2\te\\x1B[31mf')" "$("$cli" toc odd.lgp | tail -n +2 | cut -f 1,2)"
check "errors escape names" 'orvenne-cli extract: the archive has no file named x\x01y' \
    "$(errors "$cli" extract odd.lgp "$(printf 'x\001y')" out.bin)"

finish
