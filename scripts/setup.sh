#!/usr/bin/env bash
# Installs every Debian package the Linux build, its tests and benchmarks
# need; does nothing when all are there already.
set -euo pipefail
exec bash "$(dirname "$0")/install-packages.sh" \
  g++ cmake ninja-build binutils \
  nlohmann-json3-dev libspdlog-dev libfmt-dev \
  googletest libgtest-dev libbenchmark-dev \
  python3
