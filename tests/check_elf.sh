#!/usr/bin/env bash
# Reads a built shared object and checks one property of it.
#   exports READELF LIB LISTFILE   defined dynamic symbols == the names in LISTFILE
#   needed  READELF LIB NAME...    every DT_NEEDED entry is one of NAME...
#   requires READELF LIB NAME...   each NAME is a DT_NEEDED entry
#   soname  READELF LIB NAME       DT_SONAME is NAME
#   undefined READELF LIB NAME...  each NAME is imported (an undefined dynamic symbol)
#   absent  READELF LIB NAME...    no NAME is imported
set -euo pipefail
mode=$1 readelf=$2 lib=$3
shift 3

tag() { "$readelf" -W -d "$lib" | sed -n "s/.*($1).*\[\(.*\)\]/\1/p"; }
# Binding, section and name of each dynamic symbol, version suffix dropped.
dynsyms() { "$readelf" -W --dyn-syms "$lib" | awk '$1 ~ /^[0-9]+:$/ && $8 != "" {sub(/@.*/, "", $8); print $5, $7, $8}'; }
imports() { dynsyms | awk '$2 == "UND" {print $3}' | sort -u; }
# has WANT LIST NAME...: each NAME is (WANT=1) or is not (WANT=0) a line of LIST.
has() {
  local want=$1 list=$2 status=0 found
  shift 2
  for n in "$@"; do
    if grep -qxF "$n" <<<"$list"; then found=1; else found=0; fi
    [ $found = "$want" ] || { echo "$mode: fails for $n"; status=1; }
  done
  [ $status = 0 ] && echo "$mode: $*"
  return $status
}

# shellcheck disable=SC2046 # the DT_NEEDED entries are words
case $mode in
exports)
  actual=$(dynsyms | awk '$2 != "UND" && ($1 == "GLOBAL" || $1 == "WEAK") {print $3}' | sort -u)
  expected=$(sort -u "$1")
  [ "$actual" = "$expected" ] || { echo "exported names differ from $1 (< built, > expected):"; diff <(echo "$actual") <(echo "$expected"); exit 1; }
  echo "$(echo "$actual" | wc -l) names exported, as listed" ;;
needed) has 1 "$(printf '%s\n' "$@")" $(tag NEEDED) ;;
requires) has 1 "$(tag NEEDED)" "$@" ;;
soname) [ "$(tag SONAME)" = "$1" ] || { echo "SONAME is '$(tag SONAME)', expected '$1'"; exit 1; } ;;
undefined) has 1 "$(imports)" "$@" ;;
absent) has 0 "$(imports)" "$@" ;;
*) echo "unknown mode $mode" >&2; exit 2 ;;
esac
