#!/usr/bin/env bash
# Checks that the table of game keys and parts (src/host/game/parts.cpp)
# names every member of the game catalogue (src/host/game/catalogue.h) exactly once:
# the table is the list of keys start-up checks against the game build, so a
# member missing from it could be asked for although the build lacks it.
# Usage: scripts/check_key_table.sh [SOURCE_ROOT]
set -euo pipefail
root="${1:-$(dirname "$0")/..}"
catalogue="$root/src/host/game/catalogue.h"
table="$root/src/host/game/parts.cpp"

# A member is a name k... directly followed by its key in braces (on the
# same line or the next); parameter places, k...{number}, are no keys.
members=$(grep -oE '\bk[A-Z][A-Za-z0-9]*\{("|$)' "$catalogue" | sed 's/{.*//' | sort)
count=$(echo "$members" | grep -c . || true)
if [ "$count" -lt 50 ]; then
  echo "found only $count catalogue members in $catalogue: the declarations changed shape"
  exit 1
fi
failures=0
for member in $members; do
  n=$(grep -c "Need(game::$member," "$table" || true)
  if [ "$n" -ne 1 ]; then
    echo "src/host/game/parts.cpp names game::$member $n time(s), not once"
    failures=$((failures + 1))
  fi
done
rows=$(grep -c 'Need(game::k' "$table" || true)
if [ "$rows" -ne "$count" ]; then
  echo "the table has $rows rows for $count catalogue members"
  failures=$((failures + 1))
fi
[ "$failures" -eq 0 ] || exit 1
echo "$count catalogue members, each once in the table of keys and parts"
