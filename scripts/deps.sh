# Sourced by the other scripts: installs the Debian packages they name when
# any is missing (as root; apt-get update first).
kel_require() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

KEL_HOST_PACKAGES=(cmake make g++ gcc binutils pkgconf python3 libgtest-dev libbenchmark-dev clang-format clang-tidy help2man man-db jq)
KEL_TARGET_PACKAGES=(g++-powerpc-linux-gnu gcc-powerpc-linux-gnu qemu-user)
# The count stage: instructions per call on the host (valgrind) and the plot.
KEL_COUNT_PACKAGES=(valgrind gnuplot-nox python3)
# The cross stage: other hosts, run under qemu-user.
KEL_CROSS_PACKAGES=(g++-aarch64-linux-gnu g++-arm-linux-gnueabihf g++-s390x-linux-gnu g++-i686-linux-gnu)
# The fuzz preset: clang with libFuzzer and its sanitizer runtimes.
KEL_FUZZ_PACKAGES=(clang libclang-rt-14-dev)
# The packages stage: Debian packages built by CPack and checked, and the
# libraries' ABI against its baselines (scripts/abi.sh).
KEL_PACKAGING_PACKAGES=(dpkg-dev lintian file abigail-tools)
