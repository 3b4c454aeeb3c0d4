#!/usr/bin/env bash
# The drive and directory list tests on drives of every kind, in a Wine prefix of this test's own:
# a floppy A:, a CD D: labelled CdVol, a hard disk E: labelled System (with two folders whose
# names differ only in case), a network drive F: labelled NetVol, a RAM disk G:, a CD H: whose
# medium is missing, a hard disk I: without label and a network drive J: connected to
# \\server\share. Wine makes a drive of each link in the prefix's dosdevices folder, takes its
# kind from HKLM\Software\Wine\Drives and its label from a .windows-label file in its root, read
# when the server starts; GetLogicalDrives sees a new link only after wineserver -k. A link whose
# target is the relative path unc/SERVER/SHARE is a redirected drive: WNetGetConnectionA answers
# \\SERVER\SHARE for it.
# Usage: bash tests/Drives_test.sh BUILD_DIR SRC_DIR
set -u
# The windows of the tests need a display; without one the script runs itself under Xvfb.
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi
build=$(cd "$1" && pwd)
src=$(cd "$2" && pwd)
root=$build/drives-test
prefix=$root/prefix
media=$root/media
wine=/usr/lib/wine/wine64
export WINEPREFIX=$prefix WINEDEBUG=-all
mkdir -p "$root"
bash "$src/tools/wine-prefix.sh" "$prefix"

letters="a d e f g h i j"
cleanup() {
  for l in $letters; do rm -f "$prefix/dosdevices/$l:"; done
  {
    echo 'REGEDIT4'
    echo '[HKEY_LOCAL_MACHINE\Software\Wine\Drives]'
    for l in $letters; do echo "\"$l:\"=-"; done
  } > "$root/remove.reg"
  "$wine" regedit /s "$(winepath_of "$root/remove.reg")" >/dev/null 2>&1
  wineserver -k >/dev/null 2>&1
  rm -rf "$media" "$prefix/dosdevices/unc"
}
# Wine reaches this machine's files through drive Z:.
winepath_of() { echo "Z:${1//\//\\}"; }

rm -rf "$media"
mkdir -p "$media"/{a,d,e,f,g,i}
mkdir -p "$media/d/MixedCase/InnerDir"
mkdir -p "$media/e/cases/dup" "$media/e/cases/DUP" "$media/e/cases/other"
echo CdVol > "$media/d/.windows-label"
echo System > "$media/e/.windows-label"
echo NetVol > "$media/f/.windows-label"
trap cleanup EXIT

for l in a d e f g i; do ln -sfn "$media/$l" "$prefix/dosdevices/$l:"; done
ln -sfn "$media/h-no-medium" "$prefix/dosdevices/h:"
mkdir -p "$prefix/dosdevices/unc/server/share"
ln -sfn unc/server/share "$prefix/dosdevices/j:"
{
  echo 'REGEDIT4'
  echo '[HKEY_LOCAL_MACHINE\Software\Wine\Drives]'
  for d in a:floppy d:cdrom e:hd f:network g:ramdisk h:cdrom i:hd j:network; do
    echo "\"${d%%:*}:\"=\"${d#*:}\""
  done
} > "$root/add.reg"
wineserver -k >/dev/null 2>&1
"$wine" regedit /s "$(winepath_of "$root/add.reg")" >/dev/null 2>&1
wineserver -k >/dev/null 2>&1

run() {
  local rc=0 exe
  for exe in DriveComboBox_test DirectoryListBox_test; do
    echo "== $exe (prepared drives)"
    (cd "$build/tests" && VELMORA_DRIVES=1 "$wine" "./$exe.exe" --gtest_brief=1) \
      >"$root/$exe.log" 2>&1 || rc=1
    grep -v -e ':fixme:' -e 'FS volume label and serial are not available' "$root/$exe.log"
  done
  return $rc
}

run
