#!/usr/bin/env bash
# seeds.sh OUTPUT VECTOR...: seeds for the command's fuzz targets from the
# vectors: OUTPUT/run_lines, four lines a seed; OUTPUT/operands, one call a
# seed, its name on the first line and its operands (bits as 0x) on the next.
set -euo pipefail
out=$1
shift
mkdir -p "$out/run_lines" "$out/operands"
cat "$@" | split -l 4 - "$out/run_lines/v"
cat "$@" | sed -E 's/ *(->|#).*//; /^$/d; s/ ([0-9a-f]{4,16})\b/ 0x\1/g' |
  awk -v dir="$out/operands" '{ f = sprintf("%s/v%04d", dir, NR); n = $1; $1 = ""; print n "\n" $0 > f; close(f) }'
