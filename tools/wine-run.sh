#!/usr/bin/env bash
# Runs a Windows program of the x86_64 build under Wine with the build tree's prefix.
# WINEPREFIX and DISPLAY come from the caller (tools/run-tests.sh) when set.
set -u
: "${WINEPREFIX:=$(cd "$(dirname "$0")/.." && pwd)/build/wineprefix}"
export WINEPREFIX
export WINEDEBUG=-all
exec /usr/lib/wine/wine64 "$@"
