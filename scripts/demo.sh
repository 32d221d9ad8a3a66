#!/usr/bin/env bash
# The main job: set up, build, and let the simulator play the showcase.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh default > /dev/null
exec build/default/bin/cradlekeep-sim run examples/scenarios/showcase.json "$@"
