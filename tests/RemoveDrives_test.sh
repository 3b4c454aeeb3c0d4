#!/usr/bin/env bash
# remove.exe started through a second drive letter for the destination's folder, in a Wine prefix
# of this test's own: X: links to C:\vtest_alias, so that the product installed to
# C:\vtest_alias\Alias Dest is also X:\Alias Dest. GetLogicalDrives sees a new link only after
# wineserver -k. Whatever happens, the link and the folder go again.
# Usage: bash tests/RemoveDrives_test.sh BUILD_DIR SRC_DIR
set -u
# The windows of the tests need a display; without one the script runs itself under Xvfb.
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
exe=$build/tests/Unattended_test.exe
[ -f "$exe" ] || { echo "Unattended_test.exe not found under $build"; exit 1; }
root=$build/remove-drives
prefix=$root/prefix
export WINEPREFIX=$prefix WINEDEBUG=-all

cleanup() {
  wineserver -k >/dev/null 2>&1
  rm -f "$prefix/dosdevices/x:"
  rm -rf "$prefix/drive_c/vtest_alias"
}
mkdir -p "$root"
bash "$src/tools/wine-prefix.sh" "$prefix"
trap cleanup EXIT
cleanup  # what a run that was killed may have left

mkdir -p "$prefix/drive_c/vtest_alias"
ln -sfn "$prefix/drive_c/vtest_alias" "$prefix/dosdevices/x:"
wineserver -k >/dev/null 2>&1

# Into a file: Wine's own processes may keep a pipe open after the test has ended.
(cd "$build/tests" && VELMORA_BIN=$build VELMORA_SRC=$src VELMORA_ALIAS_DRIVE=X \
   timeout 600 /usr/lib/wine/wine64 "$exe" --gtest_brief=1 \
   --gtest_filter='UnattendedDrives.*' >"$root/test.log" 2>&1) && rc=0 || rc=$?
grep -v -e ':fixme:' "$root/test.log"
[ "$rc" -eq 0 ] || exit "$rc"
if grep -q 'SKIPPED' "$root/test.log"; then
  echo "the prepared drive was not seen"
  exit 1
fi
