#!/usr/bin/env bash
# Checks that docs/scenarios.md documents every action a scenario step may
# name, every key `expect` may hold and every top-level key of the report.
# The names are taken from the two tables that declare them, kActions in
# tools/sim/actions.cpp and kExpectations in tools/sim/expectations.cpp (the
# quoted name that opens each table entry, {"name", ...}), and from the
# report's assignments in tools/sim/report.cpp and tools/sim/runner.cpp
# (report["name"] = ...). Each must appear in the document as a code span of
# its own (`name`). Fewer than 10 actions, 5 expectation keys or 10 report
# keys means the sources changed shape and the extraction no longer sees
# them: that fails too.
# Usage: tests/check_scenario_docs.sh SOURCE_ROOT
set -euo pipefail
root="${1:?usage: check_scenario_docs.sh SOURCE_ROOT}"
doc="$root/docs/scenarios.md"
actions_src="$root/tools/sim/actions.cpp"
expectations_src="$root/tools/sim/expectations.cpp"
report_srcs=("$root/tools/sim/report.cpp" "$root/tools/sim/runner.cpp")

for file in "$doc" "$actions_src" "$expectations_src" "${report_srcs[@]}"; do
  if [ ! -f "$file" ]; then
    echo "missing file: $file"
    exit 1
  fi
done

# The names of the entries of the table declared as `<type> <table>[] = {`,
# up to the line that closes it (`};`), in table order.
table_names() {
  local file="$1" table="$2"
  awk -v table="$table" '
    $0 ~ "[[:space:]]" table "\\[\\][[:space:]]*=[[:space:]]*\\{" { inside = 1; next }
    inside && /^[[:space:]]*};/ { exit }
    inside { print }
  ' "$file" |
    grep -oE '\{[[:space:]]*"[A-Za-z][A-Za-z0-9_]*"[[:space:]]*,' |
    sed -E 's/^\{[[:space:]]*"([^"]*)".*/\1/' || true
}

mapfile -t actions < <(table_names "$actions_src" kActions)
mapfile -t expectations < <(table_names "$expectations_src" kExpectations)
mapfile -t report_keys < <(grep -ohE 'report\["[A-Za-z][A-Za-z0-9_]*"\][[:space:]]*=' "${report_srcs[@]}" |
  sed -E 's/^report\["([^"]*)".*/\1/' | sort -u || true)

if [ "${#actions[@]}" -lt 10 ]; then
  echo "found only ${#actions[@]} action names in kActions of $actions_src; has the table changed shape?"
  exit 1
fi
if [ "${#expectations[@]}" -lt 5 ]; then
  echo "found only ${#expectations[@]} expectation keys in kExpectations of $expectations_src; has the table changed shape?"
  exit 1
fi
if [ "${#report_keys[@]}" -lt 10 ]; then
  echo "found only ${#report_keys[@]} report keys in ${report_srcs[*]}; have the assignments changed shape?"
  exit 1
fi

missing=0
check() {
  local kind="$1" name="$2"
  if ! grep -qF -- "\`$name\`" "$doc"; then
    echo "$kind not documented in docs/scenarios.md: $name"
    missing=$((missing + 1))
  fi
}
for name in "${actions[@]}"; do check "action" "$name"; done
for name in "${expectations[@]}"; do check "expectation key" "$name"; done
for name in "${report_keys[@]}"; do check "report key" "$name"; done

if [ "$missing" -gt 0 ]; then
  exit 1
fi
echo "${#actions[@]} actions, ${#expectations[@]} expectation keys and ${#report_keys[@]} report keys documented"
