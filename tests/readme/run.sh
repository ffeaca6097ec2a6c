#!/usr/bin/env bash
# Runs the examples of the user documents as a new user would: the ```console
# blocks of README.md, then docs/kelsoft.md and docs/development.md, in order,
# in one shell, on a copy of the tree, under `env -i` with PATH and HOME (a
# scratch folder) only. A line starting with "$ " is a command (a trailing "\"
# joins the next line); the lines after it, up to the next command or the
# fence, are its exact output, trailing blank lines aside; "..." alone stands
# for output not shown. Stops at the first difference. ```sh blocks need root
# or are stages of scripts/test-all.sh themselves: they are only parsed, and
# the scripts they name must exist.
#   tests/readme/run.sh [WORK]   (WORK is emptied; a temporary folder by default)
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
work=$(realpath -m "${1:-$(mktemp -d)}")
rm -rf "$work" && mkdir -p "$work/steps" "$work/sh" "$work/home" "$work/tree"
git -C "$src" ls-files -z --cached --others --exclude-standard |
  (cd "$src" && xargs -0 cp --parents -t "$work/tree" 2>/dev/null || true)

# One NNN.cmd and NNN.out per command, and NNN.where: the file and line;
# in_block: 0 outside, 1 in a console block, 2 in an sh block.
documents=(README.md docs/kelsoft.md docs/development.md)
n=0 in_block=0 cmd=""
for document in "${documents[@]}"; do
  number=0
  while IFS= read -r line; do
    number=$((number + 1))
    case $in_block:$line in
    '0:```console') in_block=1 ;;
    '0:```sh') in_block=2 sh_block="$work/sh/${document//\//_}:$number" ;;
    0:* | '2:```') in_block=0 ;;
    2:*) printf '%s\n' "$line" >>"$sh_block" ;;
    *)
      if [ "${cmd: -1}" = '\' ]; then
        cmd="$cmd"$'\n'"$line" && printf '%s\n' "$cmd" >"$work/steps/$n.cmd"
      elif [ "$line" = '```' ]; then
        in_block=0 cmd=""
      elif [ "${line:0:2}" = '$ ' ]; then
        n=$(printf '%03d' $((10#$n + 1))) cmd=${line:2}
        printf '%s\n' "$cmd" >"$work/steps/$n.cmd" && : >"$work/steps/$n.out"
        echo "$document:$number" >"$work/steps/$n.where"
      elif [ -n "$cmd" ]; then
        printf '%s\n' "$line" >>"$work/steps/$n.out"
      fi ;;
    esac
  done <"$src/$document"
done
[ "$n" != 0 ] || { echo "no console blocks in ${documents[*]}"; exit 1; }
for block in "$work"/sh/*; do
  bash -n "$block" || { echo "${block##*/}: the sh block does not parse"; exit 1; }
  for script in $(grep -oE '(^|[ ;(])(scripts|tests)/[A-Za-z0-9_./-]+' "$block" | tr -d ' ;('); do
    [ -e "$src/$script" ] || { echo "${block##*/}: no $script"; exit 1; }
  done
done

# The commands share one shell, so that cd and export carry over.
cat >"$work/steps.sh" <<'DRIVER'
cd "$1/tree"
for step in "$1"/steps/*.cmd; do
  where=$(cat "${step%.cmd}.where")
  printf '%s: $ %s' "$where" "$(cat "$step")"
  echo
  { eval "$(cat "$step")"; } >"$1/actual" 2>&1 </dev/null
  status=$?
  expected=$(sed -e :a -e '/^\n*$/{$d;N;ba' -e '}' "${step%.cmd}.out")
  if [ $status != 0 ]; then
    cat "$1/actual"; echo "$where: the command above exits with status $status"; exit 1
  fi
  if [ "$expected" != "..." ] && [ "$expected" != "$(cat "$1/actual")" ]; then
    echo "$where: the command above prints (< document, > actual):"
    diff <(echo "$expected") "$1/actual"; exit 1
  fi
done
echo "documents: $(ls "$1"/steps/*.cmd | wc -l) commands as shown"
DRIVER
env -i PATH="$PATH" HOME="$work/home" bash "$work/steps.sh" "$work"
