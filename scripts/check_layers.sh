#!/usr/bin/env bash
# Checks that the plugin's folders depend on each other one way only, by
# their #include lines. The layers, bottom first:
#
#   core  <  host  <  journal_files  <  config  <  state  <  journal  <  temporary_pods  <  capture  <  transfer  <  plugin
#
# core stands on the standard library alone (its log facade is written by
# the logger that lives with the framework door, host/framework/plugin_logger.cpp). A
# folder may include its own headers, the framework's sdk (asa/) and
# anything in a layer below it. It
# fails on an include of a layer above (plugin/ included from below is one),
# on any sim/ or tools/ include from src/, and names every offending line.
# Usage: scripts/check_layers.sh [SOURCE_ROOT]
set -euo pipefail
root="${1:-$(dirname "$0")/..}"
cd "$root/src"

layers=(core host/framework host/game host/engine journal_files config state journal temporary_pods capture transfer plugin)
rank() {
  local i
  for i in "${!layers[@]}"; do
    if [ "${layers[$i]}" = "$1" ]; then echo "$i"; return; fi
  done
  echo -1
}

# The layer of a path under src/: its first folder, or its first two under host/.
layer_of() {
  local first="${1%%/*}" rest="${1#*/}"
  if [ "$first" = host ]; then echo "host/${rest%%/*}"; else echo "$first"; fi
}

failures=0
while IFS= read -r line; do
  file="${line%%:*}"
  rest="${line#*:}"
  lineno="${rest%%:*}"
  target="$(sed -E 's/.*#include "([^"]+)".*/\1/' <<<"$rest")"
  [ "${target%%/*}" = "$target" ] && continue  # a header of the same folder by bare name
  from="$(layer_of "$file")"
  to="$(layer_of "$target")"
  case "$to" in
    asa) continue ;;
    sim | tools | tests | bench)
      echo "src/$file:$lineno: src/ may not include $target"
      failures=$((failures + 1))
      continue
      ;;
  esac
  [ "$from" = "$to" ] && continue
  from_rank=$(rank "$from")
  to_rank=$(rank "$to")
  if [ "$from_rank" -lt 0 ] || [ "$to_rank" -lt 0 ]; then
    echo "src/$file:$lineno: $from/ or $to/ is not a known layer"
    failures=$((failures + 1))
  elif [ "$to_rank" -gt "$from_rank" ]; then
    echo "src/$file:$lineno: $from/ may not include $target ($to/ is above it)"
    failures=$((failures + 1))
  fi
done < <(grep -rn --include='*.h' --include='*.cpp' -E '^[[:space:]]*#[[:space:]]*include[[:space:]]+"' . | sed 's#^\./##')

if [ "$failures" -gt 0 ]; then
  echo "check_layers: $failures include(s) against the layering"
  exit 1
fi
echo "check_layers: every include points down"
