#!/bin/sh
# Installs the build into a folder of its own and checks the installed files: every one in its
# place, the command line finding the corvask library in the installed library folder, and the
# editor starting without a display.
# Usage: install_test.sh BUILD_FOLDER WORK_FOLDER APPLICATION_ID
set -u
build=$1
work=$2
id=$3
source=$(cd "$(dirname "$0")/../.." && pwd)
. "$source/tests/checks.sh"

check "install" 0 "$(status cmake --install "$build" --prefix "$work/prefix")"
libdir=$(sed -n 's/^CMAKE_INSTALL_LIBDIR:PATH=//p' "$build/CMakeCache.txt")
for file in bin/orvenne bin/orvenne-cli "$libdir/libcorvask.so" \
    "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" \
    "share/icons/hicolor/16x16/apps/$id.png" "share/icons/hicolor/32x32/apps/$id.png" \
    "share/icons/hicolor/48x48/apps/$id.png" "share/icons/hicolor/64x64/apps/$id.png" \
    "share/icons/hicolor/128x128/apps/$id.png" "share/icons/hicolor/256x256/apps/$id.png"; do
    check "installed $file" yes "$([ -f "prefix/$file" ] && echo yes || echo no)"
done
for language in "$source"/resources/lang/*.lng; do
    [ -f "$language" ] || continue
    name=$(basename "$language")
    check "installed $name" 0 "$(status cmp "$language" "prefix/share/orvenne/$name")"
done
check "the library is not beside the programs" no \
    "$([ -e prefix/bin/libcorvask.so ] && echo yes || echo no)"

# A level rebuilt by an import is compressed by the library when it is found, else by the
# fallback compressor, whose streams differ.
cli=prefix/bin/orvenne-cli
check "installed orvenne-cli --help" 0 "$(status "$cli" --help)"
"$cli" sample small.lgp --levels 3
"$cli" export small.lgp texts.po
level=$(awk '/^msgctxt / { gsub(/"/, "", $2); split($2, part, ":"); print part[1]; exit }' texts.po)
awk '!done && /^msgctxt / { found = 1 }
    found && $0 == "msgstr \"\"" { print "msgstr \"Edited\""; found = 0; done = 1; next }
    { print }' texts.po > edited.po
"$cli" import small.lgp edited.po -o with-library.lgp
"$cli" extract with-library.lgp "$level" level.bin
"$cli" lzs compress level.bin library.lzs
"$cli" extract with-library.lgp "$level" stored.lzs --raw
check "the installed library compresses" 0 "$(status cmp stored.lzs library.lzs)"
# The check means something only when no copy of the library is found elsewhere.
if ! /sbin/ldconfig -p | grep -q libcorvask.so; then
    mv "prefix/$libdir/libcorvask.so" away.so
    "$cli" import small.lgp edited.po -o without-library.lgp
    "$cli" extract without-library.lgp "$level" stored.lzs --raw
    check "without it, the fallback compressor does" 1 "$(status cmp stored.lzs library.lzs)"
    mv away.so "prefix/$libdir/libcorvask.so"
fi

# Still running after two seconds: it started and waits for the user.
check "the installed editor starts" 124 \
    "$(QT_QPA_PLATFORM=offscreen timeout 2 prefix/bin/orvenne >/dev/null 2>&1; echo $?)"

finish
