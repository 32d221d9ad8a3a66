#!/usr/bin/env bash
# Instructions per call of the plugin's game-thread paths, counted by
# callgrind (stable on a busy machine, unlike times). Each path is counted
# inside its measuring function only, for two call counts; the difference
# divided by the difference in calls is the cost of one call.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v valgrind > /dev/null; then
  sudo=""; [ "$(id -u)" != "0" ] && sudo="sudo"
  $sudo apt-get update -qq && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends valgrind
fi
bash scripts/setup.sh
bash scripts/build.sh default > /dev/null
driver=build/default/bin/cradlekeep_instr
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

count() {  # MODE N FUNCTION -> instructions inside FUNCTION
  valgrind --tool=callgrind --callgrind-out-file="$out/cg.out" --toggle-collect="$3*" \
    "$driver" "$1" "$2" > /dev/null 2>&1
  awk '/^summary:/ {print $2}' "$out/cg.out"
}

per_call() {  # MODE FUNCTION SMALL LARGE -> instructions per call
  local a b
  a=$(count "$1" "$3" "$2")
  b=$(count "$1" "$4" "$2")
  awk -v a="$a" -v b="$b" -v n="$3" -v m="$4" 'BEGIN { printf "%.1f", (b - a) / (m - n) }'
}

hooked=$(per_call delegate-hooked MeasureBroadcasts 1000 11000)
unhooked=$(per_call delegate-unhooked MeasureBroadcasts 1000 11000)
loaded=$(per_call tick-loaded MeasureTicks 1000 11000)
unloaded=$(per_call tick-unloaded MeasureTicks 1000 11000)
scan=$(per_call scan MeasureScans 1 3)
walk=$(per_call walk MeasureWalks 1 3)
items=$((70 * 300))

printf '%-48s %12s\n' "path" "instructions"
printf '%-48s %12s\n' "broadcast, delegate hook installed" "$hooked"
printf '%-48s %12s\n' "broadcast, no hook (floor)" "$unhooked"
awk -v h="$hooked" -v u="$unhooked" 'BEGIN { printf "%-48s %12.1f\n", "  added by the delegate hook", h - u }'
printf '%-48s %12s\n' "idle tick, plugin loaded" "$loaded"
printf '%-48s %12s\n' "idle tick, plugin unloaded (floor)" "$unloaded"
awk -v l="$loaded" -v u="$unloaded" 'BEGIN { printf "%-48s %12.1f\n", "  added by the plugin'"'"'s tick callbacks", l - u }'
awk -v s="$scan" -v n="$items" 'BEGIN { printf "%-48s %12.1f\n", "full-server scan, per item scanned", s / n }'
awk -v w="$walk" -v n="$items" 'BEGIN { printf "%-48s %12.1f\n", "walking the items, per item (floor)", w / n }'
