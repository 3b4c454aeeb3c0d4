#!/usr/bin/env bash
# Counts the lines of code in the tree, from `git ls-files`, the same way every time: C++ sources
# and headers, CMake files, shell and Python scripts; blank lines and lines that hold only a
# comment are left out. Three kinds:
#   product  the program's rooms: the code that ships in setup.exe and the programs beside it
#   tools    tools/ and bench/: drivers, test servers, build and run scripts, benchmarks
#   tests    tests/ with its support
# and the test share of all three together.
set -eu
cd "$(dirname "$0")/.."
count() {
  # Reads file names on standard input; prints their lines of code.
  local total=0 n f
  while IFS= read -r f; do
    [ -f "$f" ] || continue
    case "$f" in
      *.cpp|*.h|*.cc) n=$(grep -cvE '^\s*($|//|/\*|\*)' "$f" || true) ;;
      *.sh|*.py|*CMakeLists.txt|*.cmake) n=$(grep -cvE '^\s*($|#)' "$f" || true) ;;
      *) n=0 ;;
    esac
    total=$((total + n))
  done
  echo "$total"
}
files=$(git ls-files)
tests=$(echo "$files" | grep -E '^tests/' | count)
tools=$(echo "$files" | grep -E '^(tools|bench)/' | count)
product=$(echo "$files" | grep -vE '^(tests|tools|bench|docs|res)/' | count)
all=$((product + tools + tests))
echo "product lines $product"
echo "tool lines    $tools"
echo "test lines    $tests"
awk -v t="$tests" -v a="$all" 'BEGIN { printf "test share    %.1f %% of %d lines\n", 100 * t / a, a }'
