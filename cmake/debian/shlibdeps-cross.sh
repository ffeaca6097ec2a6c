#!/bin/sh
# dpkg-shlibdeps for a cross build, whose C and C++ libraries come from
# Debian's cross toolchain packages: their shlibs and symbols files name
# libc6:powerpc or libgcc-s1-powerpc-cross, which on the target are libc6 and
# libgcc-s1.
set -e
out=$(dpkg-shlibdeps "$@")
printf '%s\n' "$out" | sed -E 's/-[a-z0-9]+-cross\b//g; s/:[a-z0-9]+( |,|$)/\1/g'
