#!/usr/bin/env bash
# Measures whether the tests notice faults: applies the one-line faults of tools/mutants.txt to
# the working copy one at a time, rebuilds the tests that cover the faulty line in build trees of
# its own (build/mutate-x86_64, and build/mutate-i686 for the shipped programs), runs them and
# puts the line back. A fault that no test notices "survived"; one whose line no longer stands in
# its file exactly once is "stale" (the table has to follow the code); one that does not compile
# is a "build-error". A fault that cannot matter to anyone carries the reason in the table (a line
# "! why" after its header); it is still tried, and reported "noted" when it survives.
# Usage: bash tools/mutate.sh [--list] [--no-baseline] [FILTER]
#   --list         print the faults and whether each still applies, build and run nothing
#   --no-baseline  skip the first run of the chosen tests on the unchanged tree
#   FILTER         an extended regex; only the faults whose id matches it are tried
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
table=$top/tools/mutants.txt
list=0
baseline=1
filter=.
for a in "$@"; do
  case $a in
    --list) list=1 ;;
    --no-baseline) baseline=0 ;;
    -*) echo "unknown option $a" >&2; exit 2 ;;
    *) filter=$a ;;
  esac
done

# The table, one fault a record: id, file, tests, product, original, replacement, and the reason
# it cannot matter or "-" (tab-separated; the lines keep their text exactly, blanks around aside).
records() {
  python3 - "$table" <<'EOF'
import sys
rec = None
for raw in open(sys.argv[1], encoding="utf-8"):
    line = raw.rstrip("\n")
    if line.startswith("= "):
        rec = line[2:].split()
        if len(rec) != 4:
            sys.exit("bad header: " + line)
        note = "-"
    elif line.startswith("! ") and rec is not None:
        note = line[2:].strip()
    elif line.startswith("- ") and rec is not None and len(rec) == 4:
        rec.append(line[2:].strip())
    elif line.startswith("+ ") and rec is not None and len(rec) == 5:
        rec.append(line[2:].strip())
        rec.append(note)
        print("\t".join(rec))
        rec = None
EOF
}

# Puts the replacement in place of the one line that matches (returns 3 when not exactly one).
apply_fault() {  # file original replacement
  python3 - "$1" "$2" "$3" <<'EOF'
import sys
path, original, replacement = sys.argv[1:4]
with open(path, "rb") as f:
    lines = f.read().decode("latin-1").split("\n")
hits = [i for i, l in enumerate(lines) if l.strip() == original]
if len(hits) != 1:
    sys.exit(3)
i = hits[0]
indent = lines[i][: len(lines[i]) - len(lines[i].lstrip())]
lines[i] = indent + replacement + ("\r" if lines[i].endswith("\r") else "")
with open(path, "wb") as f:
    f.write("\n".join(lines).encode("latin-1"))
EOF
}

count_matches() {  # file original
  python3 - "$1" "$2" <<'EOF'
import sys
try:
    text = open(sys.argv[1], "rb").read().decode("latin-1")
except OSError:
    print(0); sys.exit()
print(sum(1 for l in text.split("\n") if l.strip() == sys.argv[2]))
EOF
}

mapfile -t all < <(records)
chosen=()
for r in "${all[@]}"; do
  IFS=$'\t' read -r id _ <<<"$r"
  [[ $id =~ $filter ]] && chosen+=("$r")
