#!/usr/bin/env bash
# clang-format and clang-tidy, warnings as errors. clang-tidy reads the host
# build's compile_commands.json, so the host preset is configured first.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
kel_require clang-format clang-tidy

mapfile -t sources < <(git ls-files '*.c' '*.cpp' '*.h' '*.hpp' | grep -Ev '/decimal/(chain|round)_tables\.h$')
clang-format --dry-run --Werror "${sources[@]}"

[ -f build/host/compile_commands.json ] || cmake --preset host >/dev/null
# The command's help text is generated into the build: lint alone builds it.
[ -f build/host/tools/kelsoft/contracts.inc ] || cmake --build --preset host --target kelsoft-command >/dev/null
mapfile -t units < <(git ls-files 'sysbase/*.cpp' 'platform/*.cpp' 'tools/*.cpp')
# One unit per process, as many at once as there are cores.
printf '%s\0' "${units[@]}" | xargs -0 -n 1 -P "$(nproc)" clang-tidy -p build/host --quiet
echo "lint: ${#sources[@]} files formatted, ${#units[@]} units clean"
