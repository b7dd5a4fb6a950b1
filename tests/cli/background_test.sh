#!/bin/sh
# End-to-end checks of orvenne-cli background (built with Qt only): on an archive laid out
# here byte by byte, whose levels hold a background of one tile, one cut short and one of
# width 0; and on a small demo archive, whose pictures must have the size their
# background sections give.
# Usage: background_test.sh ORVENNE_CLI WORK_FOLDER
set -u
cli=$1
work=$2
. "$(dirname "$0")/../checks.sh"
# WIDTHxHEIGHT, bit depth and colour type (2: RGB) from a PNG's header.
png_header() { od -An -tu1 -j16 -N10 "$1" | awk '{ printf "%dx%d %d %d", $3 * 256 + $4, $7 * 256 + $8, $9, $10 }'; }
# Little-endian values at a position of a file.
u16() { od -An -tu2 -j"$2" -N2 --endian=little "$1" | tr -d ' '; }
i32() { od -An -td4 -j"$2" -N4 --endian=little "$1" | tr -d ' '; }

if ! "$cli" --help | grep -q ' background '; then
    echo "orvenne-cli was built without Qt: nothing to check"
    exit 0
fi

le16() { printf "$(printf '\\%03o\\%03o' $(($1 & 255)) $(($1 >> 8 & 255)))"; }
le32() { le16 $(($1 & 65535)); le16 $(($1 >> 16 & 65535)); }
zeros() { head -c "$1" /dev/zero; }

# A field file: the palette section at 42, the background section at 570 (its base at 574),
# a picture 16 high with one tile of layer 1 at the top left, whose indices are 1 in page 0's
# first 16 columns; palette 0 maps index 1 to 0x001F.
field_file() {  # field_file WIDTH
    zeros 18; le32 42; zeros 16; le32 570
    le32 524; zeros 12; le16 0; le16 31; zeros 508
    le32 0; zeros 40; le16 "$1"; le16 16; le16 1; zeros 4
    zeros 2; le16 $((65536 - 16)); le16 $((65536 - 8)); zeros 46
    zeros 7; le16 0; zeros 18
    zeros 17
    row=0
    while [ $row -lt 16 ]; do
        head -c 16 /dev/zero | tr '\000' '\001'; zeros 240
        row=$((row + 1))
    done
}
name20() { printf '%s' "$1"; head -c $((20 - ${#1})) /dev/zero; }
# An archive of the files given as NAME FILE pairs, each LZS-compressed.
archive() {  # archive OUTPUT NAME FILE [NAME FILE]...
    output=$1
    shift
    offset=$((16 + 27 * $# / 2))
    names=""
    {
        zeros 2; printf 'SQUARESOFT'; le32 $(($# / 2))
        while [ $# -gt 0 ]; do
            "$cli" lzs compress "$2" "$1.lzs"
            name20 "$1"; le32 "$offset"; printf '\016\000\000'
            offset=$((offset + 24 + $(wc -c < "$1.lzs")))
            names="$names $1"
            shift 2
        done
        for name in $names; do
            name20 "$name"; le32 "$(wc -c < "$name.lzs")"; cat "$name.lzs"
        done
        printf 'FINAL FANTASY7'
    } > "$output"
}

field_file 32 > shown.bin
field_file 0 > empty.bin
head -c 600 shown.bin > cut.bin
archive tiny.lgp md1_1 shown.bin md1stin cut.bin nrthmk empty.bin

check "background exit" 0 "$(status "$cli" background tiny.lgp md1_1 shown.png)"
check "its own size, 24 bits" "32x16 8 2" "$(png_header shown.png)"
check "fitted into 10x10" 0 "$(status "$cli" background tiny.lgp md1_1 fit.png --fit 10x10)"
check "fitted size" "10x5 8 2" "$(png_header fit.png)"

check "not a level name" 2 "$(status "$cli" background tiny.lgp maplist bad.png)"
check "fit of 0" 2 "$(status "$cli" background tiny.lgp md1_1 bad.png --fit 0x10)"
check "fit beyond 4096" 2 "$(status "$cli" background tiny.lgp md1_1 bad.png --fit 10x4097)"
check "fit without a value" 2 "$(status "$cli" background tiny.lgp md1_1 bad.png --fit)"
check "missing output" 2 "$(status "$cli" background tiny.lgp md1_1)"
check "a level the archive lacks" 1 "$(status "$cli" background tiny.lgp ancnt1 bad.png)"
check "a field file cut short" \
    "orvenne-cli background: cannot draw the background of md1stin: the field file has no room for the background's size (6 bytes at position 614 of a 600-byte file)" \
    "$("$cli" background tiny.lgp md1stin bad.png 2>&1)"
check "a background of width 0" 1 "$(status "$cli" background tiny.lgp nrthmk bad.png)"
check "nothing written for errors" "" "$(ls bad.png 2>/dev/null)"
check "an unwritable output" 1 "$(status "$cli" background tiny.lgp md1_1 no/such/folder.png)"

# A demo archive: every level's picture has the size of its background section.
"$cli" sample small.lgp --levels 5 --seed 8
sizes=""
expected=""
for level in $("$cli" list small.lgp --only-levels | awk -F '\t' 'NR > 1 { print $2 }'); do
    "$cli" extract small.lgp "$level" "$level.bin"
    base=$(($(i32 "$level.bin" 38) + 4))
    expected="$expected $(u16 "$level.bin" $((base + 40)))x$(u16 "$level.bin" $((base + 42)))"
    "$cli" background small.lgp "$level" "$level.png"
    sizes="$sizes $(png_header "$level.png" | cut -d ' ' -f 1)"
done
check "demo pictures in their sections' sizes" "$expected" "$sizes"
check "five demo pictures" 5 "$(echo $sizes | wc -w | tr -d ' ')"

# The picture is written as every output is: a failed write leaves the previous file whole,
# and what must not be replaced is refused, not waited for or written through.
first=$("$cli" list small.lgp --only-levels | awk -F '\t' 'NR == 2 { print $2 }')
cp "$first.png" previous.png
check "a write past a file-size limit fails" 1 \
    "$(status sh -c "ulimit -f 1; exec '$cli' background small.lgp $first $first.png")"
check "and leaves the previous picture" 0 "$(status cmp -s previous.png "$first.png")"
check "and no temporary file" "" "$(ls ./*.~* 2>/dev/null)"
mkfifo pipe.png
check "a FIFO is refused" "orvenne-cli background: pipe.png is not a regular file" \
    "$(timeout 20 "$cli" background small.lgp "$first" pipe.png 2>&1)"
cp previous.png read-only.png
chmod 444 read-only.png
check "a read-only picture is refused" "orvenne-cli background: read-only.png is read-only" \
    "$("$cli" background small.lgp "$first" read-only.png 2>&1)"
ln previous.png linked.png
check "a picture with two names is refused" 1 "$(status "$cli" background small.lgp "$first" linked.png)"
check "an empty output name is a usage error" "orvenne-cli background: an argument is empty" \
    "$("$cli" background small.lgp "$first" '' 2>&1 | head -n 1)"
check "and nothing else is said" 2 "$("$cli" background small.lgp "$first" '' 2>&1 | wc -l | tr -d ' ')"
check "the archive as output is refused" 2 "$(status "$cli" background small.lgp "$first" small.lgp)"

finish
