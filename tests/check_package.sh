#!/usr/bin/env bash
# Checks the release package: it unpacks to exactly the folder the framework
# expects, its DLL exports exactly the three entry points and imports only
# system DLLs and AsaApi.dll, by MSVC-decorated names (none GCC-decorated),
# it carries no debug sections,
# its PluginInfo.json carries the framework's keys with numbers where numbers
# belong and the version the zip is named after, and its config.json loads in
# the simulator with no warning.
# Usage: check_package.sh ZIP SIMULATOR PLUGIN
set -euo pipefail
zip=$(realpath "$1") sim=$(realpath "$2") plugin=$(realpath "$3")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && cmake -E tar xf "$zip")
expected=$'ArkApi/Plugins/Cradlekeep/Cradlekeep.dll\nArkApi/Plugins/Cradlekeep/PluginInfo.json\nArkApi/Plugins/Cradlekeep/config.json'
found=$(cd "$work" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
if [ "$found" != "$expected" ]; then
  echo "package layout is wrong:"; echo "$found"; exit 1
fi
dll="$work/ArkApi/Plugins/Cradlekeep/Cradlekeep.dll"
objdump=x86_64-w64-mingw32-objdump
debug_sections=$("$objdump" -h "$dll" | awk '$2 ~ /^\.debug_/ {print $2}')
if [ -n "$debug_sections" ]; then
  echo "the packaged DLL carries debug sections ($(stat -c %s "$dll") bytes): $(echo $debug_sections)"; exit 1
fi
echo "packaged DLL: $(stat -c %s "$dll") bytes, no debug sections"
cmake -DOBJDUMP="$objdump" -DMODULE="$dll" -DEXPORTS=Cradlekeep_CaptureForTransfer,Plugin_Init,Plugin_Unload \
  -DALLOWED_IMPORTS=AsaApi.dll -P "$(dirname "$0")/windows/check_pe.cmake"
framework_names=$("$objdump" -p "$dll" | awk '/DLL Name:/ {inside = ($3 == "AsaApi.dll"); next} /^$/ {inside = 0} inside && NF >= 3 && $1 != "vma:" {print $3}')
if [ -z "$framework_names" ] || echo "$framework_names" | grep -q '^_Z'; then
  echo "the packaged DLL's framework imports are not MSVC-decorated names:"; echo "$framework_names"; exit 1
fi
echo "framework imports: $(echo "$framework_names" | wc -l) MSVC-decorated names"
version=$(basename "$zip" | sed -n 's/^Cradlekeep-\([0-9.]*\)-win64\.zip$/\1/p')
if [ -z "$version" ]; then
  echo "the package's name carries no version: $(basename "$zip")"; exit 1
fi
cmake -DFILE="$work/ArkApi/Plugins/Cradlekeep/PluginInfo.json" -DVERSION="$version" \
  -P "$(dirname "$0")/check_plugin_info.cmake"
out=$("$sim" check-config "$work/ArkApi/Plugins/Cradlekeep/config.json" --plugin "$plugin")
echo "$out"
if echo "$out" | grep -q '^warn:\|^error:'; then
  echo "the packaged config.json does not load cleanly"; exit 1
fi
echo "package ok: $(basename "$zip")"