done
[ ${#chosen[@]} -gt 0 ] || { echo "no fault matches $filter"; exit 2; }

if [ $list -eq 1 ]; then
  for r in "${chosen[@]}"; do
    IFS=$'\t' read -r id file tests product _orig _repl note <<<"$r"
    n=$(count_matches "$top/$file" "$_orig")
    state=ok; [ "$n" = 1 ] || state=stale
    [ "$note" = - ] || [ "$state" = stale ] || state=noted
    printf '%-6s %-30s %-32s %s%s\n' "$state" "$id" "$file" "$tests" "$([ "$product" = - ] || echo " (+$product)")"
  done
  exit 0
fi

# The tests' windows need a display, and a display and Wine prefix of this run's own: the run
# starts itself again under Xvfb.
if [ -z "${VELMORA_MUTATE_INNER:-}" ]; then
  export VELMORA_MUTATE_INNER=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi

x64=$top/build/mutate-x86_64
i686=$top/build/mutate-i686
# The faults that only the core's unit tests guard are tried natively: the core needs no window,
# and a native build and run of its tests takes seconds where Wine takes a minute.
native=$top/build/mutate-native
native_only='^SetupCore_test$'
# VELMORA_MUTATE_TREES=suite works in the suite's own trees (build/x86_64 and build/i686, made by
# tools/build.sh) instead of building two more; their programs follow the put-back source at the
# next build.
if [ "${VELMORA_MUTATE_TREES:-}" = suite ]; then
  x64=$top/build/x86_64
  i686=$top/build/i686
fi
# The tree of the shipped programs that the tests start: the i686 one, or on a machine that runs
# no 32-bit programs the x86_64 tree's own setup.exe and remove.exe.
product_tree=$i686
bash "$top/tools/runs-i686.sh" 2>/dev/null || product_tree=$x64
work=$top/build/mutate-work
export WINEDEBUG=-all
export WINEPREFIX=$work/prefix
mkdir -p "$work"
log=$work/log

restore_file=""
child=""
product_dirty=0
cleanup() {
  if [ -n "$child" ]; then kill -- -"$child" 2>/dev/null; wait "$child" 2>/dev/null; child=""; fi
  # The faulty line never outlives the run, however the run ends.
  if [ -n "$restore_file" ]; then
    cp "$work/original" "$top/$restore_file"
    restore_file=""
  fi
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
  # The drive tests make prefixes of their own in the tree they run from.
  for p in "$x64/DirHelpersDrives" "$x64/drives-test"; do
    [ -d "$p" ] || continue
    pfx=$(find "$p" -maxdepth 1 -name '*prefix' | head -n 1)
    [ -n "$pfx" ] && WINEPREFIX=$pfx wineserver -k >/dev/null 2>&1
    rm -rf "$p"
  done
}
trap cleanup EXIT
trap 'echo "interrupted"; exit 130' INT TERM

# Runs a command in a process group of its own, so that an interruption ends all of it.
run_bounded() {  # seconds command...
  local limit=$1
  shift
  setsid timeout -k 10 "$limit" "$@" >>"$log" 2>&1 &
  child=$!
  wait "$child"
  local rc=$?
  child=""
  return $rc
}

configure() {
  [ "$product_tree" = "$x64" ] || [ -f "$i686/CMakeCache.txt" ] || cmake -S "$top" -B "$i686" \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-i686.cmake" -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DVELMORA_TESTS=ON >>"$log" 2>&1 || return 1
  [ -f "$native/CMakeCache.txt" ] || cmake -S "$top/native" -B "$native" -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_FUZZ=OFF >>"$log" 2>&1 || return 1
  [ -f "$x64/CMakeCache.txt" ] || cmake -S "$top" -B "$x64" \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DVELMORA_PRODUCT_DIR="$product_tree" >>"$log" 2>&1 || return 1
}

# The executables behind the tests a regex picks; the shell tests run executables of the same
# tree and build none of their own.
test_targets() {  # regex
  (cd "$x64" && ctest -N -R "$1") | sed -n 's/^ *Test *#[0-9]*: *//p' | while read -r name; do
    [ -f "$top/tests/$name.sh" ] || echo "$name"
  done
}

build_for() {  # regex product
  local targets
  if [ "$1" = "$native_only" ]; then
    run_bounded 1800 nice -n 10 cmake --build "$native" --target SetupCore_test -j2
    return
  fi
  targets=$(test_targets "$1" | tr '\n' ' ')
  [ -n "$targets" ] || return 1
  if [ "$2" != - ]; then
    run_bounded 1800 nice -n 10 cmake --build "$product_tree" --target setup remove -j2 || return 1
  fi
  # shellcheck disable=SC2086
  run_bounded 1800 nice -n 10 cmake --build "$x64" --target $targets driver progman ddepeer holder planted -j2
}

run_tests() {  # regex [seconds for all of them]
  if [ "$1" = "$native_only" ]; then
    run_bounded 420 nice -n 10 ctest --test-dir "$native" -R "$1" --timeout 300 --no-tests=error
    return
  fi
  # The prefix's server is started here, outside the tests: one that a test's program started
  # would hold the test's output open, and ctest would wait for it until the test's time ran out.
  # Its services, too, are started here: those that a test's first program starts hold the
  # test's output in the same way.
  wineserver -p >/dev/null 2>&1 || true
  /usr/lib/wine/wine64 wineboot >/dev/null 2>&1 </dev/null || true
  # ctest's own limit does not reach a test program that Wine started, so the run is bounded
  # from outside as well: a fault that makes a test hang counts as noticed.
  run_bounded "${2:-420}" nice -n 10 ctest --test-dir "$x64" -R "$1" --timeout 300 --no-tests=error
}

: >"$log"
configure || { echo "configuring the build trees failed; see $log"; exit 1; }
bash "$top/tools/wine-prefix.sh" "$WINEPREFIX"

if [ $baseline -eq 1 ]; then
  # One group of plain names: ctest's expressions take no more than ten groups.
  union="^($(for r in "${chosen[@]}"; do IFS=$'\t' read -r _ _ tests _ <<<"$r"; echo "$tests"; done |
    sort -u | while read -r t; do (cd "$x64" && ctest -N -R "$t") | sed -n 's/^ *Test *#[0-9]*: *//p'; done |
    sort -u | paste -sd'|'))\$"
  echo "baseline: building and running the chosen tests on the unchanged tree"
  natives=0
  for r in "${chosen[@]}"; do IFS=$'\t' read -r _ _ tests _ <<<"$r"; [ "$tests" = "$native_only" ] && natives=1; done
  if ! build_for "$union" i686 || ! run_tests "$union" 2400 ||
    { [ $natives -eq 1 ] && ! { build_for "$native_only" - && run_tests "$native_only"; }; }; then
    echo "the unchanged tree fails its own tests (see $log): no fault could be told apart"
    exit 1
  fi
