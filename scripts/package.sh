#!/usr/bin/env bash
# Builds the release package dist/Cradlekeep-<version>-win64.zip: the folder
# a server admin copies into the server, ArkApi/Plugins/Cradlekeep/ with the
# plugin DLL, its commented config.json and the framework's PluginInfo.json
# (made by the build from the project version, see cmake/Version.cmake).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-windows.sh
bash scripts/build.sh windows > /dev/null
version=$(sed -n 's/^project(Cradlekeep VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
folder="$stage/ArkApi/Plugins/Cradlekeep"
mkdir -p "$folder" dist
cp build/windows/bin/Cradlekeep.dll packaging/config.json build/windows/packaging/PluginInfo.json "$folder/"
zip="$PWD/dist/Cradlekeep-$version-win64.zip"
rm -f "$zip"
(cd "$stage" && cmake -E tar cf "$zip" --format=zip ArkApi)
echo "$zip"
