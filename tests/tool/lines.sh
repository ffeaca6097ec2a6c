#!/usr/bin/env bash
# lines.sh KELSOFT [EMULATOR...]: what standard input and output do to the
# readers (run -, parse -, calc -) that a fixed input file cannot show.
set -uo pipefail
tool=("${@:2}" "$1")
failed=0
fail() { echo "FAILED: $*"; failed=1; }

# Each answer of run - comes before the next line is read: a co-process.
coproc kel { "${tool[@]}" run -; }
pid=$kel_PID  # bash unsets kel_PID once the co-process has ended
echo "Dadd 1 2" >&"${kel[1]}"
read -r -t 20 answer <&"${kel[0]}" || answer="(nothing)"
[[ $answer == "KEL_Dadd "*" -> 4008000000000000" ]] || fail "run - as a co-process: $answer"
exec {kel[1]}>&-
wait "$pid"

# A NUL byte makes its line one that cannot be run, in every reader; the
# lines after it are answered.
for args in "parse -" "calc Dadd -" "run -"; do
  out=$(printf '1 2\0x\n3 4\n' | "${tool[@]}" $args 2>&1)
  status=$?
  [ $status = 2 ] && [[ $out == *"-:1: a line cannot hold a NUL byte"* ]] && [ "$(wc -l <<<"$out")" = 2 ] ||
    fail "kelsoft $args with a NUL: status $status, $out"
done

# A closed pipe is a write error: status 3, and the command stops.
"${tool[@]}" generate 0 100000000 | head -1 >/dev/null
status=${PIPESTATUS[0]}
[ "$status" = 3 ] || fail "generate | head -1: status $status"
exit $failed
