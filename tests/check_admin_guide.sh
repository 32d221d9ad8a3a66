#!/usr/bin/env bash
# Checks that the admin's guide (docs/admin-guide.md) documents every setting
# the release's config.json (packaging/config.json) holds: each must appear in
# the guide as a code span of its own, `Name`, and a setting inside an object
# as `Object.Name` (`Messages.Captured`). Fewer than 10 settings found means
# the file changed shape and the extraction no longer sees it: that fails too.
# Usage: tests/check_admin_guide.sh SOURCE_ROOT
set -euo pipefail
root="${1:?usage: check_admin_guide.sh SOURCE_ROOT}"
config="$root/packaging/config.json"
guide="$root/docs/admin-guide.md"

# One key per line ("Name": ...), outside comments; a key whose value opens
# an object names the settings inside it until the object closes.
mapfile -t settings < <(awk '
  /^[[:space:]]*\/\// { next }
  match($0, /^[[:space:]]*"[A-Za-z][A-Za-z0-9_]*"[[:space:]]*:/) {
    key = $0
    sub(/^[[:space:]]*"/, "", key)
    sub(/".*/, "", key)
    if ($0 ~ /:[[:space:]]*\{[[:space:]]*$/) { prefix = key "."; next }
    print prefix key
    next
  }
  /^[[:space:]]*\}/ { prefix = "" }
' "$config")

if [ "${#settings[@]}" -lt 10 ]; then
  echo "found only ${#settings[@]} settings in $config; has the file changed shape?"
  exit 1
fi
missing=0
for name in "${settings[@]}"; do
  if ! grep -qF -- "\`$name\`" "$guide"; then
    echo "setting not documented in docs/admin-guide.md: $name"
    missing=$((missing + 1))
  fi
done
if [ "$missing" -gt 0 ]; then
  exit 1
fi
echo "${#settings[@]} settings of packaging/config.json documented in docs/admin-guide.md"
