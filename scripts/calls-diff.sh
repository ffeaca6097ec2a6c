#!/usr/bin/env bash
# Every family on a host against the PowerPC target, call for call, NaN bits
# included: `kelsoft generate` makes the calls, the target's `kelsoft run`
# answers them, the host's checks the answers.
#   scripts/calls-diff.sh [COUNT [FIRST]]  run the calls FIRST.. (default: ten
#       million from 0) on build/ppc under qemu-ppc and check build/host's
#       results against them; the output lists every accepted last-bit
#       difference of the C library's log10/log10f (the first 50)
#   KEL_DIFF_HOST="qemu-s390x -L /usr/s390x-linux-gnu build/s390x/tools/kelsoft/kelsoft"
#       checks another build instead of build/host
#   scripts/calls-diff.sh --golden  rewrite tests/data/calls_golden.txt, which
#       the calls.golden test of every build checks
# Build the command in both presets first (cmake --build --preset host --target kelsoft-tool).
set -euo pipefail
cd "$(dirname "$0")/.."
read -r -a host <<< "${KEL_DIFF_HOST:-build/host/tools/kelsoft/kelsoft}"
target=(qemu-ppc -L /usr/powerpc-linux-gnu build/ppc/tools/kelsoft/kelsoft)
golden_count=30000

if [ "${1:-}" = --golden ]; then
  {
    echo "# calls 0 to $((golden_count - 1)): NAME OPERAND... -> RESULT... [! REPORT]... (tests/data/calls_golden.txt: remade by scripts/calls-diff.sh --golden)"
    "${target[@]}" generate 0 $golden_count | "${target[@]}" run -
  } > tests/data/calls_golden.txt
  echo "tests/data/calls_golden.txt: $golden_count calls from the PowerPC build"
  exit 0
fi

count=${1:-10000000} first=${2:-0}
"${target[@]}" generate "$first" "$count" | "${target[@]}" run - | "${host[@]}" run -
