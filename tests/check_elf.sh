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

dynamic() { "$readelf" -W -d "$lib"; }
# Name column of the dynamic symbol table, version suffix dropped.
dynsyms() { "$readelf" -W --dyn-syms "$lib" | awk '$1 ~ /^[0-9]+:$/ && $8 != "" {sub(/@.*/, "", $8); print $5, $7, $8}'; }

case $mode in
exports)
  actual=$(dynsyms | awk '$2 != "UND" && ($1 == "GLOBAL" || $1 == "WEAK") {print $3}' | sort -u)
  expected=$(sort -u "$1")
  if [ "$actual" != "$expected" ]; then
    echo "exported names differ from $1 (< built, > expected):"
    diff <(echo "$actual") <(echo "$expected") || true
    exit 1
  fi
  echo "$(echo "$actual" | wc -l) names exported, as listed" ;;
needed)
  status=0
  for n in $(dynamic | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
    if [[ " $* " != *" $n "* ]]; then echo "unexpected DT_NEEDED: $n"; status=1; else echo "needed: $n"; fi
  done
  exit $status ;;
requires)
  entries=$(dynamic | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
  status=0
  for n in "$@"; do
    grep -qxF "$n" <<<"$entries" || { echo "not needed: $n"; status=1; }
  done
  [ $status = 0 ] && echo "requires: $*"
  exit $status ;;
soname)
  actual=$(dynamic | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
  [ "$actual" = "$1" ] || { echo "SONAME is '$actual', expected '$1'"; exit 1; }
  echo "SONAME $actual" ;;
undefined|absent)
  imports=$(dynsyms | awk '$2 == "UND" {print $3}' | sort -u)
  status=0
  for n in "$@"; do
    if grep -qx "$n" <<<"$imports"; then found=1; else found=0; fi
    if [ "$mode" = undefined ] && [ $found = 0 ]; then echo "not imported: $n"; status=1; fi
    if [ "$mode" = absent ] && [ $found = 1 ]; then echo "imported but must not be: $n"; status=1; fi
  done
  [ $status = 0 ] && echo "$mode: $*"
  exit $status ;;
*)
  echo "unknown mode $mode" >&2; exit 2 ;;
esac
