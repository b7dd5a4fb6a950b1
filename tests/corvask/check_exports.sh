#!/bin/sh
# Checks that a built corvask library exports _lzs_compress and _lzs_decompress and no other
# symbol. Usage: check_exports.sh so|dll|dll64 LIBRARY (dll: 32-bit Windows, dll64: 64-bit)
set -eu
kind=$1
library=$2
case $kind in
  so)
    exports=$(nm -D --defined-only "$library" | awk '$2 ~ /^[TtDdBbRrWwVvi]$/ { print $3 }' | sort) ;;
  dll|dll64)
    objdump=i686-w64-mingw32-objdump
    [ "$kind" = dll64 ] && objdump=x86_64-w64-mingw32-objdump
    # The export name table lists one "[ordinal] name" line per export.
    exports=$($objdump -p "$library" |
      sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
      sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*//p' | sort) ;;
  *)
    echo "usage: $0 so|dll|dll64 LIBRARY" >&2; exit 2 ;;
esac
expected=$(printf '%s\n' _lzs_compress _lzs_decompress)
if [ "$exports" != "$expected" ]; then
  echo "$library exports:" >&2
  echo "$exports" >&2
  echo "expected exactly _lzs_compress and _lzs_decompress" >&2
  exit 1
fi
echo "$library exports exactly _lzs_compress and _lzs_decompress"
