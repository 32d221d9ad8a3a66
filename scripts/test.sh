#!/usr/bin/env bash
# Every test: the Linux build's unit, scenario and reliability tests; the
# same again under AddressSanitizer and UndefinedBehaviorSanitizer; the
# Windows build under Wine with the release package and the admin's tools
# (their check-config run under Wine); and a short fuzzing run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

echo "== default build"
bash scripts/build.sh default
ctest --preset default -j2

echo "== sanitizer build"
bash scripts/build.sh sanitize
ctest --preset sanitize -j2

echo "== windows build and release package"
bash scripts/test-windows.sh
# package.sh prints the symbols', the tools' and the package's zip, in that order.
package_paths=$(bash scripts/package.sh)
mapfile -t packaged < <(tail -n 3 <<<"$package_paths")
bash tests/check_package.sh "${packaged[2]}" build/default/bin/cradlekeep-sim build/default/bin/libcradlekeep.so \
  "${packaged[1]}" build/windows/wine-run

if [ -f scripts/fuzz.sh ]; then
  echo "== fuzzing"
  bash scripts/fuzz.sh "${CRADLEKEEP_FUZZ_SECONDS:-15}"
fi
