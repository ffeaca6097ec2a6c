#!/usr/bin/env bash
# Builds the library and the kelsoft command alone (no test suites) and runs
# the library's typical request through the command.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
kel_require "${KEL_HOST_PACKAGES[@]}"
cmake -S . -B build/demo \
  -DKEL_BUILD_TESTS=OFF -DKEL_BUILD_EXAMPLES=OFF -DKEL_BUILD_BENCH=OFF >/dev/null
cmake --build build/demo -j "$(nproc)" --target kelsoft-tool
./build/demo/tools/kelsoft/kelsoft
