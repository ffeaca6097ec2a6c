#!/usr/bin/env bash
# make-man.sh KELSOFT [OUTPUT]: the manual page kelsoft(1), made by help2man
# from the --help and --version of the built command (a host build). With no
# OUTPUT it rewrites kelsoft.1 beside this script; tests/tool compares.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export SOURCE_DATE_EPOCH=1767225600 # the page carries a fixed date, so it compares
help2man --no-info --no-discard-stderr --section=1 \
  --name="run the floating-point library's functions from the command line" \
  --output="${2:-$here/kelsoft.1}" "$1"
