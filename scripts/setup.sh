#!/usr/bin/env bash
# Installs every Debian package the project needs; does nothing when all are
# there already.
set -euo pipefail

packages=(
  g++ cmake ninja-build binutils
  nlohmann-json3-dev libspdlog-dev libfmt-dev
  googletest libgtest-dev libbenchmark-dev
)

missing=()
for package in "${packages[@]}"; do
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
echo "setup: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
