#!/usr/bin/env bash
# Builds the program in c/ and the C++ example (examples/cxx) against an
# installed tree and runs them as users do: under `env -i` with PATH and only
# the variables README.md tells users to set, never LD_LIBRARY_PATH.
#   run.sh installed WORK BUILD   the build installed into WORK/tree/usr
#   run.sh moved WORK BUILD       the same, then the tree moved elsewhere
#   run.sh static WORK SOURCE     a static library-only build of SOURCE, installed
#   run.sh unpacked WORK DEBS     the Debian packages in DEBS unpacked into WORK/tree
#                                 (KEL_TOOLCHAIN: the name of the toolchain file they install)
# From the environment: KEL_CC, KEL_CXX, KEL_TOOLCHAIN (a cross build, whose
# tree is then a sysroot), KEL_EMULATOR, KEL_FLAGS (sanitizer builds),
# KEL_COMMAND (set when the build holds the kelsoft command), KEL_WERROR (1:
# warnings are errors, as in the build that runs this).
set -euo pipefail
scenario=$1 work=$2 from=$3
here=$(cd "$(dirname "$0")" && pwd)
declare -A source=([c]=$here/c [cxx]=$here/../../examples/cxx) program=([c]=consumer [cxx]=cxx_app)
read -ra emulator <<<"${KEL_EMULATOR:-}"
declare -A cases=(
  [installed]="cmake:c cmake:cxx pkg-config:c pkg-config:cxx command"
  [moved]="cmake:c pkg-config:c command"
  [static]="cmake:c pkg-config:c"
  [unpacked]="cmake:c pkg-config:c static:c command")

clean() { env -i PATH="$PATH" HOME="$work" "$@"; }
fail() { echo "FAILED: $*"; exit 1; }

# The variables README.md gives for a prefix, or for a sysroot (the Debian
# packages' kelsoft.pc names /usr, so pkg-config must keep its folders).
pc_env() {
  if [ -n "${KEL_TOOLCHAIN:-}" ] || [ "$scenario" = unpacked ]; then
    echo PKG_CONFIG_LIBDIR="$tree/usr/$libdir/pkgconfig" PKG_CONFIG_SYSROOT_DIR="$tree" \
      PKG_CONFIG_ALLOW_SYSTEM_CFLAGS=1 PKG_CONFIG_ALLOW_SYSTEM_LIBS=1
  else
    echo PKG_CONFIG_PATH="$tree/usr/$libdir/pkgconfig"
  fi
}

build_cmake() { # project dir
  local where=(-DCMAKE_PREFIX_PATH="$tree/usr")
  [ -z "${KEL_TOOLCHAIN:-}" ] || where=(-DCMAKE_TOOLCHAIN_FILE="$KEL_TOOLCHAIN" -DCMAKE_FIND_ROOT_PATH="$tree")
  clean cmake -S "${source[$1]}" -B "$2" "${where[@]}" -DCMAKE_C_COMPILER="$KEL_CC" -DCMAKE_CXX_COMPILER="$KEL_CXX" \
    -DCMAKE_C_FLAGS="${KEL_FLAGS:-}" -DCMAKE_CXX_FLAGS="${KEL_FLAGS:-}" -DCMAKE_COMPILE_WARNING_AS_ERROR="${KEL_WERROR:-0}" >"$2.log" 2>&1 &&
    clean cmake --build "$2" >>"$2.log" 2>&1 || { cat "$2.log"; fail "cmake build of $1"; }
}

build_pkg_config() { # project dir
  local compiler="$KEL_CC -std=c99" file=${source[$1]}/main.c flags=-Wl,-rpath,$tree/usr/$libdir static=""
  [ "$1" = c ] || { compiler="$KEL_CXX -std=c++20"; file=${source[$1]}/main.cpp; }
  # "static": a static link against a tree that holds the shared libraries too.
  [ "$scenario" != static ] || { static=--static; flags=""; }
  [ "$via" != static ] || { static=--static; flags=-static; }
  mkdir -p "$2"
  # shellcheck disable=SC2046 # the variables are words
  clean $(pc_env) sh -c "$compiler ${KEL_FLAGS:-} $file \$(pkg-config --cflags --libs $static kelsoft) $flags -o $2/${program[$1]}" ||
    fail "pkg-config build of $1"
}

