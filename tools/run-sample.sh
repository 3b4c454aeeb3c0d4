#!/usr/bin/env bash
# Installs a sample product with the real installer under Wine.
#
#   bash tools/run-sample.sh [--no-build]
#
# Installs what it needs, builds, lays out build/sample/product (the sample's files, a stand-in
# for its program and the shipped 32-bit setup.exe from dist/) and starts setup.exe there with its
# own Wine prefix, build/sample/wineprefix. The prefix shows Wine's virtual desktop, so that the
# windows have their title bars and frames in the pictures.
# With $DISPLAY set the installer is left to a person. Without, it runs on a display of its own
# (Xvfb) and the driver works it: screenshot of the main window (build/sample/main.png), the
# Select Path dialog with its drive list open (build/sample/select-path.png) and cancelled,
# Install, an answer to the Program Manager message if one comes, screenshot of the finished
# run (build/sample/done.png), Done. Either way it then shows where the files and the two
# records went, with the program group. The group is made by our own program-group server,
# tools/progman.exe, started before the installer (Wine's shell answers "PROGMAN" too; ours
# keeps groups where the shell does and writes down what it received), in
# build/sample/progman.log. Then the installed remove.exe is started in the destination: its
# question (build/sample/remove-ask.png) is answered Yes, its end (build/sample/remove-done.png)
# closed with Done, and what is still there is shown. --no-build uses the build that is there; VELMORA_BUILD names
# another x86_64 build directory than build/x86_64 for the tools (tools/driver.exe and
# tools/progman.exe), VELMORA_DIST another directory of shipped programs than dist/.
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
build=${VELMORA_BUILD:-$top/build/x86_64}
dist=${VELMORA_DIST:-$top/dist}
sample=$top/build/sample
product=$sample/product
# Runs each program with the Wine of its kind: the shipped 32-bit programs, the 64-bit tools.
wine=$top/tools/wine-run.sh
main_caption="The Velmora Installer V1.00"
done_text="Click DONE to exit."

say() { echo "run-sample: $*"; }
die() { echo "run-sample: $*" >&2; exit 1; }

if [ "${1:-}" != "--no-build" ]; then
  bash "$top/tools/install-deps.sh" || die "installing the build tools failed"
  bash "$top/tools/build.sh" || die "the build failed"
fi
# A machine that runs no 32-bit programs installs with the x86_64 build's programs.
if [ -z "${VELMORA_DIST:-}" ] && ! bash "$top/tools/runs-i686.sh"; then
  dist=$build
  say "this machine runs no 32-bit programs: the sample is installed with $dist/setup.exe"
fi
setup=$dist/setup.exe
driver_exe=$build/tools/driver.exe
progman_exe=$build/tools/progman.exe
[ -f "$setup" ] || die "no installer at $setup (build first, without --no-build)"
[ -f "$driver_exe" ] || die "no driver at $driver_exe (build first, without --no-build)"
[ -f "$progman_exe" ] || die "no program-group server at $progman_exe (build first, without --no-build)"

