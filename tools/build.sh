#!/usr/bin/env bash
# Builds both targets from one source: build/i686 (the product: setup.exe with the programs beside
# it, and the tests that link the program's code) and build/x86_64 (the same code as 64-bit, with
# the tests, the test tools and the benchmark). Then lays out what a vendor ships in dist/:
# setup.exe stripped, with its size and what its largest parts weigh.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
# A compiler cache, where the machine has one, lets several checkouts share their objects.
launcher=""
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(dirname "$top")}"
  launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache"
fi
cmake -S "$top" -B "$top/build/i686" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-i686.cmake" \
  -DCMAKE_BUILD_TYPE=MinSizeRel -DVELMORA_TESTS=ON $launcher >/dev/null
cmake --build "$top/build/i686" -j"$jobs"
# The tests that start the shipped programs as processes start the i686 ones; on a machine that
# runs no 32-bit programs they start the x86_64 build's setup.exe and remove.exe instead.
product=$top/build/i686
if ! bash "$top/tools/runs-i686.sh"; then
  product=$top/build/x86_64
  echo "build: the tests will start the x86_64 build's programs in place of the i686 ones"
fi
cmake -S "$top" -B "$top/build/x86_64" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DVELMORA_PRODUCT_DIR="$product" $launcher >/dev/null
cmake --build "$top/build/x86_64" -j"$jobs"
bash "$top/tools/dist.sh"
