#!/usr/bin/env bash
# Fuzzes the configuration loader, the debug console command, the admin
# commands and the offsets cache reader with libFuzzer (clang, AddressSanitizer,
# UndefinedBehaviorSanitizer), each target for SECONDS seconds (default 20),
# seeded from fuzz/corpus/. The committed seeds
# stay as they are: each run works on a copy. A crash, a leak, a timeout or a
# broken property keeps its input under build/fuzz/artifacts/TARGET/ and
# makes the script exit non-zero.
#
#   bash scripts/fuzz.sh          # 20 s per target
#   bash scripts/fuzz.sh 600      # a longer run
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"

seconds="${1:-20}"
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: bash scripts/fuzz.sh [SECONDS]" >&2
  exit 2
fi

# Packages: clang 14, its runtime libraries (libFuzzer and the sanitizers)
# and llvm-symbolizer for readable stacks, the build tools and the libraries
# the plugin uses.
bash scripts/install-packages.sh \
  clang-14 libclang-rt-14-dev llvm-14 cmake ninja-build \
  nlohmann-json3-dev libspdlog-dev libfmt-dev

build="$root/build/fuzz"
echo "== fuzz build"
cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 -DCRADLEKEEP_WERROR=ON >/dev/null
cmake --build "$build" -j2

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:strict_string_checks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
symbolizer=/usr/lib/llvm-14/bin/llvm-symbolizer
if [ -x "$symbolizer" ]; then
  export ASAN_SYMBOLIZER_PATH="${ASAN_SYMBOLIZER_PATH:-$symbolizer}"
  export UBSAN_SYMBOLIZER_PATH="${UBSAN_SYMBOLIZER_PATH:-$symbolizer}"
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/cradlekeep-fuzz.XXXXXX")"
trap 'rm -rf "$work"' EXIT

# Runs one fuzz target: program, seed folder under fuzz/corpus, then any
# further libFuzzer options. Its summary line goes to $work/PROGRAM.summary,
# and a failure leaves $work/PROGRAM.failed.
fuzz_target() {
  local program="$1" seeds="$2"
  shift 2
  local corpus="$work/corpus-$seeds"
  local artifacts="$build/artifacts/$program"
  local log="$work/$program.log"
  rm -rf "$artifacts"
  mkdir -p "$artifacts"
  cp -r "fuzz/corpus/$seeds" "$corpus"
  local seed_count
  seed_count=$(find "$corpus" -type f | wc -l)

  echo "== $program: ${seconds}s from $seed_count seeds"
  local status=0
  # The fuzzer runs in the temporary folder, which is its TMPDIR too: whatever
  # it writes there, even when it crashes, goes with it.
  (cd "$work" && TMPDIR="$work" "$build/bin/$program" "$corpus" "$@" -max_total_time="$seconds" -timeout=5 \
      -print_final_stats=1 -artifact_prefix="$artifacts/") >"$log" 2>&1 || status=$?

  final_stat() { sed -n "s/^stat::$1: *//p" "$log" | tail -n 1; }
  local executions per_second new_units last cov ft corpus_count crashes
  executions=$(final_stat number_of_executed_units)
  per_second=$(final_stat average_exec_per_sec)
  new_units=$(final_stat new_units_added)
  # The last status line: "#N DONE cov: C ft: F corp: U/Sb ..."
  last=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  corpus_count=$(find "$corpus" -type f | wc -l)
  crashes=$(find "$artifacts" -type f | wc -l)

  local line="$program: executions ${executions:-?} (${per_second:-?}/s), new coverage ${new_units:-?} units"
  line+=", cov ${cov:-?} ft ${ft:-?}, corpus $seed_count -> $corpus_count files, crashes: $crashes"
  echo "$line"
  echo "$line" > "$work/$program.summary"

  if [ "$status" -ne 0 ] || [ "$crashes" -ne 0 ]; then
    touch "$work/$program.failed"
    echo "-- $program failed (exit $status); the end of its output:"
    tail -n 60 "$log"
    local artifact
    for artifact in "$artifacts"/*; do
      [ -f "$artifact" ] || continue
      echo "-- input kept: ${artifact#"$root"/}"
      od -A x -t x1z -v "$artifact" | head -n 32
      echo "-- to reproduce: build/fuzz/bin/$program ${artifact#"$root"/}"
    done
  fi
}

# Two targets at a time, one per core; each still runs its full time, and
# its output is shown whole once both are done.
in_background() {
  local program="$1"
  fuzz_target "$@" > "$work/$program.out" 2>&1 &
}
show() {
  local program
  for program in "$@"; do cat "$work/$program.out"; done
}
in_background config_fuzzer config -dict="$root/fuzz/config.dict"
in_background debug_command_fuzzer debug
wait
show config_fuzzer debug_command_fuzzer
in_background admin_command_fuzzer admin
in_background offsets_cache_fuzzer offsets_cache
wait
show admin_command_fuzzer offsets_cache_fuzzer

echo "== fuzz totals (${seconds}s per target)"
failed=0
for program in config_fuzzer debug_command_fuzzer admin_command_fuzzer offsets_cache_fuzzer; do
  if [ -f "$work/$program.summary" ]; then cat "$work/$program.summary"; else echo "$program: no summary"; failed=1; fi
  [ -f "$work/$program.failed" ] && failed=1
done
exit "$failed"
