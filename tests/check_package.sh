#!/usr/bin/env bash
# Checks the release package: it unpacks to exactly the folder the framework
# expects, with the admin's guide and the change log beside the plugin's
# files (the very ones of the source tree), its DLL exports exactly the three
# entry points and imports only system DLLs and AsaApi.dll, by MSVC-decorated
# names (none GCC-decorated), it carries no debug sections,
# its PluginInfo.json carries the framework's keys with numbers where numbers
# belong, and its config.json loads in the simulator with no warning. The
# project version (CMakeLists.txt) is the one the zips are named after, the
# zipped PluginInfo.json and the zipped DLL's version resource state, the
# plugin's loaded line says with the zipped config, and the zipped change
# log's newest section is for (tests/check_versions.sh).
#
# With TOOLS_ZIP, it checks the admin's tools too: the zip carries the same
# version, unpacks to exactly its one folder, holds the very DLL and
# config.json of the package, and its modules carry no debug sections and
# import only system DLLs and each other. With WINE (a command that runs a
# Windows program), the zipped simulator then checks the packaged config
# (it loads cleanly), a bad one (refused, the error naming the setting) and
# plays the zipped scenario.
# Usage: check_package.sh ZIP SIMULATOR PLUGIN [TOOLS_ZIP [WINE]]
set -euo pipefail
zip=$(realpath "$1") sim=$(realpath "$2") plugin=$(realpath "$3")
tools_zip="${4:+$(realpath "$4")}" wine="${5:+$(realpath "$5")}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && cmake -E tar xf "$zip")
expected=$(printf 'ArkApi/Plugins/Cradlekeep/%s\n' CHANGELOG.md Cradlekeep.dll PluginInfo.json admin-guide.md config.json |
  LC_ALL=C sort)
found=$(cd "$work" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
if [ "$found" != "$expected" ]; then
  echo "package layout is wrong:"; echo "$found"; exit 1
fi
source_root="$(dirname "$0")/.."
for doc in CHANGELOG.md:CHANGELOG.md admin-guide.md:docs/admin-guide.md; do
  if ! cmp -s "$work/ArkApi/Plugins/Cradlekeep/${doc%%:*}" "$source_root/${doc#*:}"; then
    echo "the package's ${doc%%:*} is not the source tree's ${doc#*:}"; exit 1
  fi
done
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
version=$(sed -n 's/^project(Cradlekeep VERSION \([0-9.]*\).*/\1/p' "$source_root/CMakeLists.txt")
cmake -DFILE="$work/ArkApi/Plugins/Cradlekeep/PluginInfo.json" -P "$(dirname "$0")/check_plugin_info.cmake"
bash "$(dirname "$0")/check_versions.sh" "$version" --zip "$zip" ${tools_zip:+--zip "$tools_zip"} \
  --sim "$sim" --plugin "$plugin" --config "$work/ArkApi/Plugins/Cradlekeep/config.json" \
  --plugin-info "$work/ArkApi/Plugins/Cradlekeep/PluginInfo.json" \
  --dll "$dll" --windres x86_64-w64-mingw32-windres \
  --changelog "$work/ArkApi/Plugins/Cradlekeep/CHANGELOG.md"
out=$("$sim" check-config "$work/ArkApi/Plugins/Cradlekeep/config.json" --plugin "$plugin")
echo "$out"
if echo "$out" | grep -q '^warn:\|^error:'; then
  echo "the packaged config.json does not load cleanly"; exit 1
fi
if [ "$(echo "$out" | grep -c ': resolves (')" -ne 5 ]; then
  echo "not every blueprint path of the packaged config.json resolves in the simulated game"; exit 1
fi
echo "package ok: $(basename "$zip")"
[ -n "$tools_zip" ] || exit 0

# The admin's tools.
tools_name="Cradlekeep-$version-win64-tools"
if [ "$(basename "$tools_zip")" != "$tools_name.zip" ]; then
  echo "the tools zip is not named $tools_name.zip: $(basename "$tools_zip")"; exit 1
fi
mkdir "$work/tools"
(cd "$work/tools" && cmake -E tar xf "$tools_zip")
expected=$(printf "$tools_name/%s\n" AsaApi.dll Cradlekeep.dll README.txt SimFramework.dll config.json \
  cradlekeep-sim.exe showcase.json | LC_ALL=C sort)
found=$(cd "$work/tools" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
if [ "$found" != "$expected" ]; then
  echo "tools layout is wrong:"; echo "$found"; exit 1
fi
tools="$work/tools/$tools_name"
for file in Cradlekeep.dll config.json; do
  if ! cmp -s "$tools/$file" "$work/ArkApi/Plugins/Cradlekeep/$file"; then
    echo "the tools' $file is not the package's"; exit 1
  fi
done
for module in cradlekeep-sim.exe SimFramework.dll AsaApi.dll; do
  debug_sections=$("$objdump" -h "$tools/$module" | awk '$2 ~ /^\.debug_/ {print $2}')
  if [ -n "$debug_sections" ]; then
    echo "the tools' $module carries debug sections"; exit 1
  fi
  cmake -DOBJDUMP="$objdump" -DMODULE="$tools/$module" -DALLOWED_IMPORTS=SimFramework.dll,AsaApi.dll \
    -P "$(dirname "$0")/windows/check_pe.cmake"
done
echo "tools: $(du -b "$tools_zip" | cut -f1) bytes, modules without debug sections, imports within the zip"
[ -n "$wine" ] || exit 0

# The zipped simulator, run as an admin runs it: from its folder.
printf '{\n  "CaptureMode": "Vanilla",\n  "CaptureCooldownSeconds": "sixty"\n}\n' > "$tools/bad.json"
run_tool() { (cd "$tools" && $wine ./cradlekeep-sim.exe "$@" 2>&1 | tr -d '\r'); }
status=0
out=$(run_tool check-config config.json) || status=$?
echo "$out"
if [ "$status" -ne 0 ] || echo "$out" | grep -q '^warn:\|^error:' || ! echo "$out" | grep -qx "info: Cradlekeep loaded version $version"; then
  echo "the zipped check-config did not load the packaged config.json cleanly (exit $status)"; exit 1
fi
status=0
out=$(run_tool check-config bad.json) || status=$?
echo "$out"
if [ "$status" -ne 1 ] ||
   ! echo "$out" | grep -qx "error: Cradlekeep failed to load: setting 'CaptureCooldownSeconds' must be a number, got a string"; then
  echo "the zipped check-config did not refuse a bad config.json naming the setting (exit $status)"; exit 1
fi
status=0
out=$(run_tool run showcase.json --quiet) || status=$?
if [ "$status" -ne 0 ]; then
  echo "$out"; echo "the zipped simulator did not play its scenario (exit $status)"; exit 1
fi
echo "tools ok: $(basename "$tools_zip") (check-config and a scenario under Wine)"
