#!/usr/bin/env bash
# Builds what needs no window natively with clang (build/native) and checks it there:
#
#   bash tools/run-native.sh [unit|fuzz|all]      (default all)
#
# unit: the core's and the checker's unit tests under AddressSanitizer and
#       UndefinedBehaviorSanitizer.
# fuzz: each fuzz target for FUZZ_SECONDS seconds (default 60), niced, or until it has run
#       FUZZ_RUNS inputs when that comes first. FUZZ_TARGETS picks some of the targets (default
#       "script check ddetext record"). A target starts from its seeds in tests/corpus/
#       (the checker's from the scripts') and from what earlier runs added in
#       build/native/corpus/<target>/. A finding leaves its input in
#       build/native/findings/<target>/ and fails the run; the log is build/native/fuzz-<target>.log.
# Exits non-zero when the build, a test or a fuzz target fails.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build/native
what=${1:-all}
seconds=${FUZZ_SECONDS:-60}
fuzz_targets=${FUZZ_TARGETS:-script check ddetext record}
runs_limit=${FUZZ_RUNS:+-runs=$FUZZ_RUNS}
case "$what" in unit|fuzz|all) ;; *) echo "usage: $0 [unit|fuzz|all]" >&2; exit 2 ;; esac

exe_of() {
  case $1 in
    script) echo Script_fuzz ;;
    check) echo Check_fuzz ;;
    ddetext) echo DdeText_fuzz ;;
    record) echo Record_fuzz ;;
    *) echo "run-native: no fuzz target $1" >&2; exit 2 ;;
  esac
}
seeds_of() { if [ "$1" = check ]; then echo script; else echo "$1"; fi; }

bash "$top/tools/install-deps.sh"
cmake -S "$top/native" -B "$build" -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=""
[ "$what" != fuzz ] && targets="SetupCore_test setup-check"
if [ "$what" != unit ]; then
  for t in $fuzz_targets; do targets="$targets $(exe_of "$t")"; done
fi
# shellcheck disable=SC2086
cmake --build "$build" -j2 --target $targets

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
if [ "$what" != fuzz ]; then
  (cd "$build" && ctest --output-on-failure)
fi
[ "$what" = unit ] && exit 0

failed=0
for target in $fuzz_targets; do
  corpus=$build/corpus/$target
  findings=$build/findings/$target
  log=$build/fuzz-$target.log
  mkdir -p "$corpus" "$findings"
  echo "run-native: fuzzing $target for $seconds s"
  # shellcheck disable=SC2086
  if nice -n 19 "$build/$(exe_of "$target")" -max_total_time="$seconds" $runs_limit -timeout=10 \
      -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" \
      "$corpus" "$top/tests/corpus/$(seeds_of "$target")" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    cov=$(grep -E '^#[0-9]+' "$log" | tail -n 1 | grep -oE 'cov: [0-9]+ ft: [0-9]+ corp: [0-9]+')
    echo "run-native: $target: $runs executions, $cov, no finding"
  else
    echo "run-native: $target found a fault: input in $findings/, log $log" >&2
    tail -n 40 "$log" >&2
    failed=1
  fi
done
exit "$failed"
