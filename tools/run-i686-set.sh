#!/usr/bin/env bash
# The shipped i686 programs, started for real on a machine that runs 32-bit programs only through
# emulation (tools/runs-i686.sh says "emulation available"), where every other test starts their
# x86_64 twins:
#
#   bash tools/run-i686-set.sh
#
# In a prefix of its own (build/i686-set/wineprefix, made with its 32-bit side, kept for the
# next run once the set passes) and with the i386 format registered for this run only (in a user
# namespace where the kernel allows one), Wine's shell as the group server:
#   - dist/setup.exe /NOSUCH /VERYSILENT refuses: exit 1, the log says why, nothing is made;
#   - build/i686/setup-check.exe on the sample: exit 0, its plan printed;
#   - dist/setup.exe /VERYSILENT installs the sample (tools/sample): exit 0, the log, the files,
#     both records, the entry in the list of installed programs and the group with both shortcuts;
#   - the installed remove.exe /VERYSILENT takes it all away: exit 0, the log, nothing left.
# Each 32-bit program takes about a minute to start under emulation, so the set is this small.
# Exit 0 when all of it passed; on a failure everything under build/i686-set goes, so the next
# run starts clean. VELMORA_I686_TIMEOUT bounds each program's run (seconds, 600 by default).
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
work=$top/build/i686-set
say() { echo "i686-set: $*"; }

if [ "${1:-}" != --inside ]; then
  start=$SECONDS
  bash "$top/tools/runs-i686.sh"
  kind=$?
  if [ "$kind" -ne 2 ]; then
    say "not run: this machine does not emulate 32-bit programs (tools/runs-i686.sh)" >&2
    exit 1
  fi
  for f in "$top/dist/setup.exe" "$top/dist/remove.exe" "$top/build/i686/setup-check.exe"; do
    [ -f "$f" ] || { say "no $f (bash tools/build.sh makes it)" >&2; exit 1; }
  done
  xvfb-run -a -s "-screen 0 1024x768x24" \
    bash "$top/tools/runs-i686.sh" --emulated bash "$top/tools/run-i686-set.sh" --inside
  rc=$?
  [ "$rc" -eq 0 ] || rm -rf "$work"
  echo "== the shipped i686 programs under emulation: $((SECONDS - start)) s"
  [ "$rc" -eq 0 ] && say "passed" || say "FAILED" >&2
  exit "$rc"
fi

