#!/usr/bin/env bash
# Mutation run (opt-in, not part of CI): each line of scripts/mutations.txt puts one
# fault into a scratch copy of the sources, builds the preset where that code
# runs and runs its tests (without the long and consumer ones), stopping at
# the first failure. A fault no test and no build catches is "missed".
#
#   scripts/mutate.sh [-k] [name-regex]   -k keeps the scratch folder
#
# List format: name @@ file @@ text @@ replacement [@@ preset] [@@ equivalent]
# - text: occurs exactly once in the file ("\n" is a line break, <none> an
#   empty replacement).
# - preset: where the code is compiled and the fault shows: host (default),
#   ppc (code only 32-bit or PowerPC hosts compile), sanitize (undefined
#   behaviour that gives the expected bits on x86).
# - equivalent: no caller can see the fault; docs/reliability.md argues why
#   under its name. It stays in the list so that a change making it visible
#   shows up.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
keep=0
if [[ ${1:-} == -k ]]; then keep=1; shift; fi
filter=${1:-}
jobs=${KEL_MUTATE_JOBS:-2}
scratch=$(mktemp -d "${TMPDIR:-/tmp}/kel-mutate.XXXXXX")
[[ $keep == 1 ]] || trap 'rm -rf "$scratch"' EXIT

mutants() { grep -v -E '^(#|$)' "$root/scripts/mutations.txt"; }

# Puts the fault into the scratch copy, keeping the original in $scratch/original.
apply() {
  python3 - "$scratch/src/$1" "$2" "$3" "$scratch/original" <<'PY'
import sys
path, old, new, original = sys.argv[1], *(a.replace('\\n', '\n') for a in sys.argv[2:4]), sys.argv[4]
try:
    text = open(path).read()
except FileNotFoundError:
    sys.exit(f"{path} is gone: mend the entry")
if text.count(old) != 1:
    sys.exit(f"the text occurs {text.count(old)} times")
open(original, "w").write(text)
open(path, "w").write(text.replace(old, new))
PY
}

# A preset's build, made on first use; tests failing there without any fault
# are left out (and named).
declare -A exclude
setup() {
  local preset=$1
  [[ -n ${exclude[$preset]+set} ]] && return 0
  echo "building $preset"
  (cd "$scratch/src" && cmake --preset "$preset" -DKEL_BUILD_BENCH=OFF -DCMAKE_COMPILE_WARNING_AS_ERROR=OFF \
    >"$scratch/configure.log" 2>&1) || { echo "$preset: the unchanged sources do not configure"; exit 1; }
  build "$preset" || { echo "$preset: the unchanged sources do not build"; exit 1; }
  run_tests "$preset" || true
  local skip
  skip=$(failed | paste -sd'|')
  exclude[$preset]=${skip:+^($skip)\$}
  [[ -z $skip ]] || echo "$preset: failing before any fault, left out: $skip"
}
# The tests ctest names as failed in its summary.
failed() { sed -n '/tests FAILED:/,$s/^[[:space:]]*[0-9]\+ - \([^ ]*\) .*/\1/p' "$scratch/test.log"; }
build() { (cd "$scratch/src" && cmake --build --preset "$1" -j "$jobs" >"$scratch/build.log" 2>&1); }
run_tests() {
  local preset=$1; shift
  ctest --test-dir "$scratch/src/build/$preset" -j "$jobs" --timeout 600 -LE 'long|consumer' "$@" \
    >"$scratch/test.log" 2>&1
}

echo "scratch: $scratch"
mkdir -p "$scratch/src"
(cd "$root" && git ls-files -z | tar --null -T - -cf -) | tar -xf - -C "$scratch/src"

caught=0 missed=0 equivalent=0 total=0
missed_names=()
miss() {
  echo "MISSED    $1 ($2)"
  missed=$((missed + 1))
  missed_names+=("$1")
}
while IFS= read -r line; do
  [[ -z $line ]] && continue
  IFS=$'\x1f' read -r -a field <<<"${line// @@ /$'\x1f'}"
  name=${field[0]} file=${field[1]} old=${field[2]} new=${field[3]}
  [[ $new == "<none>" ]] && new=""
  preset=host note=""
  for extra in "${field[@]:4}"; do
    if [[ $extra == equivalent ]]; then note=equivalent; else preset=$extra; fi
  done
  [[ -n $filter && ! $name =~ $filter ]] && continue
  total=$((total + 1))
  setup "$preset"
  if ! apply "$file" "$old" "$new" 2>"$scratch/apply.log"; then
    miss "$name" "$(cat "$scratch/apply.log")"
    continue
  fi
  if ! build "$preset"; then
    echo "caught    $name ($preset build: $(grep -m1 -o 'error: .*' "$scratch/build.log" | cut -c1-100))"
    caught=$((caught + 1))
  elif ! run_tests "$preset" --stop-on-failure ${exclude[$preset]:+-E "${exclude[$preset]}"}; then
    echo "caught    $name ($preset: $(failed | head -1))"
    caught=$((caught + 1))
  elif [[ $note != equivalent ]]; then
    miss "$name" "$preset"
  elif grep -q "\`$name\`" "$root/docs/reliability.md"; then
    echo "same      $name"
    equivalent=$((equivalent + 1))
  else
    miss "$name" "equivalent, but docs/reliability.md does not argue it"
  fi
  cp "$scratch/original" "$scratch/src/$file"
done < <(mutants)

echo "$total faults in $((SECONDS / 60)) min $((SECONDS % 60)) s"
[[ $missed == 0 ]] || echo "missed: ${missed_names[*]}"
echo "$caught caught, $equivalent equivalent (each argued in docs/reliability.md), $missed missed"
[[ $missed == 0 ]]
