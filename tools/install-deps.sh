#!/usr/bin/env bash
# Installs what building, running and testing need, on a Debian machine (as root, or with sudo).
# The product is 32-bit, so Wine comes with its i386 half; the prefixes are made after it.
set -eu
pkgs="cmake make g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686
binutils-mingw-w64-x86-64 googletest wine wine64 wine32:i386 xvfb xauth x11-apps imagemagick
clang libfuzzer-14-dev libclang-rt-14-dev e2fsprogs fonts-wine"
missing=""
for p in $pkgs; do
  dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
if [ -n "$missing" ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  case " $(dpkg --print-foreign-architectures | tr '\n' ' ') " in
    *" i386 "*) ;;
    *) $SUDO dpkg --add-architecture i386 ;;
  esac
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends $missing
fi
# A machine whose kernel runs no 32-bit code gets the emulator that runs the shipped programs
# (as root; elsewhere it only says what it lacks).
bash "$(dirname "$0")/runs-i686.sh" --set-up 2>&1 | sed 's/^/install-deps: /' || true
