#!/usr/bin/env bash
# The decimal parser on the host against the PowerPC target, text for text:
#   scripts/parser-diff.sh [--golden | COUNT [FIRST]]   as scripts/calls-diff.sh --texts
exec "$(dirname "$0")/calls-diff.sh" --texts "$@"
