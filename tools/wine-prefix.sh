#!/usr/bin/env bash
# Makes (or refreshes) a Wine prefix for running the program: a virtual desktop, so that windows
# are shown and hidden at once rather than waiting on an X window manager that Xvfb lacks.
set -u
prefix=$1
export WINEPREFIX=$prefix WINEDEBUG=-all
mkdir -p "$prefix"
if [ ! -f "$prefix/system.reg" ]; then
  /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
fi
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
# The program lists the Start Menu folders of the Windows directory; a fresh prefix has none.
mkdir -p "$prefix/drive_c/windows/Start Menu/Programs"
# Every Windows has its system directory; a prefix that only the 64-bit Wine made (on a machine
# that runs no 32-bit programs) lacks it.
mkdir -p "$prefix/drive_c/windows/system"
exit 0
