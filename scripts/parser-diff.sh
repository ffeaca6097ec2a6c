#!/usr/bin/env bash
# The decimal parser on the host against the PowerPC target, text for text.
#   scripts/parser-diff.sh [COUNT [FIRST]]  run parse_dump of build/host and of
#       build/ppc (under qemu-ppc) on the generated texts FIRST.. (default: a
#       million from 0) and report every text whose results differ
#   scripts/parser-diff.sh --golden         rewrite tests/data/parse_golden.txt,
#       the target's results that the parse.golden test of every build checks
# Build both presets first (cmake --build --preset host / ppc).
set -euo pipefail
cd "$(dirname "$0")/.."
host=${KEL_HOST_DUMP:-build/host/tests/parse_dump}  # another dump tool to compare
target=(qemu-ppc -L /usr/powerpc-linux-gnu build/ppc/tests/parse_dump)
golden_count=25000

if [ "${1:-}" = --golden ]; then
  "${target[@]}" 0 $golden_count > tests/data/parse_golden.txt
  echo "tests/data/parse_golden.txt: $golden_count texts from the PowerPC build"
  exit 0
fi

count=${1:-1000000} first=${2:-0}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$host" "$first" "$count" > "$work/host"
"${target[@]}" "$first" "$count" > "$work/target"
# Line n + 1 (after the comment) holds text first + n.
diff "$work/host" "$work/target" | sed -n 's/^\([0-9]*\)[acd,].*/\1/p' > "$work/lines" || true
differ=$(wc -l < "$work/lines")
while read -r line; do
  index=$((first + line - 2))
  echo "text $index \"$("$host" --texts "$index" 1 | tail -n 1)\":" \
    "host $(sed -n "${line}p" "$work/host"), target $(sed -n "${line}p" "$work/target")"
done < <(head -n 20 "$work/lines")
echo "$count texts from $first: $differ differ"
[ "$differ" -eq 0 ]
