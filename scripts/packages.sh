#!/usr/bin/env bash
# Builds the Debian packages for the host and for powerpc into build/deb-<arch>/,
# with Debian's hardened build flags, checks them with lintian --pedantic
# (any tag fails) and serves a program from them: unpacked into a scratch root,
# built against it through the CMake package (for powerpc with the toolchain
# file the -dev package installs), pkg-config and a static link, and run
# (under qemu-ppc for powerpc). The libraries' ABI is held to its baselines
# (scripts/abi.sh), and a copy with a broken ABI must fail that check. The
# host's packages are then installed for real, used, removed and purged (as
# root; the machine is left as it was).
# Pass host or ppc to do only one.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
kel_require "${KEL_HOST_PACKAGES[@]}" "${KEL_TARGET_PACKAGES[@]}" "${KEL_PACKAGING_PACKAGES[@]}"
names=(libkelsoft1 libkelsoft-dev kelsoft)
fail() { echo "FAILED: $*"; exit 1; }

# Installs the host's packages, checks what a Debian user relies on, removes them.
install_for_real() {
  local scratch
  if dpkg-query -W "${names[@]}" >/dev/null 2>&1; then
    echo "installed packages: skipped, ${names[*]} already installed"; return
  fi
  scratch=$(mktemp -d)
  trap 'dpkg --purge "${names[@]}" >/dev/null 2>&1 || true' EXIT
  dpkg -i "$1"/*.deb >/dev/null
  ldconfig -p | grep -q 'libkelsoft\.so\.1 ' || fail "the ldconfig trigger did not run"
  cc -std=c99 examples/app/app.c -lkelsoft -o "$scratch/app"
  env -i "$scratch/app" | grep -q '^result: inf$' || fail "a program linked against the installed library"
  env -i /usr/bin/kelsoft parse 0.3 | grep -q 0x3FD3333333333334 || fail "the installed command"
  mkdir "$scratch/debian" && touch "$scratch/debian/control"
  (cd "$scratch" && dpkg-shlibdeps -O app 2>/dev/null) | grep -q 'libkelsoft1 (>= 1\.0\.0)' ||
    fail "dpkg-shlibdeps does not give libkelsoft1 (>= 1.0.0)"
  flags=$(env -i PATH="$PATH" pkg-config --cflags --libs kelsoft)
  [[ $flags =~ ^-lkelsoft\ *$ ]] || fail "pkg-config --cflags --libs kelsoft gives '$flags', not -lkelsoft"
  env -i PATH="$PATH" MANPATH=/usr/share/man man -w 3 KEL_SoftStr2Float >/dev/null || fail "man 3 KEL_SoftStr2Float"
  env -i PATH="$PATH" MANPATH=/usr/share/man man -w libkelsoft >/dev/null || fail "man libkelsoft"
  DEBIAN_FRONTEND=noninteractive apt-get remove -y -q "${names[@]}" >/dev/null
  ! dpkg -l "${names[@]}" 2>/dev/null | grep -E '^[a-z]{2} ' | grep -v '^un' || fail "left behind after remove"
  dpkg --purge "${names[@]}" >/dev/null 2>&1
  ! ls /usr/lib/*/libkelsoft* /usr/include/kelsoft.h /usr/share/kelsoft 2>/dev/null || fail "files left after purge"
  trap - EXIT
  rm -rf "$scratch"
  echo "installed packages: ok (trigger, symbols, remove and purge)"
}

targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(host ppc)
for target in "${targets[@]}"; do
  toolchain=() cc=cc cxx=c++ emulator="" arch=$(dpkg --print-architecture) consumer_toolchain=""
  if [ "$target" = ppc ]; then
    toolchain=(--toolchain "$PWD/cmake/powerpc-linux-gnu.cmake")
    cc=powerpc-linux-gnu-gcc cxx=powerpc-linux-gnu-g++ emulator="qemu-ppc -L /usr/powerpc-linux-gnu" arch=powerpc
    consumer_toolchain=powerpc-linux-gnu.cmake
  fi
  build=build/deb-$target
  echo "=== packages: $target ==="
  flags() { DEB_HOST_ARCH=$arch DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1" 2>/dev/null; }
  rm -rf "$build"
  # GNUInstallDirs picks the multiarch folder for /usr itself, but not when cross-compiling.
  CFLAGS="$(flags CPPFLAGS) $(flags CFLAGS)" CXXFLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)" LDFLAGS="$(flags LDFLAGS)" \
    cmake -S . -B "$build" "${toolchain[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
    -DCMAKE_INSTALL_LIBDIR="lib/$($cc -print-multiarch)" -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
    -DKEL_INSTALL_ARCHIVES=ON -DKEL_BUILD_TESTS=OFF -DKEL_BUILD_EXAMPLES=OFF -DKEL_BUILD_BENCH=OFF >/dev/null
  cmake --build "$build" -j "$(nproc)" >/dev/null
  scripts/abi.sh check "$build" "$arch"
  (cd "$build" && cpack -G DEB >/dev/null)
  for deb in "$build"/*.deb; do
    dpkg-deb -f "$deb" Package Version Architecture Multi-Arch Depends | paste -sd ' '
  done
  lintian --pedantic --info --fail-on error,warning,info,pedantic "$build"/*.deb 2>&1 | (grep -v 'root privileges' || true)
  KEL_CC=$cc KEL_CXX=$cxx KEL_EMULATOR=$emulator KEL_COMMAND=1 KEL_TOOLCHAIN=$consumer_toolchain \
    tests/consumer/run.sh unpacked "$PWD/$build/unpacked" "$PWD/$build"
  # Every exported name and the hook type have their reference page.
  grep -qx 'prefix=/usr' "$build/unpacked/tree/usr/lib/"*/pkgconfig/kelsoft.pc || fail "kelsoft.pc does not name /usr"
  for name in $(grep -h '^[A-Za-z_]' sysbase/lum/exports/*.list) FloatFaultHook libkelsoft; do
    [ -f "$build/unpacked/tree/usr/share/man/man3/$name.3.gz" ] || fail "no reference page for $name"
  done
  [ "$target" != host ] || install_for_real "$build"
done
[[ " ${targets[*]} " != *" host "* ]] || scripts/abi.sh self-test
