#!/usr/bin/env bash
# Runs every test: the host build, lint (clang-format, clang-tidy), ASan+UBSan, TSan, a short run of each fuzz
# target (clang, libFuzzer), the PowerPC target build under qemu-ppc, the
# command blocks of the user documents (readme), the instruction counts
# against bench/count/baseline.txt (count), the cross stage (the aarch64,
# armhf, s390x and i686 builds under qemu-user) and the Debian packages with
# the ABI check (packages). Pass preset (or stage) names to run only those.
# Ends with each stage's seconds, also when a stage fails.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
# All at once: one apt-get update and install on a fresh machine, not one per stage.
kel_require "${KEL_HOST_PACKAGES[@]}" "${KEL_TARGET_PACKAGES[@]}" "${KEL_FUZZ_PACKAGES[@]}" "${KEL_CROSS_PACKAGES[@]}" \
  "${KEL_COUNT_PACKAGES[@]}" "${KEL_PACKAGING_PACKAGES[@]}"

presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(host lint sanitize tsan fuzz ppc readme count cross packages)
cross=(aarch64 armhf s390x i686)
expanded=()
for preset in "${presets[@]}"; do
  if [ "$preset" = cross ]; then expanded+=("${cross[@]}"); else expanded+=("$preset"); fi
done
presets=("${expanded[@]}")
jobs=$(nproc)

# Each stage's seconds, printed at the end whatever the outcome.
times=() started=$SECONDS stage_start=$SECONDS current=""
stage_table() {
  [ -z "$current" ] || times+=("$current $((SECONDS - stage_start)) failed")
  echo "stage        seconds"
  local entry
  for entry in "${times[@]}"; do
    read -r name seconds outcome <<<"$entry"
    printf '%-12s %7d%s\n' "$name" "$seconds" "${outcome:+ $outcome}"
  done
  printf '%-12s %7d\n' total $((SECONDS - started))
}
trap stage_table EXIT

# The readme stage builds the library Release for the host and the target, as
# README.md tells users to; the count stage counts those builds rather than
# building its own.
readme_builds=build/readme/tree/build
count_args=()
run_stage() {
  case $1 in
  lint) scripts/lint.sh ;;
  readme)
    tests/readme/run.sh build/readme
    count_args=(--built host "$readme_builds/release" --built ppc "$readme_builds/ppc-release") ;;
  count) scripts/count.sh --check "${count_args[@]}" ;;
  packages) scripts/packages.sh ;;
  *)
    cmake --preset "$1"
    cmake --build --preset "$1" -j "$jobs"
    ctest --preset "$1" -j "$jobs" ;;
  esac
}
for preset in "${presets[@]}"; do
  echo "=== $preset ==="
  current=$preset stage_start=$SECONDS
  run_stage "$preset"
  times+=("$preset $((SECONDS - stage_start))") current=""
done
echo "all presets passed: ${presets[*]}"
