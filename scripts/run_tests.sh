#!/usr/bin/env bash
# Runs every test: sets the machine up and builds when needed, then ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v cmake >/dev/null || ! dpkg-query -W qt6-base-dev >/dev/null 2>&1 ||
   ! dpkg-query -W libgtest-dev >/dev/null 2>&1; then
    bash scripts/setup.sh
fi
bash scripts/build.sh
cd build
ctest --output-on-failure -j"$(nproc)"