fi

killed=() survived=() noted=() stale=() broken=()
for r in "${chosen[@]}"; do
  IFS=$'\t' read -r id file tests product orig repl note <<<"$r"
  if [ "$(count_matches "$top/$file" "$orig")" != 1 ]; then
    stale+=("$id"); printf '%-11s %-30s %s\n' stale "$id" "$file"; continue
  fi
  # A shipped program built with an earlier fault is built again from the put-back source first.
  if [ $product_dirty -eq 1 ] && [ "$product" = - ]; then
    run_bounded 1800 nice -n 10 cmake --build "$product_tree" --target setup remove -j2
    product_dirty=0
  fi
  cp "$top/$file" "$work/original"
  restore_file=$file
  apply_fault "$top/$file" "$orig" "$repl"
  echo "== $id: $file: $repl" >>"$log"
  [ "$product" != - ] && product_dirty=1
  if ! build_for "$tests" "$product"; then
    result=build-error; broken+=("$id")
  elif run_tests "$tests"; then
    if [ "$note" = - ]; then
      result=survived; survived+=("$id")
    else
      result=noted; noted+=("$id")
    fi
  else
    result=killed; killed+=("$id")
  fi
  cp "$work/original" "$top/$file"
  restore_file=""
  printf '%-11s %-30s %-32s %s\n' "$result" "$id" "$file" "$tests"
done
if [ $product_dirty -eq 1 ]; then
  run_bounded 1800 nice -n 10 cmake --build "$product_tree" --target setup remove -j2
fi

summary="${#chosen[@]} mutants: ${#killed[@]} killed, ${#survived[@]} survived"
[ ${#survived[@]} -gt 0 ] && summary+=" (${survived[*]})"
[ ${#noted[@]} -gt 0 ] && summary+=", ${#noted[@]} noted (${noted[*]})"
[ ${#stale[@]} -gt 0 ] && summary+=", ${#stale[@]} stale (${stale[*]})"
[ ${#broken[@]} -gt 0 ] && summary+=", ${#broken[@]} build-error (${broken[*]})"
echo "$summary"
[ ${#survived[@]} -eq 0 ] && [ ${#stale[@]} -eq 0 ] && [ ${#broken[@]} -eq 0 ]
