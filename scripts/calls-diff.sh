#!/usr/bin/env bash
# Every family on a host against the PowerPC target, call for call, NaN bits
# included (tests/tools/call_dump.cpp generates the calls).
#   scripts/calls-diff.sh [COUNT [FIRST]]  run the calls FIRST.. (default: ten
#       million from 0) on build/ppc under qemu-ppc and check build/host's
#       results against them; the output lists every accepted last-bit
#       difference of the C library's log10/log10f (the first 50 of each kind)
#   KEL_DIFF_HOST="qemu-s390x -L /usr/s390x-linux-gnu build/s390x/tests/call_dump"
#       checks another build instead of build/host
#   scripts/calls-diff.sh --golden  rewrite tests/data/calls_golden.txt, which
#       the calls.golden test of every build checks
# Build call_dump in both presets first (cmake --build --preset host --target call_dump).
set -euo pipefail
cd "$(dirname "$0")/.."
read -r -a host <<< "${KEL_DIFF_HOST:-build/host/tests/call_dump}"
target=(qemu-ppc -L /usr/powerpc-linux-gnu build/ppc/tests/call_dump)
golden_count=30000

if [ "${1:-}" = --golden ]; then
  "${target[@]}" 0 $golden_count > tests/data/calls_golden.txt
  echo "tests/data/calls_golden.txt: $golden_count calls from the PowerPC build"
  exit 0
fi

count=${1:-10000000} first=${2:-0}
"${target[@]}" "$first" "$count" | "${host[@]}" --compare -
