#!/usr/bin/env bash
# Builds the release package dist/Cradlekeep-<version>-win64.zip: the folder
# a server admin copies into the server, ArkApi/Plugins/Cradlekeep/ with the
# plugin DLL, its commented config.json and the framework's PluginInfo.json
# (made by the build from the project version, see cmake/Version.cmake), and
# beside them what the admin reads: admin-guide.md (docs/admin-guide.md) and
# CHANGELOG.md.
#
# The DLL in the package carries no debug information. Its symbols go into
# dist/Cradlekeep-<version>-win64-symbols.zip (Cradlekeep.dll.debug, which the
# DLL names in its .gnu_debuglink section), for reading crash dumps; it never
# belongs in the plugin folder.
#
# dist/Cradlekeep-<version>-win64-tools.zip holds the admin's tools in a
# folder of their own: the simulator (cradlekeep-sim.exe with the simulated
# framework and game it loads the plugin into), the packaged DLL and
# config.json, a scenario to play and a README. With it an admin checks a
# config file on the server machine itself.
#
# The lines printed are the symbols', the tools' and, last, the package's path.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-windows.sh
bash scripts/build.sh windows > /dev/null
version=$(sed -n 's/^project(Cradlekeep VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
folder="$stage/ArkApi/Plugins/Cradlekeep"
symbols="$stage/symbols"
mkdir -p "$folder" "$symbols" dist

# The debug link records the symbol file's name and checksum; objcopy looks
# for the file by that name in the current folder.
cp build/windows/bin/Cradlekeep.dll "$symbols/Cradlekeep.dll"
(
  cd "$symbols"
  x86_64-w64-mingw32-objcopy --only-keep-debug Cradlekeep.dll Cradlekeep.dll.debug
  x86_64-w64-mingw32-objcopy --strip-debug --strip-unneeded --add-gnu-debuglink=Cradlekeep.dll.debug \
    Cradlekeep.dll "$folder/Cradlekeep.dll"
)
cp packaging/config.json build/windows/packaging/PluginInfo.json CHANGELOG.md docs/admin-guide.md "$folder/"

tools_name="Cradlekeep-$version-win64-tools"
tools="$stage/$tools_name"
mkdir -p "$tools"
for module in cradlekeep-sim.exe SimFramework.dll AsaApi.dll; do
  x86_64-w64-mingw32-objcopy --strip-debug --strip-unneeded "build/windows/bin/$module" "$tools/$module"
done
cp "$folder/Cradlekeep.dll" packaging/config.json examples/scenarios/showcase.json "$tools/"
sed "s/@VERSION@/$version/" packaging/tools-README.txt > "$tools/README.txt"

symbols_zip="$PWD/dist/Cradlekeep-$version-win64-symbols.zip"
tools_zip="$PWD/dist/$tools_name.zip"
zip="$PWD/dist/Cradlekeep-$version-win64.zip"
rm -f "$zip" "$symbols_zip" "$tools_zip"
(cd "$symbols" && cmake -E tar cf "$symbols_zip" --format=zip Cradlekeep.dll.debug)
(cd "$stage" && cmake -E tar cf "$zip" --format=zip ArkApi)
(cd "$stage" && cmake -E tar cf "$tools_zip" --format=zip "$tools_name")
echo "$symbols_zip"
echo "$tools_zip"
echo "$zip"
