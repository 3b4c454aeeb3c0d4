#!/usr/bin/env bash
# Runs a Windows program of either build under Wine with the build tree's prefix: Wine's 32-bit
# loader starts i686 programs itself and hands x86_64 ones to wine64.
# WINEPREFIX and DISPLAY come from the caller (tools/run-tests.sh) when set.
set -u
: "${WINEPREFIX:=$(cd "$(dirname "$0")/.." && pwd)/build/wineprefix}"
export WINEPREFIX
export WINEDEBUG=-all
exec /usr/lib/wine/wine "$@"
