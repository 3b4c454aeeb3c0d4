#!/usr/bin/env bash
# Builds both targets from one source: build/i686 (the product: setup.exe with the programs beside
# it, and the tests that link the program's code) and build/x86_64 (the same code as 64-bit, with
# the tests, the test tools and the benchmark). Then lays out what a vendor ships in dist/:
# setup.exe stripped, with its size and what its largest parts weigh.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
cmake -S "$top" -B "$top/build/i686" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-i686.cmake" \
  -DCMAKE_BUILD_TYPE=MinSizeRel -DVELMORA_TESTS=ON >/dev/null
cmake --build "$top/build/i686" -j"$jobs"
cmake -S "$top" -B "$top/build/x86_64" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DVELMORA_PRODUCT_DIR="$top/build/i686" >/dev/null
cmake --build "$top/build/x86_64" -j"$jobs"
bash "$top/tools/dist.sh"
