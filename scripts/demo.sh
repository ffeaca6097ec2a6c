#!/usr/bin/env bash
# Builds everything for the host and runs the library's typical request
# through the kelsoft command.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
kel_require "${KEL_HOST_PACKAGES[@]}"
cmake --preset host
cmake --build --preset host -j "$(nproc)"
./build/host/tools/kelsoft/kelsoft
