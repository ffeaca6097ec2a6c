#!/usr/bin/env bash
# The decimal parser on the host against the PowerPC target, text for text.
#   scripts/parser-diff.sh [COUNT [FIRST]]  run the generated hard texts FIRST..
#       (default: a million from 0) through both parsers on build/ppc under
#       qemu-ppc and check build/host's results against them
#   scripts/parser-diff.sh --golden         rewrite tests/data/parse_golden.txt,
#       the target's results that the parse.golden test of every build checks
# Build call_dump in both presets first.
set -euo pipefail
cd "$(dirname "$0")/.."
read -r -a host <<< "${KEL_HOST_DUMP:-build/host/tests/call_dump}"  # another build to check
target=(qemu-ppc -L /usr/powerpc-linux-gnu build/ppc/tests/call_dump)
golden_count=25000

if [ "${1:-}" = --golden ]; then
  "${target[@]}" --texts 0 $golden_count > tests/data/parse_golden.txt
  echo "tests/data/parse_golden.txt: $golden_count texts from the PowerPC build"
  exit 0
fi

count=${1:-1000000} first=${2:-0}
"${target[@]}" --texts "$first" "$count" | "${host[@]}" --compare -
