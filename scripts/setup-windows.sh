#!/usr/bin/env bash
# Installs the Debian packages the Windows cross-build and its test run need:
# the mingw-w64 C++ compiler (posix threads), clang 14 and lld 14 for the
# pieces built in MSVC mode (the framework double, the exception guard),
# Wine (64-bit only) and the GoogleTest sources the Windows unit tests are
# built from. Does nothing when all are there already.
set -euo pipefail
exec bash "$(dirname "$0")/install-packages.sh" \
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
  clang-14 lld-14 \
  wine64 wine \
  googletest \
  nlohmann-json3-dev libspdlog-dev libfmt-dev \
  cmake ninja-build
