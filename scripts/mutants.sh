#!/usr/bin/env bash
# Mutation testing of the plugin: does the test suite catch a realistic
# one-line fault in the code a change touched?
#
#   bash scripts/mutants.sh [--count N] [--seed S] [--base REF] [--all-tests]
#                           [--timeout SECONDS] [--list] [FILE...]
#
# FILE...      plugin sources to mutate (under src/); without them, the files
#              of src/ that differ from REF (committed or not).
# --base REF   what the change is measured against (default: main).
# --count N    at most N mutants (default 25), at N lines drawn from the files.
# --seed S     the draw's seed (default 1): the same seed on the same files
#              gives the same mutants.
# --all-tests  run every test of the default preset; by default the long
#              reliability programs (the fault, pair and key-drift sweeps and
#              the soaks, reliability.*) are left out for speed.
# --timeout    each test's own limit in seconds (default 60); a test that
#              hangs counts as a kill.
# --list       print the drawn mutants and stop (no build, no tests).
#
# It builds the default preset (build/default; configured and built from
# scratch on a fresh clone), checks that the tests pass unmutated, then for
# each mutant: writes it into the file, builds incrementally, runs the tests
# (stopping at the first failure), and puts the file back. A file is always
# put back, also when the run is interrupted. A mutant that does not compile
# is not counted. It prints each mutant's fate, the score (killed / counted)
# and every survivor with its file:line and change.
#
# Operators (tools/mutants/mutate.py): a comparison swapped (== and !=), a
# boundary moved (< <= > >=), && and || swapped, a condition negated, an
# early return dropped, a call statement dropped, a constant changed (N to
# N+1, 0 to 1), true and false swapped.
#
# Too slow for CI (one build and one test run per mutant): not part of
# scripts/test.sh. See TESTING.md, "Mutation testing".
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"

count=25 seed=1 base=main all_tests=0 timeout=60 list=0
files=()
while [ $# -gt 0 ]; do
  case "$1" in
    --count) count="$2"; shift 2 ;;
    --seed) seed="$2"; shift 2 ;;
    --base) base="$2"; shift 2 ;;
    --all-tests) all_tests=1; shift ;;
    --timeout) timeout="$2"; shift 2 ;;
    --list) list=1; shift ;;
    -h|--help) sed -n '2,33p' "$0"; exit 0 ;;
    -*) echo "mutants: unknown option $1" >&2; exit 2 ;;
    *) files+=("$1"); shift ;;
  esac
done

if [ ${#files[@]} -eq 0 ]; then
  if ! git rev-parse --verify -q "$base" > /dev/null; then
    echo "mutants: no files named and no '$base' to compare with (use --base REF)" >&2
    exit 2
  fi
  mapfile -t files < <( { git diff --name-only "$(git merge-base "$base" HEAD)" -- src; git diff --name-only -- src; } |
                        sort -u | grep -E '\.(cpp|h)$' || true)
  for i in "${!files[@]}"; do [ -f "${files[$i]}" ] || unset 'files[i]'; done
fi
if [ ${#files[@]} -eq 0 ]; then
  echo "mutants: no plugin source to mutate" >&2
  exit 2
fi
for f in "${files[@]}"; do
  case "$f" in src/*) ;; *) echo "mutants: $f is not a plugin source (src/)" >&2; exit 2 ;; esac
  [ -f "$f" ] || { echo "mutants: no file $f" >&2; exit 2; }
done

work="$(mktemp -d)"
plan="$work/plan.json"
python3 tools/mutants/mutate.py plan --count "$count" --seed "$seed" --out "$plan" "${files[@]}"
total="$(python3 -c 'import json,sys; print(len(json.load(open(sys.argv[1]))))' "$plan")"
echo "mutants: $total mutant(s) drawn with seed $seed from ${#files[@]} file(s): ${files[*]}"
if [ "$list" = 1 ]; then
  python3 tools/mutants/mutate.py show "$plan"
  rm -rf "$work"
  exit 0
fi

# The file being mutated and its original bytes: put back on every way out.
current=""
restore() {
  if [ -n "$current" ]; then
    cp -p "$work/original" "$current"
    touch "$current"  # newer than the mutant's objects: the next build redoes them
    current=""
  fi
}
trap 'restore; rm -rf "$work"' EXIT
trap 'restore; echo "mutants: interrupted; every file is back as it was" >&2; exit 130' INT TERM

build() { nice cmake --build build/default > "$work/build.log" 2>&1; }
exclude=()
scope="every test of the default preset"
if [ "$all_tests" = 0 ]; then
  exclude=(-E '^reliability\.')
  scope="the default preset's tests without the reliability sweeps and soaks (reliability.*)"
fi
run_tests() {
  (cd build/default && nice ctest -j "$(nproc)" --timeout "$timeout" --stop-on-failure "${exclude[@]}" \
     > "$work/test.log" 2>&1)
}

echo "mutants: building the default preset"
if [ ! -f build/default/build.ninja ]; then cmake --preset default > /dev/null; fi
if ! build; then tail -30 "$work/build.log"; echo "mutants: the unmutated build fails" >&2; exit 1; fi
echo "mutants: tests: $scope, ${timeout} s each"
start=$SECONDS
if ! run_tests; then
  grep -E "Failed|\*\*\*" "$work/test.log" | head -20
  echo "mutants: the tests fail without any mutant; nothing to measure" >&2
  exit 1
fi
echo "mutants: unmutated: the tests pass ($((SECONDS - start)) s)"

killed=0 survived=0 unviable=0
: > "$work/survivors"
for ((i = 0; i < total; i++)); do
  file="$(python3 tools/mutants/mutate.py field "$plan" "$i" file)"
  label="$(python3 tools/mutants/mutate.py describe "$plan" "$i")"
  cp -p "$file" "$work/original"
  current="$file"
  python3 tools/mutants/mutate.py apply "$plan" "$i"
  t0=$SECONDS
  if ! build; then
    fate="unviable (does not compile)"
    unviable=$((unviable + 1))
  elif run_tests; then
    fate="SURVIVED"
    survived=$((survived + 1))
    echo "$label" >> "$work/survivors"
  else
    failed="$(grep -m1 -oE '[0-9]+ - [^ ]+ \((Failed|Timeout|SEGFAULT|Subprocess aborted|Exception|Not Run)[^)]*\)' "$work/test.log" || true)"
    fate="killed${failed:+ (first failing: ${failed#* - })}"
    killed=$((killed + 1))
  fi
  restore
  echo "[$((i + 1))/$total] $label: $fate ($((SECONDS - t0)) s)"
done

# The last mutant's objects are stale: bring the build back to the sources.
build || true
counted=$((killed + survived))
echo
if [ "$counted" -gt 0 ]; then
  echo "mutants: score $killed/$counted killed ($((100 * killed / counted)) %), $survived survived, $unviable did not compile (not counted); seed $seed; tests: $scope"
else
  echo "mutants: no mutant compiled; no score"
fi
if [ -s "$work/survivors" ]; then
  echo "survivors:"
  sed 's/^/  /' "$work/survivors"
fi
[ "$survived" -eq 0 ]