# ---- the sample product
rm -rf "$product"
mkdir -p "$product"
cp "$top"/tools/sample/* "$product"/
# A stand-in for the product's program, compressed-name style as on a disk.
cp "$driver_exe" "$product/SAMPLE.EX_"
if [ -f "$dist/remove.exe" ]; then
  cp "$dist/remove.exe" "$product/REMOVE.EX_"
else
  cp "$driver_exe" "$product/REMOVE.EX_"
fi
cp "$setup" "$product/setup.exe"
line() { sed -n "$(($1 + 1))p" "$product/setup.ini" | tr -d '\r'; }
say "sample product in $product"

# ---- Wine, and a display when there is none
export WINEPREFIX=$sample/wineprefix WINEDEBUG=-all
xvfb_pid=""
setup_pid=""
progman_pid=""
remove_pid=""
cleanup() {
  [ -n "$setup_pid" ] && kill "$setup_pid" 2>/dev/null
  [ -n "$remove_pid" ] && kill "$remove_pid" 2>/dev/null
  [ -n "$progman_pid" ] && kill "$progman_pid" 2>/dev/null
  wineserver -k >/dev/null 2>&1
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  return 0
}
trap cleanup EXIT
trap 'exit 130' INT TERM

headless=0
if [ -z "${DISPLAY:-}" ]; then
  headless=1
  n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  [ -e "/tmp/.X11-unix/X$n" ] || die "Xvfb did not start on display :$n"
  export DISPLAY=":$n"
  say "display $DISPLAY (Xvfb, process $xvfb_pid)"
fi

# A prefix made before the 32-bit Wine was there has no 32-bit half: it is made again.
if [ -f "$WINEPREFIX/system.reg" ] && [ ! -d "$WINEPREFIX/drive_c/windows/syswow64" ]; then
  rm -rf "$WINEPREFIX"
fi
[ -f "$WINEPREFIX/system.reg" ] || say "making the Wine prefix $WINEPREFIX"
# The virtual desktop, and the Start Menu folders that the installer offers as program groups.
bash "$top/tools/wine-prefix.sh" "$WINEPREFIX"
[ -d "$WINEPREFIX/drive_c/windows" ] || die "wineboot failed in $WINEPREFIX"
wineserver -p >/dev/null 2>&1
windir=$WINEPREFIX/drive_c/windows

# A floppy A: and a CD D: labelled VELMORA beside C: and Z:, so that the Select Path dialog lists
# drives of three kinds. Wine takes a drive's kind from the registry and its label from a
# .windows-label file in its root, both read when the server starts.
mkdir -p "$sample/floppy" "$sample/cd"
echo VELMORA > "$sample/cd/.windows-label"
ln -sfn "$sample/floppy" "$WINEPREFIX/dosdevices/a:"
ln -sfn "$sample/cd" "$WINEPREFIX/dosdevices/d:"
printf 'REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Drives]\r\n"a:"="floppy"\r\n"d:"="cdrom"\r\n' \
  >"$sample/drives.reg"
"$wine" regedit /s "Z:${sample//\//\\}\\drives.reg" >/dev/null 2>&1
wineserver -k >/dev/null 2>&1
wineserver -p >/dev/null 2>&1

# What an earlier run left is cleared, so that what is shown at the end is this run's work.
programs=$(find "$WINEPREFIX/drive_c" -maxdepth 1 -iname 'program files' | head -n 1)
sub=$(line 0 | tr '\\' '/')
case "$sub" in
  /?*) find "$programs" -maxdepth 1 -ipath "$programs$sub" -exec rm -rf {} + 2>/dev/null ;;
esac
find "$windir" -maxdepth 1 -iname "$(line 4).ini" -delete
rm -f "$sample"/main.png "$sample"/select-path.png "$sample"/done.png "$sample"/failure.png "$sample"/progman.log \
  "$sample"/remove-ask.png "$sample"/remove-done.png
# The shell keeps program groups in the user's profile, and the installer asks it where.
group_dir="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/$(line 1)"
rm -rf "$group_dir"

drive() { "$wine" "$driver_exe" "$@" | tr -d '\r'; return "${PIPESTATUS[0]}"; }
# A picture of one window with its frame (and as much below it as the third argument asks, for
# an open drop-down list), cut from the screen; of the whole screen when the window is not found.
shot() {
  local crop=()
  if [ -n "${2:-}" ] && geom=$(drive rect "$2" 2>/dev/null); then
    read -r x y w h <<<"$geom"
    crop=(-crop "${w}x$((h + ${3:-0}))+${x}+${y}" +repage)
  fi
  xwd -root -display "$DISPLAY" | convert xwd:- "${crop[@]}" "png:$1" && say "screenshot $1"
}
fail() {
  echo "run-sample: $*" >&2
  if [ "$headless" = 1 ]; then
    shot "$sample/failure.png" >&2
    echo "run-sample: visible windows (process, class, caption):" >&2
    drive windows >&2
  fi
  exit 1
}

# The program-group server makes its log once a client reaches it rather than Wine's shell.
"$wine" "$progman_exe" "Z:${sample//\//\\}\\progman.log" &
progman_pid=$!
for _ in $(seq 600); do [ -f "$sample/progman.log" ] && break; sleep 0.1; done
[ -f "$sample/progman.log" ] || die "the program-group server did not start"
say "program-group server started (process $progman_pid)"

(cd "$product" && exec "$wine" setup.exe) &
setup_pid=$!
say "started setup.exe (process $setup_pid)"

if [ "$headless" = 1 ]; then
  # A fresh prefix takes a while to show its first window.
  drive wait-window "$main_caption" 90000 >/dev/null ||
    fail "the main window \"$main_caption\" did not appear"
  sleep 1  # let the window paint before the picture is taken
  if box=$(drive msgbox Setup 500 2>/dev/null); then fail "the installer reported at start: $box"; fi
  shot "$sample/main.png" "$main_caption"
  say "source: $(drive text "$main_caption" 64 208)"
  say "destination: $(drive text "$main_caption" 64 256)"
  say "start menu folder: $(drive text "$main_caption" 64 296)"

  # The source browse button (left 344, top 200, 25 x 25) opens Select Path; its drive box (left 0,
  # top 128, 169 x 19) is opened for the picture, and Cancel leaves the source as it was.
  drive click "$main_caption" 356 212 || fail "could not press the source browse button"
  drive wait-window "Select Path" 10000 >/dev/null || fail "the Select Path dialog did not appear"
  drive click "Select Path" 84 137 || fail "could not open the drive list"
  sleep 1
  shot "$sample/select-path.png" "Select Path" 84
  drive press "Select Path" Cancel || fail "could not press Cancel in Select Path"
  drive wait-window "$main_caption" 10000 >/dev/null || fail "the main window did not come back"

  # Install: Button2, left 248, top 328, 75 x 25.
  drive click "$main_caption" 285 340 || fail "could not press Install"
  drive wait-window Installing 30000 >/dev/null || fail "the Installing dialog did not appear"
  deadline=$((SECONDS + 180))
  until drive wait-text Installing 8 16 "$done_text" 2000 2>/dev/null; do
    if box=$(drive msgbox Setup 300 2>/dev/null); then
      fail "the installer reported: $box"
    fi
    kill -0 "$setup_pid" 2>/dev/null || fail "setup.exe ended during the installation"
    [ "$SECONDS" -lt "$deadline" ] || fail "the installation did not finish: the label never read \"$done_text\""
  done
  sleep 1
  shot "$sample/done.png" Installing
  # Done: left 336, top 24, 75 x 25.
  drive click Installing 373 36 || fail "could not press Done"
fi

if [ "$headless" = 1 ]; then
  for _ in $(seq 300); do kill -0 "$setup_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$setup_pid" 2>/dev/null && fail "setup.exe did not end after Done"
else
  say "the installer is yours to use; waiting for it to end"
fi
wait "$setup_pid"
rc=$?
setup_pid=""
say "setup.exe ended with exit code $rc"

# ---- where things went
dest=$(find "$programs" -maxdepth 1 -ipath "$programs$sub" 2>/dev/null | head -n 1)
record=$(find "$windir" -maxdepth 1 -iname "$(line 4).ini" | head -n 1)
if [ -n "$dest" ] && [ -d "$dest" ]; then
  say "files in the destination $dest:"
  ls -l "$dest"
  if [ -f "$dest/unin.ini" ]; then
    say "uninstall record $dest/unin.ini:"
    tr -d '\r' <"$dest/unin.ini" | sed 's/^/    /'
  fi
else
  say "no destination directory under $programs (c:\\program files$(line 0))"
fi
if [ -n "$record" ]; then
  say "location record $record:"
  tr -d '\r' <"$record" | sed 's/^/    /'
else
  say "no location record $windir/$(line 4).ini"
fi
if [ -d "$group_dir" ]; then
  say "program group $group_dir:"
  ls -l "$group_dir"
else
  say "no program group $group_dir"
fi
say "the program-group server received (build/sample/progman.log):"
tr -d '\r' <"$sample/progman.log" | tr '\0' '@' | sed 's/^/    /'
[ -n "$dest" ] && [ -f "$dest/unin.ini" ] && [ -n "$record" ] || exit 1
[ -f "$group_dir/$(line 2).lnk" ] && [ -f "$group_dir/$(line 2) Uninstaller.lnk" ] || exit 1

# ---- the uninstaller: the installed remove.exe, started in the destination as its item starts it
[ -f "$dest/remove.exe" ] || die "no remove.exe in $dest"
(cd "$dest" && exec "$wine" remove.exe) &
remove_pid=$!
say "started the installed remove.exe (process $remove_pid)"
if [ "$headless" = 1 ]; then
  drive wait-window Uninstall 30000 >/dev/null || fail "remove.exe did not ask"
  sleep 1
  shot "$sample/remove-ask.png" Uninstall
  say "remove.exe asks: $(drive text Uninstall 20 20)"
  drive press Uninstall Yes || fail "could not answer Yes"
  drive wait-window Removing 30000 >/dev/null || fail "the Removing dialog did not appear"
  deadline=$((SECONDS + 120))
  until drive wait-text Removing 8 10 "$done_text" 2000 2>/dev/null; do
    # Files of the Windows directory are asked about one by one; the sample has none, but a
    # changed script may.
    drive press "Shared File" Yes 300 2>/dev/null && continue
    kill -0 "$remove_pid" 2>/dev/null || fail "remove.exe ended during the removal"
    [ "$SECONDS" -lt "$deadline" ] || fail "the removal did not finish"
  done
  sleep 1
  shot "$sample/remove-done.png" Removing
  # What could not go is listed under the status when there is any (the list at 8, 84).
  left=$(drive items Removing 13 89 2>/dev/null || true)
  [ -n "$left" ] && say "remove.exe left behind:" && echo "$left" | sed 's/^/    /'
  drive press Removing Done || fail "could not press Done"
else
  say "remove.exe is yours to use; waiting for it to end"
fi
wait "$remove_pid"
say "remove.exe ended with exit code $?"
# remove.exe goes last, removed by a copy of it in the temporary folder once it has ended.
for _ in $(seq 300); do [ -d "$dest" ] || break; sleep 0.1; done
gone=1
for thing in "$dest" "$record" "$group_dir"; do
  if [ -e "$thing" ]; then
    say "still there after the removal: $thing"
    gone=0
  fi
done
[ "$gone" = 1 ] && say "the destination, the location record and the program group are gone"
grep -a -q 'DeleteGroup' "$sample/progman.log" && say "the program-group server was asked to delete the group"
[ "$gone" = 1 ] || exit 1
exit 0
