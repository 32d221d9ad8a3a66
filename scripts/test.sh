#!/usr/bin/env bash
# Every test: the Linux build's unit, scenario and reliability tests; the
# same again under AddressSanitizer and UndefinedBehaviorSanitizer; the
# Windows build under Wine with the release package and the admin's tools
# (their check-config run under Wine); and a short fuzzing run. Each stage is
# timed, and the times are printed at the end of every run, passed or not.
set -euo pipefail
cd "$(dirname "$0")/.."

stage_names=()
stage_seconds=()
print_stages() {
  local status=$?
  [ ${#stage_names[@]} -eq 0 ] && return
  echo
  printf '%-40s %8s\n' "stage" "seconds"
  local total=0 i
  for i in "${!stage_names[@]}"; do
    printf '%-40s %8d\n' "${stage_names[$i]}" "${stage_seconds[$i]}"
    total=$((total + stage_seconds[i]))
  done
  printf '%-40s %8d\n' "whole run" "$total"
  [ "$status" -eq 0 ] || echo "(the run stopped in the stage after the last one listed)"
}
trap print_stages EXIT

# stage NAME COMMAND...: runs the command and records how long it took.
stage() {
  local name="$1" start=$SECONDS
  shift
  "$@"
  stage_names+=("$name")
  stage_seconds+=($((SECONDS - start)))
}

stage "setup" bash scripts/setup.sh

echo "== default build"
stage "default build" bash scripts/build.sh default
stage "default tests" ctest --preset default -j2

echo "== sanitizer build"
stage "sanitizer build" bash scripts/build.sh sanitize
stage "sanitizer tests" ctest --preset sanitize -j3

echo "== windows build and release package"
stage "windows build and tests (Wine)" bash scripts/test-windows.sh
package_and_check() {
  # package.sh prints the symbols', the tools' and the package's zip, in that order.
  local package_paths
  package_paths=$(bash scripts/package.sh)
  mapfile -t packaged < <(tail -n 3 <<<"$package_paths")
  bash tests/check_package.sh "${packaged[2]}" build/default/bin/cradlekeep-sim build/default/bin/libcradlekeep.so \
    "${packaged[1]}" build/windows/wine-run
}
stage "release package and its checks" package_and_check

if [ -f scripts/fuzz.sh ]; then
  echo "== fuzzing"
  stage "fuzzing" bash scripts/fuzz.sh "${CRADLEKEEP_FUZZ_SECONDS:-15}"
fi
