#!/usr/bin/env bash
# Compiles tests/layout/record_layouts.cpp with clang in MSVC mode
# (x86_64-pc-windows-msvc): clang, as MSVC would, lays out the plugin's
# engine and game records and the simulated game's transcription of the
# released declarations, and any difference fails the compile.
#   check_layouts.sh CLANG SOURCE_DIR
set -euo pipefail
clang="$1"
root="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Freestanding: the two library headers the sdk includes, from clang's own.
mkdir -p "$work/include"
printf '#pragma once\n#include <stddef.h>\nnamespace std { using ::size_t; using ::ptrdiff_t; }\n' \
  > "$work/include/cstddef"
printf '#pragma once\n#include <stdint.h>\nnamespace std { using ::int8_t; using ::uint8_t; using ::int16_t; using ::uint16_t; using ::int32_t; using ::uint32_t; using ::int64_t; using ::uint64_t; using ::uintptr_t; }\n' \
  > "$work/include/cstdint"

"$clang" --target=x86_64-pc-windows-msvc -ffreestanding -std=c++20 -fsyntax-only -isystem "$work/include" \
  -I"$root/sdk" -I"$root" "$root/tests/layout/record_layouts.cpp"
echo "the plugin's records have the game's layout (clang, MSVC mode)"