run_case() {
  local via=${1%%:*} project=${1#*:} dir=$work/build/${1/:/-} out
  if [ "$1" = command ] && [ "${KEL_COMMAND:-0}" = 0 ]; then
    echo "$scenario $1: not built"; return
  elif [ "$1" = command ]; then
    out=$(clean "${emulator[@]}" "$tree/usr/bin/kelsoft" parse 0.3) || fail "installed kelsoft"
    grep -q 0x3FD3333333333334 <<<"$out" || fail "kelsoft printed: $out"
    # The vectors installed with it, found from where the tree now is.
    out=$(clean "${emulator[@]}" "$tree/usr/bin/kelsoft" verify) || fail "kelsoft verify: $out"
  else
    rm -rf "$dir"
    if [ "$via" = cmake ]; then build_cmake "$project" "$dir"; else build_pkg_config "$project" "$dir"; fi
    out=$(clean "${emulator[@]}" "$dir/${program[$project]}") || fail "$1 consumer: $out"
    # The header's release, the CMake package's and kelsoft.pc's are one.
    [[ $project == cxx && $out == *"quotient: inf"*"equal to 0.1 + 0.2: yes" ]] ||
      [ "$out" = "c consumer: ok $(PKG_CONFIG_LIBDIR="$tree/usr/$libdir/pkgconfig" pkg-config --modversion kelsoft)" ] ||
      fail "$1 consumer printed: $out"
  fi
  echo "$scenario $1: ok"
}

tree=$work/tree libdir=lib
rm -rf "$work" && mkdir -p "$work/build"
case $scenario in
installed | moved)
  clean cmake --install "$from" --prefix "$tree/usr" >/dev/null
  if [ "$scenario" = moved ]; then
    mv "$tree" "$work/elsewhere" && tree=$work/elsewhere
  fi ;;
static)
  toolchain=()
  [ -z "${KEL_TOOLCHAIN:-}" ] || toolchain=(-DCMAKE_TOOLCHAIN_FILE="$KEL_TOOLCHAIN")
  clean cmake -S "$from" -B "$work/lib" "${toolchain[@]}" -DCMAKE_C_COMPILER="$KEL_CC" -DCMAKE_CXX_COMPILER="$KEL_CXX" \
    -DBUILD_SHARED_LIBS=OFF -DKEL_BUILD_TESTS=OFF -DKEL_BUILD_EXAMPLES=OFF -DKEL_BUILD_BENCH=OFF -DKEL_BUILD_TOOLS=OFF \
    >"$work/lib.log" 2>&1 && clean cmake --build "$work/lib" -j 2 >>"$work/lib.log" 2>&1 &&
    clean cmake --install "$work/lib" --prefix "$tree/usr" >>"$work/lib.log" 2>&1 || { cat "$work/lib.log"; fail "static library build"; }
  [ -f "$tree/usr/lib/libkelsoft.a" ] && [ -f "$tree/usr/lib/libtarvex.a" ] || fail "archives not installed" ;;
unpacked)
  for deb in "$from"/*.deb; do dpkg-deb -x "$deb" "$tree"; done
  [ -z "${KEL_TOOLCHAIN:-}" ] || KEL_TOOLCHAIN=$tree/usr/share/kelsoft/cmake/$KEL_TOOLCHAIN
  libdir=$(cd "$tree/usr" && dirname lib/*/libkelsoft.so) ;;
*) fail "unknown scenario $scenario" ;;
esac
status=0
for c in ${cases[$scenario]}; do (run_case "$c") || status=1; done
exit $status
