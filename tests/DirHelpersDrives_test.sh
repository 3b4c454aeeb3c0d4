#!/usr/bin/env bash
# Volume labels need a drive that has one. Wine gives a drive letter the label written in the
# .windows-label file of its folder, read when the Wine server starts; so this runs the label
# tests of DirHelpers_test in a prefix of its own, with drive a: labelled System (the first
# letter, where the label's case turns from upper to lower).
set -eu
build=$1
src=$2
exe=$build/tests/DirHelpers_test.exe
[ -f "$exe" ] || exe=$build/DirHelpers_test.exe
[ -f "$exe" ] || { echo "DirHelpers_test.exe not found under $build"; exit 1; }

work=$build/DirHelpersDrives
export WINEPREFIX=$work/wineprefix WINEDEBUG=-all
bash "$src/tools/wine-prefix.sh" "$WINEPREFIX"
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT

mkdir -p "$work/volume"
printf 'System\n' >"$work/volume/.windows-label"
ln -sfn "$work/volume" "$WINEPREFIX/dosdevices/a:"
# A running server knows only the drives it started with.
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true

out=$(VELMORA_LABELLED_DRIVE=a /usr/lib/wine/wine64 "$exe" --gtest_brief=1 \
      --gtest_filter='LabelledDrive.*:VolumeLabels.*' 2>&1) && rc=0 || rc=$?
printf '%s\n' "$out"
[ "$rc" -eq 0 ] || exit "$rc"
if printf '%s\n' "$out" | grep -q 'SKIPPED'; then
  echo "the labelled drive was not seen"
  exit 1
fi
