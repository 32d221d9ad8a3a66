#!/usr/bin/env bash
# Installs the Debian packages the Windows cross-build and its test run need:
# the mingw-w64 C++ compiler (posix threads), Wine (64-bit only) and the
# GoogleTest sources the Windows unit tests are built from. Does nothing when
# all are there already.
set -euo pipefail

packages=(
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine64 wine
  googletest
  nlohmann-json3-dev libspdlog-dev libfmt-dev
  cmake ninja-build
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
echo "setup-windows: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
