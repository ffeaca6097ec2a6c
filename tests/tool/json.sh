#!/usr/bin/env bash
# json.sh KELSOFT [EMULATOR...]: the command's JSON answers and exit statuses,
# read by jq and, strictly (UTF-8 errors fatal), by Python's json. A case:
# arguments (bash words), standard input, the exit status, and a jq filter
# that every line of standard output must satisfy.
set -uo pipefail
tool=("${@:2}" "$1")
schema='(keys == ["error", "function", "operands", "reports", "results"]) and
  all(.results[]; keys == ["bits", "name", "stored", "text", "value"])'
cases=(
  "|1|0|$schema and .function == \"KEL_Ddiv\" and .reports == [\"PARA IN ILLEGAL\", \"FP_INFINITE\"]
    and .results[0].value == null and .results[0].bits == \"0x7FF0000000000000\" and .error == null"
  "calc Dadd 1 2||0|$schema and .reports == [] and .results[0].value == 3 and .results[0].stored"
  "calc IntMut 7 0||0|$schema and .results[0].stored == false and .results[0].value == null"
  "convert Double2Ushort 42405||0|.results[0].value == 42405 and .results[0].bits == \"0xA5A5\""
  "convert Double2Buff 1||0|.results[0].bits == \"0x3FF0000000000000\""
  "parse \$'\\xff\\xc3\\xa9'||0|$schema and .operands == [\"\\u00ffé\"] and .results[2].value == 0"
  "format Double2String2 1 %2147483648f --size 8||0|.results[1] | .name == \"failed\" and .value == \"EOVERFLOW\""
  "calc Ddiv -|8 2\nx 2|2|$schema and (.error == null or .error == \"cannot read operand 'x'\")"
  "convert Uint322Double -1||2|$schema and .error == \"operand '-1' is out of range: 0 to 4294967295\""
  "run -||2|$schema and (.error | startswith(\"--json answers\"))"
)
failed=0
for case in "${cases[@]}"; do
  IFS='|' read -r -d '' args input status filter <<<"$case"
  filter=${filter%$'\n'}
  out=$(eval "\"\${tool[@]}\" --json $args" < <(printf "$input") 2>/dev/null)
  got=$?
  strict=$(python3 -c 'import json, sys; [json.loads(l) for l in sys.stdin.buffer.read().decode().splitlines()]' <<<"$out" 2>&1)
  lines=$(jq -e "$filter" <<<"$out" 2>&1)$strict
  if [ "$got" != "$status" ] || [ -z "$out" ] || grep -qv '^true$' <<<"$lines"; then
    echo "FAILED: kelsoft --json $args (status $got, not $status): $out"
    failed=1
  fi
done
# A write error: a message on stderr and exit status 3, with or without --json.
for args in "calc Dadd 1 2" "--help" "--json"; do
  err=$("${tool[@]}" $args 2>&1 >/dev/full < <(echo "1 2"))
  got=$?
  if [ "$got" != 3 ] || [[ $err != *"cannot write"* ]]; then
    echo "FAILED: kelsoft $args >/dev/full: status $got, stderr '$err'"
    failed=1
  fi
done
exit $failed
