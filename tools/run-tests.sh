#!/usr/bin/env bash
# Installs what it needs, builds both targets and runs the whole test suite: the tests of both
# Windows builds under Wine and Xvfb (the product's own end-to-end tests start the i686 programs),
# then, on a machine that runs 32-bit programs only through emulation, a small set on the shipped
# i686 programs (tools/run-i686-set.sh), then the native tests of the code that needs no window,
# under the sanitizers, with a bounded run of each fuzz target.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/tools/install-deps.sh"
bash "$top/tools/build.sh"
bash "$top/tests/check-product.sh" "$top/build/i686/setup.exe"
bash "$top/tests/check-product.sh" "$top/build/i686/remove.exe"

export WINEDEBUG=-all
# One prefix for both builds, made after the 32-bit Wine is there so that it has both halves.
export WINEPREFIX="$top/build/wineprefix"
mkdir -p "$WINEPREFIX"
# The i686 build's own tests run where the machine runs 32-bit programs (tools/runs-i686.sh);
# elsewhere they are left out, loudly, and the product's tests start the x86_64 programs.
# Where it runs them only through emulation (a minute for each start), the shipped i686 programs
# get a small set of their own after the x86_64 tests, with the emulation registered for that
# set only, so that this prefix is made, and the tests run, at native speed.
trees="x86_64 i686"
i686_kind=0
bash "$top/tools/runs-i686.sh" || i686_kind=$?
if [ "$i686_kind" -ne 0 ]; then
  trees=x86_64
  echo "== the i686 build's tests are left out: this machine runs no 32-bit programs natively"
  [ "$i686_kind" -eq 2 ] ||
    echo "== the shipped i686 programs are not started at all: this machine cannot emulate them either"
fi
export trees
# One display and one Wine server for the whole run; the prefix is made once.
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  bash "'"$top"'/tools/wine-prefix.sh" "$WINEPREFIX"
  wineserver -p >/dev/null 2>&1 || true
  rc=0
  for tree in $trees; do
    echo "== tests of the $tree build"
    (cd "'"$top"'/build/$tree" && ctest --output-on-failure "$@") || rc=1
  done
  wineserver -k >/dev/null 2>&1 || true
  exit $rc' ctest "$@" || wine_rc=$?
i686_rc=0
if [ "$i686_kind" -eq 2 ] && [ $# -gt 0 ]; then
  echo "== the shipped i686 programs under emulation: left out, as ctest was given a choice of tests"
elif [ "$i686_kind" -eq 2 ]; then
  bash "$top/tools/run-i686-set.sh" || i686_rc=$?
fi
native_rc=0
if [ -f "$top/tools/run-native.sh" ]; then
  bash "$top/tools/run-native.sh" || native_rc=$?
fi
[ "${wine_rc:-0}" -eq 0 ] && [ "$i686_rc" -eq 0 ] && [ "$native_rc" -eq 0 ]
