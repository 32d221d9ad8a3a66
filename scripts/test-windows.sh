#!/usr/bin/env bash
# The Windows build and its tests: cross-builds every target with mingw-w64,
# checks what the shipped modules export and import, then runs the unit tests
# and every scenario under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-windows.sh

echo "== windows build"
bash scripts/build.sh windows

# One Wine server serves the whole run, and Wine's own background services
# start once, before the tests, with no tie to the test runner's output. Left
# to themselves, every program would start a server and services of its own
# that outlive it by seconds and keep the runner's output pipe open. The
# prefix and settings match build/windows/wine-run, which the tests run under.
export WINEPREFIX="$PWD/build/windows/wine-prefix"
export WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
stop_wine() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}
mkdir -p "$WINEPREFIX"
stop_wine
trap stop_wine EXIT
wineserver -p
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "== creating the Wine prefix"
fi
wineboot < /dev/null > /dev/null 2>&1

echo "== windows tests (Wine)"
ctest --preset windows -j4 "$@"
