#!/usr/bin/env bash
# Every test: the normal build, then the same tests under AddressSanitizer
# and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

echo "== default build"
bash scripts/build.sh default
ctest --preset default -j2

echo "== sanitizer build"
bash scripts/build.sh sanitize
ctest --preset sanitize -j2
