#!/usr/bin/env bash
# Builds the Debian packages for the host and for powerpc into build/deb-<arch>/,
# checks them with lintian (errors fail, warnings are printed) and serves a
# program from them: unpacked into a scratch root, built against it through
# the CMake package, pkg-config and a static link, and run (under qemu-ppc for
# powerpc). Pass host or ppc to do only one.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
kel_require "${KEL_HOST_PACKAGES[@]}" "${KEL_TARGET_PACKAGES[@]}" "${KEL_PACKAGING_PACKAGES[@]}"

targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(host ppc)
for target in "${targets[@]}"; do
  toolchain=() cc=cc cxx=c++ emulator=""
  if [ "$target" = ppc ]; then
    toolchain=(--toolchain "$PWD/cmake/powerpc-linux-gnu.cmake")
    cc=powerpc-linux-gnu-gcc cxx=powerpc-linux-gnu-g++ emulator="qemu-ppc -L /usr/powerpc-linux-gnu"
  fi
  build=build/deb-$target
  echo "=== packages: $target ==="
  # GNUInstallDirs picks the multiarch folder for /usr itself, but not when cross-compiling.
  cmake -S . -B "$build" "${toolchain[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
    -DCMAKE_INSTALL_LIBDIR="lib/$($cc -print-multiarch)" \
    -DKEL_INSTALL_ARCHIVES=ON -DKEL_BUILD_TESTS=OFF -DKEL_BUILD_EXAMPLES=OFF -DKEL_BUILD_BENCH=OFF >/dev/null
  cmake --build "$build" -j "$(nproc)" >/dev/null
  rm -f "$build"/*.deb
  (cd "$build" && cpack -G DEB >/dev/null)
  for deb in "$build"/*.deb; do
    dpkg-deb -f "$deb" Package Version Architecture Depends | paste -sd ' '
  done
  lintian --fail-on error "$build"/*.deb
  KEL_CC=$cc KEL_CXX=$cxx KEL_EMULATOR=$emulator KEL_COMMAND=1 \
    tests/consumer/run.sh unpacked "$PWD/$build/unpacked" "$PWD/$build"
done
