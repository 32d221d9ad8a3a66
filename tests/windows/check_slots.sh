#!/usr/bin/env bash
# Checks every virtual slot the Windows binary-interface layer calls
# (src/host/framework/msvc/slots.h, lines "... = <slot>;  // <Class>::<Method>") against clang's
# vtable layout of the framework's declarations in MSVC mode
# (sim/msvc/framework_decls.h): clang, not our reading of MSVC's rules, says
# which slot each method has.
#   check_slots.sh CLANG SOURCE_DIR
set -euo pipefail
clang="$1"
root="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$clang" --target=x86_64-pc-windows-msvc -ffreestanding -fno-exceptions -fno-rtti -std=c++20 \
  -I"$root/sim/msvc" -c "$root/sim/msvc/vtable_dump.cpp" -o "$work/dump.obj" \
  -Xclang -fdump-vtable-layouts > "$work/layouts.txt"

checked=0
failed=0
while read -r class method slot; do
  # The "VFTable indices for '<qualified class>'" paragraph of that class.
  found=$(awk -v cls="$class" -v method="$method" -v slot="$slot" '
    /^VFTable indices for / {
      name = $0; sub(/^VFTable indices for \047/, "", name); sub(/\047.*/, "", name)
      n = split(name, parts, "::"); short = parts[n]; sub(/<.*/, "", short)
      inside = (short == cls); next
    }
    /^$/ { inside = 0 }
    inside {
      split($0, cells, "|"); index_text = cells[1]; gsub(/ /, "", index_text)
      if (index_text == slot && index($0, "::" method "(") > 0) { print "yes"; exit }
    }' "$work/layouts.txt")
  checked=$((checked + 1))
  if [ "$found" != "yes" ]; then
    echo "slot mismatch: $class::$method is not in slot $slot of clang's MSVC vtable"
    grep -A20 "VFTable indices for .*$class" "$work/layouts.txt" | head -n 24 || true
    failed=$((failed + 1))
  fi
done < <(sed -n 's|^inline constexpr int k[A-Za-z]* = \([0-9]*\); *// \([A-Za-z_]*\)::\([A-Za-z_]*\)$|\2 \3 \1|p' \
           "$root/src/host/framework/msvc/slots.h")

if [ "$checked" -eq 0 ]; then
  echo "no slot read from slots.h"
  exit 1
fi
echo "$checked slots checked against clang's MSVC vtable layouts, $failed wrong"
[ "$failed" -eq 0 ]
