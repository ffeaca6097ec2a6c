#!/usr/bin/env bash
# The decimal parser on the host against the PowerPC target, text for text.
#   scripts/parser-diff.sh [COUNT [FIRST]]  run the generated hard texts FIRST..
#       (default: a million from 0) through both parsers on build/ppc under
#       qemu-ppc and check build/host's results against them
#   scripts/parser-diff.sh --golden         rewrite tests/data/parse_golden.txt,
#       the target's results that the parse.golden test of every build checks
# Build the command (target kelsoft-tool) in both presets first.
set -euo pipefail
cd "$(dirname "$0")/.."
read -r -a host <<< "${KEL_HOST_DUMP:-build/host/tools/kelsoft/kelsoft}"  # another build to check
target=(qemu-ppc -L /usr/powerpc-linux-gnu build/ppc/tools/kelsoft/kelsoft)
golden_count=25000

if [ "${1:-}" = --golden ]; then
  {
    echo "# texts 0 to $((golden_count - 1)) through both parsers (tests/data/parse_golden.txt: remade by scripts/parser-diff.sh --golden)"
    "${target[@]}" generate --texts 0 $golden_count | "${target[@]}" run -
  } > tests/data/parse_golden.txt
  echo "tests/data/parse_golden.txt: $golden_count texts from the PowerPC build"
  exit 0
fi

count=${1:-1000000} first=${2:-0}
"${target[@]}" generate --texts "$first" "$count" | "${target[@]}" run - | "${host[@]}" run -
