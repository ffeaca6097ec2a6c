#!/usr/bin/env bash
# Runs every test: the host build, lint (clang-format, clang-tidy), ASan+UBSan, TSan, a short run of each fuzz
# target (clang, libFuzzer), the PowerPC target build under qemu-ppc, the
# cross stage (the aarch64, armhf, s390x and i686 builds under qemu-user), the
# README's examples (readme), the Debian packages (packages) and the
# instruction counts against bench/count/baseline.txt (count).
# Pass preset (or stage) names to run only those.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
kel_require "${KEL_HOST_PACKAGES[@]}" "${KEL_TARGET_PACKAGES[@]}" "${KEL_FUZZ_PACKAGES[@]}" "${KEL_CROSS_PACKAGES[@]}" \
  "${KEL_COUNT_PACKAGES[@]}"

presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(host lint sanitize tsan fuzz ppc count cross readme packages)
cross=(aarch64 armhf s390x i686)
expanded=()
for preset in "${presets[@]}"; do
  if [ "$preset" = cross ]; then expanded+=("${cross[@]}"); else expanded+=("$preset"); fi
done
presets=("${expanded[@]}")
jobs=$(nproc)
for preset in "${presets[@]}"; do
  echo "=== $preset ==="
  if [ "$preset" = lint ]; then
    scripts/lint.sh
    continue
  fi
  if [ "$preset" = readme ]; then tests/readme/run.sh build/readme; continue; fi
  if [ "$preset" = packages ]; then scripts/packages.sh; continue; fi
  if [ "$preset" = count ]; then scripts/count.sh --check; continue; fi
  cmake --preset "$preset"
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done
echo "all presets passed: ${presets[*]}"
