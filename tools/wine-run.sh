#!/usr/bin/env bash
# Runs a Windows program of either build under Wine with the build tree's prefix: 64-bit (PE32+)
# programs with wine64, 32-bit ones with Wine's 32-bit loader.
# WINEPREFIX and DISPLAY come from the caller (tools/run-tests.sh) when set.
set -u
: "${WINEPREFIX:=$(cd "$(dirname "$0")/.." && pwd)/build/wineprefix}"
export WINEPREFIX
export WINEDEBUG=-all
# The machine field of the PE header: the header's offset is at 0x3C, the field 4 bytes into it.
pe=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
machine=$( [ -n "$pe" ] && od -An -tx2 -j$((pe + 4)) -N2 "$1" 2>/dev/null | tr -d ' ')
if [ "$machine" = 8664 ]; then
  exec /usr/lib/wine/wine64 "$@"
fi
exec /usr/lib/wine/wine "$@"
