#!/usr/bin/env bash
# Installs the named Debian packages that are not installed yet (without
# recommends); does nothing when all are there. Usage: install-packages.sh PACKAGE...
set -euo pipefail

missing=()
for package in "$@"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" != "0" ]; then
  sudo="sudo"
fi
echo "installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
