#!/usr/bin/env bash
# The failure tests that need drives of their own, in a Wine prefix of this test's own. T: and U:
# are two letters of one tmpfs of 1 MiB, so a copy pass whose parts each fit their letter fills
# the disk in the middle. GetLogicalDrives sees new links only after wineserver -k. Whatever
# happens, the disk is unmounted and the links removed.
# Usage: bash tests/FailureDrives_test.sh BUILD_DIR SRC_DIR
set -u
# The windows of the tests need a display; without one the script runs itself under Xvfb.
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
exe=$build/tests/Failures_test.exe
[ -f "$exe" ] || { echo "Failures_test.exe not found under $build"; exit 1; }
root=$build/failure-drives
prefix=$root/prefix
full=$root/full
export WINEPREFIX=$prefix WINEDEBUG=-all

cleanup() {
  wineserver -k >/dev/null 2>&1
  mountpoint -q "$full" && umount "$full"
  rm -f "$prefix/dosdevices/t:" "$prefix/dosdevices/u:"
  rm -rf "$full"
}
mkdir -p "$root"
bash "$src/tools/wine-prefix.sh" "$prefix"
trap cleanup EXIT
cleanup  # what a run that was killed may have left

mkdir -p "$full"
mount -t tmpfs -o size=1m tmpfs "$full" || { echo "cannot mount a tmpfs on $full"; exit 1; }
ln -sfn "$full" "$prefix/dosdevices/t:"
ln -sfn "$full" "$prefix/dosdevices/u:"
wineserver -k >/dev/null 2>&1

out=$(cd "$build/tests" && VELMORA_BIN=$build VELMORA_SRC=$src VELMORA_FULL_DRIVES=tu \
      timeout 900 /usr/lib/wine/wine64 "$exe" --gtest_brief=1 \
      --gtest_filter='FailureDrives.*' 2>&1) && rc=0 || rc=$?
printf '%s\n' "$out" | grep -v -e ':fixme:'
[ "$rc" -eq 0 ] || exit "$rc"
if printf '%s\n' "$out" | grep -q 'SKIPPED'; then
  echo "the prepared drives were not seen"
  exit 1
fi
