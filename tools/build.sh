#!/usr/bin/env bash
# Builds both targets: build/i686 (the product, setup.exe and remove.exe) and build/x86_64 (what the tests run).
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
cmake -S "$top" -B "$top/build/i686" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DVELMORA_TESTS=OFF >/dev/null
cmake --build "$top/build/i686" -j"$jobs" --target setup remove
cmake -S "$top" -B "$top/build/x86_64" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$top/build/x86_64" -j"$jobs"