# ---- inside: the i386 format is registered, and a display is there
limit=${VELMORA_I686_TIMEOUT:-600}
export WINEPREFIX=$work/wineprefix WINEDEBUG=-all
# Wine's own progman.exe, which a second connection try may start, is not the server under test.
export WINEDLLOVERRIDES=progman.exe=d
run=$work/run
product=$run/product
dest="$run/dest/Velmora Sample"
bad_dest="$run/refused/Velmora Sample"
helper_pid=""
failed=0
cleanup() {
  [ -n "$helper_pid" ] && kill "$helper_pid" 2>/dev/null
  /usr/lib/wine/wineserver -k >/dev/null 2>&1
  rm -rf "$run"
  return 0
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

check() {  # check WHAT COMMAND...: says what failed, and the set fails
  local what=$1
  shift
  if "$@"; then say "ok: $what"; else say "FAILED: $what" >&2; failed=1; fi
}
logged() { tr -d '\r' 2>/dev/null <"$1" | grep -q -F -- " $2"; }
winpath() { local p=${1//\//\\}; echo "Z:$p"; }
step() { say "$1 ($((SECONDS - t0)) s)"; t0=$SECONDS; }
t0=$SECONDS

# A prefix without the 32-bit side (one made while nothing emulated them) runs no 32-bit program.
if [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
  rm -rf "$WINEPREFIX"
  say "making the prefix $WINEPREFIX with its 32-bit side (emulated: minutes)"
  bash "$top/tools/wine-prefix.sh" "$WINEPREFIX"
  /usr/lib/wine/wineserver -w
  [ -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ] || { say "the prefix has no 32-bit side" >&2; exit 1; }
  step "prefix made"
fi
windir=$WINEPREFIX/drive_c/windows
group_dir="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Velmora Sample"
record=$windir/velsample.ini
key='Microsoft\Windows\CurrentVersion\Uninstall\velsample'
entry() {
  /usr/lib/wine/wine64 reg query "HKLM\\Software\\$key" /v UninstallString >/dev/null 2>&1 ||
    /usr/lib/wine/wine64 reg query "HKLM\\Software\\Wow6432Node\\$key" /v UninstallString >/dev/null 2>&1
}
no_entry() { ! entry; }
# What an earlier, interrupted run may have left in a kept prefix.
rm -rf "$group_dir" "$record" "$run"
mkdir -p "$product" "$(dirname "$dest")" "$(dirname "$bad_dest")"
cp "$top"/tools/sample/* "$product"/
cp "$top/dist/remove.exe" "$product/REMOVE.EX_"
cp "$top/dist/setup.exe" "$product/setup.exe"

# Wine's shell is the group server while a program of its desktop has a window.
/usr/lib/wine/wine64 notepad >/dev/null 2>&1 &
helper_pid=$!
/usr/lib/wine/wineserver -p >/dev/null 2>&1

# The refusal and the checker side by side: each is one emulated start, and neither changes what
# the other looks at. (The installation beside them too was slower on a busy machine: 335 s
# against 167 s and 84 s one after the other.)
(cd "$product" && exec timeout "$limit" /usr/lib/wine/wine setup.exe /NOSUCH /VERYSILENT \
  "/DIR=$(winpath "$bad_dest")" "/LOG=$(winpath "$run/refused.log")") &
refused_pid=$!
(cd "$product" && exec timeout "$limit" /usr/lib/wine/wine "$top/build/i686/setup-check.exe" \
  "$(winpath "$product")") >"$run/check.txt" 2>&1 &
check_pid=$!
wait "$refused_pid"
refused_rc=$?
wait "$check_pid"
check_rc=$?
step "setup.exe /NOSUCH and setup-check.exe ended"
check "setup.exe /NOSUCH exits 1 (it did $refused_rc)" [ "$refused_rc" -eq 1 ]
check "its log tells the unknown switch" logged "$run/refused.log" 'The switch "/NOSUCH" is not known.'
check "its log says nothing was changed" logged "$run/refused.log" 'Exit code 1: nothing was changed'
check "it made no destination" [ ! -e "$bad_dest" ]
check "it made no record" [ ! -e "$record" ]
check "setup-check.exe exits 0 (it did $check_rc)" [ "$check_rc" -eq 0 ]
check "setup-check.exe prints its plan" grep -q 'SAMPLE.EX_ -> .*sample.exe' "$run/check.txt"
check "setup-check.exe finds nothing" grep -q 'setup-check: 0 errors, 0 warnings' "$run/check.txt"
[ "$failed" = 0 ] || { tr -d '\r' <"$run/check.txt" | sed 's/^/    /' >&2; cat 2>/dev/null "$run/refused.log" >&2; }

(cd "$product" && exec timeout "$limit" /usr/lib/wine/wine setup.exe /VERYSILENT \
  "/DIR=$(winpath "$dest")" "/LOG=$(winpath "$run/setup.log")")
setup_rc=$?
step "setup.exe /VERYSILENT ended"
check "setup.exe /VERYSILENT exits 0 (it did $setup_rc)" [ "$setup_rc" -eq 0 ]
check "its log says installed" logged "$run/setup.log" 'Exit code 0: installed'
check "its log has the group's command accepted" logged "$run/setup.log" 'accepted'
for f in sample.exe remove.exe readme.txt LICENSE.TXT unin.ini; do
  check "the destination has $f" [ -f "$dest/$f" ]
done
check "the location record is there" [ -f "$record" ]
check "the entry in the list of installed programs is there" entry
check "the group has the program's shortcut" [ -f "$group_dir/Velmora Sample Suite 1.0.lnk" ]
check "the group has the uninstaller's shortcut" [ -f "$group_dir/Velmora Sample Suite 1.0 Uninstaller.lnk" ]
[ "$failed" = 0 ] || { tr -d '\r' 2>/dev/null <"$run/setup.log" >&2; exit 1; }

(cd "$dest" && exec timeout "$limit" /usr/lib/wine/wine remove.exe /VERYSILENT \
  "/LOG=$(winpath "$run/remove.log")")
remove_rc=$?
# remove.exe goes last, by a copy of it in the temporary folder that starts (emulated) after it.
deadline=$((SECONDS + limit))
while [ -e "$dest" ] && [ "$SECONDS" -lt "$deadline" ]; do sleep 2; done
step "remove.exe /VERYSILENT and its clean-up copy ended"
check "remove.exe /VERYSILENT exits 0 (it did $remove_rc)" [ "$remove_rc" -eq 0 ]
check "its log says all removed" logged "$run/remove.log" 'Exit code 0: all removed'
check "the destination is gone" [ ! -e "$dest" ]
check "the location record is gone" [ ! -e "$record" ]
check "the group is gone" [ ! -e "$group_dir" ]
check "the entry is gone" no_entry
[ "$failed" = 0 ] || { tr -d '\r' 2>/dev/null <"$run/remove.log" >&2; exit 1; }
exit 0
