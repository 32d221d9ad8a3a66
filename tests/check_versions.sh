#!/usr/bin/env bash
# Checks that every place a release states its version states the same one,
# VERSION (the project version in CMakeLists.txt), so that an admin who reads
# any of them knows which release runs:
#
#   --sim SIM --plugin PLUGIN --config CONFIG
#       the log's loaded line: SIM check-config CONFIG --plugin PLUGIN must
#       print "Cradlekeep loaded version VERSION" (with --emulator CMD, the
#       simulator runs under CMD, e.g. Wine; an empty CMD runs it as it is)
#   --plugin-info FILE
#       PluginInfo.json's Version: the framework's number for VERSION (the
#       major version, then minor and patch one after the other: 0.8.0 is 0.80)
#   --dll DLL [--windres TOOL]
#       the DLL's Windows version resource, as windres reads it back from the
#       module: FILEVERSION and PRODUCTVERSION MAJOR,MINOR,PATCH,0 and the
#       FileVersion and ProductVersion texts VERSION
#   --zip ZIP (any number)
#       a release zip's name: Cradlekeep-VERSION-win64.zip, or its -tools or
#       -symbols companion
#   --changelog FILE
#       CHANGELOG.md: its newest section (the first "## [X.Y.Z]" heading) is
#       VERSION's
#
# Every check given runs; the script names each that disagrees and exits 1,
# or prints one line listing what agrees.
# Usage: check_versions.sh VERSION [--sim SIM --plugin PLUGIN --config CONFIG
#          [--emulator CMD]] [--plugin-info FILE] [--dll DLL [--windres TOOL]]
#          [--zip ZIP]... [--changelog FILE]
set -euo pipefail
version="${1:?usage: check_versions.sh VERSION [options]}"
shift
if [[ ! "$version" =~ ^([0-9]+)\.([0-9]+)\.([0-9]+)$ ]]; then
  echo "the version '$version' is not MAJOR.MINOR.PATCH"; exit 1
fi
major=${BASH_REMATCH[1]} minor=${BASH_REMATCH[2]} patch=${BASH_REMATCH[3]}

sim="" plugin="" config="" emulator="" plugin_info="" dll="" changelog=""
windres=x86_64-w64-mingw32-windres
zips=()
while [ $# -gt 0 ]; do
  case "$1" in
    --sim) sim="$2" ;;
    --plugin) plugin="$2" ;;
    --config) config="$2" ;;
    --emulator) emulator="$2" ;;
    --plugin-info) plugin_info="$2" ;;
    --dll) dll="$2" ;;
    --windres) windres="$2" ;;
    --zip) zips+=("$2") ;;
    --changelog) changelog="$2" ;;
    *) echo "unknown option: $1"; exit 2 ;;
  esac
  shift 2
done

failures=0
agreed=()
disagree() {
  echo "version mismatch: $*"
  failures=$((failures + 1))
}

# The log's loaded line, from the plugin started on a simulated server with
# the given config.
if [ -n "$sim" ]; then
  status=0
  # shellcheck disable=SC2086 # the emulator is a command with its words
  out=$($emulator "$sim" check-config "$config" --plugin "$plugin" 2>&1 | tr -d '\r') || status=$?
  loaded=$(sed -n 's/^.*Cradlekeep loaded version \(.*\)$/\1/p' <<<"$out")
  if [ "$status" -ne 0 ] || [ -z "$loaded" ]; then
    echo "$out"
    disagree "check-config $(basename "$config") printed no loaded line (exit $status)"
  elif [ "$loaded" != "$version" ]; then
    disagree "the log's loaded line says 'Cradlekeep loaded version $loaded', not $version"
  else
    agreed+=("the loaded line")
  fi
fi

# PluginInfo.json's Version, as written (a JSON number read through a double
# would not give 0.80 back as written).
if [ -n "$plugin_info" ]; then
  number=$(sed -n 's/^[[:space:]]*"Version"[[:space:]]*:[[:space:]]*\([^,[:space:]}]*\).*/\1/p' "$plugin_info")
  if [ "$number" != "$major.$minor$patch" ]; then
    disagree "$(basename "$plugin_info") says Version ${number:-(none)}, not $major.$minor$patch (version $version)"
  else
    agreed+=("PluginInfo.json ($number)")
  fi
fi

# The DLL's version resource, read back from the module by windres.
if [ -n "$dll" ]; then
  resource=$("$windres" --input-format=coff --output-format=rc --input="$dll" 2>&1) || true
  before=$failures
  numbers="$major, $minor, $patch, 0"
  for field in FILEVERSION PRODUCTVERSION; do
    found=$(sed -n "s/^[[:space:]]*$field[[:space:]]\{1,\}\(.*\)$/\1/p" <<<"$resource" | head -n 1)
    if [ "$found" != "$numbers" ]; then
      disagree "$(basename "$dll")'s version resource has $field ${found:-(none)}, not $numbers"
    fi
  done
  for field in FileVersion ProductVersion; do
    found=$(sed -n "s/^[[:space:]]*VALUE \"$field\", \"\(.*\)\"$/\1/p" <<<"$resource" | head -n 1)
    if [ "$found" != "$version" ]; then
      disagree "$(basename "$dll")'s version resource has $field '${found:-(none)}', not $version"
    fi
  done
  if [ "$failures" -eq "$before" ]; then
    agreed+=("$(basename "$dll")'s file and product version")
  fi
fi

# The zips' names.
for zip in "${zips[@]}"; do
  name=$(basename "$zip")
  case "$name" in
    "Cradlekeep-$version-win64.zip" | "Cradlekeep-$version-win64-tools.zip" | "Cradlekeep-$version-win64-symbols.zip")
      agreed+=("$name") ;;
    *) disagree "the zip $name is not named after $version (Cradlekeep-$version-win64[-tools|-symbols].zip)" ;;
  esac
done

# The change log's newest section.
if [ -n "$changelog" ]; then
  newest=$(sed -n 's/^## \[\([^]]*\)\].*/\1/p' "$changelog" | head -n 1)
  if [ "$newest" != "$version" ]; then
    if grep -q "^## \[$version\]" "$changelog"; then
      disagree "$(basename "$changelog")'s newest section is ${newest:-(none)}; the section for $version must come first"
    else
      disagree "$(basename "$changelog") has no section '## [$version]' (its newest is ${newest:-(none)})"
    fi
  else
    agreed+=("$(basename "$changelog")")
  fi
fi

if [ "$failures" -gt 0 ]; then
  exit 1
fi
echo "version $version in: $(printf '%s, ' "${agreed[@]}" | sed 's/, $//')"
