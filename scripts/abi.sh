#!/usr/bin/env bash
# Holds the shared libraries to what docs/abi.md promises for the release in
# include/kelsoft.h, against the baselines in abi/ARCH/ (abidw, recorded at the
# release in abi/version):
#   same major and minor as the baseline: no change at all (a patch release);
#   a higher minor: functions, variables and types may be added, none removed
#     or changed;
#   a higher major: a new SONAME, and new baselines recorded (update).
# CHANGELOG.md and the Debian changelog must name the header's release.
#
#   scripts/abi.sh check BUILD ARCH    the libraries of the build folder BUILD (ARCH: amd64, powerpc)
#   scripts/abi.sh update BUILD ARCH   record BUILD's libraries as ARCH's baselines, at the header's release
#   scripts/abi.sh self-test           a copy of the tree with an exported name removed, then with a
#                                      function's type changed, must fail the check (host)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
libraries=(libkelsoft.so.1 libtarvex.so.1)
fail() { echo "FAILED: $*"; exit 1; }

version_of() { # kelsoft.h: MAJOR MINOR PATCH
  local part
  for part in MAJOR MINOR PATCH; do
    sed -n "s/^#define KELSOFT_VERSION_$part \([0-9]*\)$/\1/p" "$1/include/kelsoft.h"
  done | paste -sd ' '
}

# The ABI of one library of BUILD: exported interfaces only, without
# locations or build paths, so that it changes only when the ABI does.
dump() { # build soname output [source]
  local lib
  # Where the build makes it, not a copy installed or packed for a test.
  lib=$(find "$1/sysbase" "$1/platform" -name "$2" 2>/dev/null | head -1 || true)
  [ -n "$lib" ] || fail "no $2 under $1"
  abidw --exported-interfaces-only --no-show-locs --no-corpus-path --no-comp-dir-path \
    --headers-dir "${4:-$root}/include" --drop-private-types --out-file "$3" "$lib"
}

check_changelogs() {
  local version=$1
  grep -q "^## $version\b" "$root/CHANGELOG.md" || fail "CHANGELOG.md has no section for $version (include/kelsoft.h)"
  head -1 "$root/cmake/debian/changelog" | grep -qF "($version)" ||
    fail "cmake/debian/changelog does not start with $version (include/kelsoft.h)"
}

check() { # build arch [source]
  local build=$1 arch=$2 source=${3:-$root} major minor patch base_major base_minor base_patch lib status
  read -r major minor patch < <(version_of "$source")
  read -r base_major base_minor base_patch <<<"$(tr . ' ' <"$root/abi/version")"
  [ "$source" != "$root" ] || check_changelogs "$major.$minor.$patch"
  if ((major != base_major)); then
    fail "release $major.$minor.$patch, baselines of $(cat "$root/abi/version"): a new major release records its own (scripts/abi.sh update)"
  fi
  ((minor > base_minor || (minor == base_minor && patch >= base_patch))) ||
    fail "release $major.$minor.$patch is older than the baselines' $(cat "$root/abi/version")"
  local scratch
  scratch=$(mktemp -d)
  status=0
  for lib in "${libraries[@]}"; do
    dump "$build" "$lib" "$scratch/$lib.abi" "$source"
    # A minor release may add; abidiff then reports the additions but no
    # change that breaks (exit status 4 without 8), which --no-added-syms hides.
    local allow=()
    ((minor == base_minor)) || allow=(--no-added-syms)
    # Anything beyond clean summaries (a parser error too, which abidiff
    # does not always turn into its exit status) fails.
    if ! abidiff "${allow[@]}" "$root/abi/$arch/$lib.abi" "$scratch/$lib.abi" >"$scratch/diff" 2>&1 ||
      grep -v 'changes summary: 0 Removed, 0 Changed, 0 Added' "$scratch/diff" | grep -q .; then
      cat "$scratch/diff"
      echo "ABI of $lib ($arch) changed, which release $major.$minor.$patch may not do (docs/abi.md)"
      status=1
    fi
  done
  rm -rf "$scratch"
  ((status == 0)) || return 1
  echo "ABI ($arch): ${libraries[*]} as release $major.$minor.$patch may be (baselines of $(cat "$root/abi/version"))"
}

update() { # build arch
  local lib major minor patch
  read -r major minor patch < <(version_of "$root")
  mkdir -p "$root/abi/$2"
  for lib in "${libraries[@]}"; do dump "$1" "$lib" "$root/abi/$2/$lib.abi"; done
  echo "$major.$minor.$patch" >"$root/abi/version"
  echo "baselines of $2 recorded at $major.$minor.$patch"
}

# Each change to a copy of the tree must fail the check: the copy's library is
# built on its own (library targets only), changed, rebuilt and checked.
must_fail() { # build source what
  local out
  ! out=$( (check "$1" amd64 "$2") 2>&1) || fail "$3 passes the check"
  echo "$3 fails:$(grep -m1 -E '\[[DC]\]' <<<"$out" || echo "$out")"
}
self_test() {
  local copy build definition
  copy=$(mktemp -d) build=$copy/build
  git -C "$root" ls-files -z --cached --others --exclude-standard |
    (cd "$root" && xargs -0 cp --parents -t "$copy" 2>/dev/null || true)
  cmake -S "$copy" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKEL_BUILD_TESTS=OFF -DKEL_BUILD_EXAMPLES=OFF \
    -DKEL_BUILD_BENCH=OFF -DKEL_BUILD_TOOLS=OFF >/dev/null
  cmake --build "$build" -j "$(nproc)" >/dev/null
  (check "$build" amd64 "$copy" >/dev/null) || fail "the unchanged copy does not pass"
  sed -i '/^KEL_IntMut$/d' "$copy"/sysbase/lum/exports/*.list
  cmake --build "$build" -j "$(nproc)" >/dev/null
  must_fail "$build" "$copy" "removing KEL_IntMut from the exports"
  (cd "$root" && cp sysbase/lum/exports/*.list "$copy/sysbase/lum/exports/")
  definition=$(grep -rl 'void KEL_IntMut(uint32_t' "$copy/sysbase")
  sed -i 's/KEL_IntMut(uint32_t numerator/KEL_IntMut(int32_t numerator/' "$copy/include/kelsoft.h" "$definition"
  cmake --build "$build" -j "$(nproc)" >/dev/null
  must_fail "$build" "$copy" "changing KEL_IntMut's first parameter to int32_t"
  rm -rf "$copy"
}

case ${1:-} in
check) check "$2" "$3" ;;
update) update "$2" "$3" ;;
self-test) self_test ;;
*) sed -n '2,/^set -e/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 2 ;;
esac
