#!/usr/bin/env bash
# Installs what it needs, builds both targets and runs the whole test suite under Wine and Xvfb.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/tools/install-deps.sh"
bash "$top/tools/build.sh"
bash "$top/tests/check-product.sh" "$top/build/i686/setup.exe"

export WINEDEBUG=-all
export WINEPREFIX="$top/build/x86_64/wineprefix"
mkdir -p "$WINEPREFIX"
cd "$top/build/x86_64"
# One display and one Wine server for the whole run; the prefix is made once.
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  bash "'"$top"'/tools/wine-prefix.sh" "$WINEPREFIX"
  wineserver -p >/dev/null 2>&1 || true
  ctest --output-on-failure "$@"; rc=$?
  wineserver -k >/dev/null 2>&1 || true
  exit $rc' ctest "$@"
