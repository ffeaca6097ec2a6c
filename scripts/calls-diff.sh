#!/usr/bin/env bash
# Every family on a host against the PowerPC target, call for call, NaN bits
# included: `kelsoft generate` makes the calls, the target's `kelsoft run`
# answers them, the host's checks the answers.
#   scripts/calls-diff.sh [COUNT [FIRST]]  run the calls FIRST.. (default: ten
#       million from 0) on build/ppc under qemu-ppc and check build/host's
#       results against them; the output lists every accepted last-bit
#       difference of the C library's log10/log10f (the first 50)
#   scripts/calls-diff.sh --texts [COUNT [FIRST]]  the same for the generated
#       hard parser texts (default: a million from 0); scripts/parser-diff.sh
#   KEL_DIFF_HOST="qemu-s390x -L /usr/s390x-linux-gnu build/s390x/tools/kelsoft/kelsoft"
#       checks another build instead of build/host
#   scripts/calls-diff.sh [--texts] --golden  rewrite tests/data/calls_golden.txt
#       (parse_golden.txt), which the calls.golden (parse.golden) test of every build checks
# Build the command in both presets first (cmake --build --preset host --target kelsoft-tool).
set -euo pipefail
cd "$(dirname "$0")/.."
read -r -a host <<< "${KEL_DIFF_HOST:-build/host/tools/kelsoft/kelsoft}"
target=(qemu-ppc -L /usr/powerpc-linux-gnu build/ppc/tools/kelsoft/kelsoft)
texts=() golden=calls golden_count=30000 count=10000000 what="calls"
if [ "${1:-}" = --texts ]; then
  texts=(--texts) golden=parse golden_count=25000 count=1000000 what="texts"
  shift
fi

if [ "${1:-}" = --golden ]; then
  {
    echo "# $what 0 to $((golden_count - 1)): NAME OPERAND... -> RESULT... [! REPORT]... (tests/data/${golden}_golden.txt: remade by scripts/calls-diff.sh ${texts[*]} --golden)"
    "${target[@]}" generate "${texts[@]}" 0 $golden_count | "${target[@]}" run -
  } > "tests/data/${golden}_golden.txt"
  echo "tests/data/${golden}_golden.txt: $golden_count $what from the PowerPC build"
  exit 0
fi

"${target[@]}" generate "${texts[@]}" "${2:-0}" "${1:-$count}" | "${target[@]}" run - | "${host[@]}" run -
