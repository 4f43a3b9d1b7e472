#!/usr/bin/env bash
# Sets the machine up, builds, and runs the calculator on the bundled portal frame.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
./build/src/korvan-calc examples/portal-frame.inp
