#!/usr/bin/env bash
# Mutation run (opt-in, not part of CI): each line of the list below puts one
# fault into a scratch copy of the sources, builds the preset where that code
# runs and runs its tests (without the long and consumer ones), stopping at
# the first failure. A fault no test and no build catches is "missed".
#
#   scripts/mutate.sh [-k] [name-regex]   -k keeps the scratch folder
#
# List format: name @@ file @@ text @@ replacement [@@ preset] [@@ equivalent]
# - text: occurs exactly once in the file ("\n" is a line break, <none> an
#   empty replacement). Where the file has moved, the one tracked file that
#   holds the text once is taken, and named.
# - preset: where the code is compiled and the fault shows: host (default),
#   ppc (code only 32-bit or PowerPC hosts compile), sanitize (undefined
#   behaviour that gives the expected bits on x86).
# - equivalent: no caller can see the fault; docs/reliability.md argues why
#   under its name. It stays in the list so that a change making it visible
#   shows up.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
keep=0
if [[ ${1:-} == -k ]]; then keep=1; shift; fi
filter=${1:-}
jobs=${KEL_MUTATE_JOBS:-2}
scratch=$(mktemp -d "${TMPDIR:-/tmp}/kel-mutate.XXXXXX")
[[ $keep == 1 ]] || trap 'rm -rf "$scratch"' EXIT

mutants() {
  cat <<'EOF'
fault-infinity @@ sysbase/lum/src/softfp/fault_check.h @@ const T difference = value - value; @@ const T difference = value + value;
fault-nan-only @@ sysbase/lum/src/softfp/fault_check.h @@ return difference != difference; @@ return difference != difference && value != value;
fault-class @@ sysbase/lum/src/softfp/fault_check.h @@ KEL_SoftfpAssert(std::fpclassify(value)) @@ KEL_SoftfpAssert(1)
fault-report-before-store @@ sysbase/lum/src/softfp/fault_check.h @@   if (std::isnan(value)) *result = value = target_nan<T>({operands...});\n  KEL_SoftfpAssert(std::fpclassify(value)); @@   KEL_SoftfpAssert(std::fpclassify(value));\n  if (std::isnan(value)) *result = value = target_nan<T>({operands...});
nan-quiet @@ sysbase/lum/src/softfp/target_nan.h @@ std::bit_cast<typename Bits::Word>(x) | Bits::kQuiet @@ std::bit_cast<typename Bits::Word>(x)
nan-default @@ sysbase/lum/src/softfp/target_nan.h @@ kDefault = 0x7FF8000000000000u @@ kDefault = 0xFFF8000000000000u
arith-null-right @@ sysbase/lum/src/softfp/kel_arith.cpp @@ if (left == nullptr || right == nullptr) return -1; @@ if (left == nullptr) return -1;
arith-div-negative @@ sysbase/lum/src/softfp/kel_arith.cpp @@ divisor > T(0) || divisor < T(0) @@ divisor > T(0)
arith-div-no-report @@ sysbase/lum/src/softfp/kel_arith.cpp @@ KEL_SoftfpAssert(kel::kIllegalOperand); @@ (void)0;
arith-div-early-read @@ sysbase/lum/src/softfp/kel_arith.cpp @@ checked_op(result, left, right, std::divides<T>());\n}\n\ntemplate @@ checked_op(result, left, &divisor, std::divides<T>());\n}\n\ntemplate
arith-cmp-greater @@ sysbase/lum/src/softfp/kel_arith.cpp @@ if (*left > *right) return 1; @@ if (*left >= *right) return 1;
arith-float-in-double @@ sysbase/lum/src/softfp/kel_arith.cpp @@ checked_op(r, a, b, std::plus<float>()) @@ checked_op(r, a, b, std::plus<double>()) @@ equivalent
typename-upper @@ sysbase/lum/src/softfp/kel_typename.cpp @@ code >= static_cast @@ code > static_cast
report-no-hook @@ sysbase/lum/src/softfp/kel_softfp.cpp @@ if (hook == nullptr) return; @@ <none>
elem-log-zero @@ sysbase/lum/src/softfp/kel_elementary.cpp @@ return x <= T(0); @@ return x < T(0);
elem-sqrt-minus-zero @@ sysbase/lum/src/softfp/kel_elementary.cpp @@ return x < T(0); @@ return x <= T(0); @@ equivalent
elem-log10-function @@ sysbase/lum/src/softfp/kel_elementary.cpp @@ (r, x, log10, not_positive) @@ (r, x, log, not_positive)
elem-intmut-zero @@ sysbase/lum/src/softfp/kel_elementary.cpp @@ if (denominator == 0) { @@ if (denominator == 0 && numerator != 0) {
elem-intmut-signed @@ sysbase/lum/src/softfp/kel_elementary.cpp @@ static_cast<double>(numerator) @@ static_cast<double>(static_cast<int32_t>(numerator))
elem-pow-order @@ sysbase/lum/src/softfp/kel_elementary.cpp @@ pow(b, e), b, e @@ pow(e, b), b, e
elem-read-once @@ sysbase/lum/src/softfp/kel_elementary.cpp @@ if (outside_domain(*x)) KEL_SoftfpAssert(kIllegalOperand); @@ const T x0 = *x; x = &x0; if (outside_domain(x0)) KEL_SoftfpAssert(kIllegalOperand);
parse-digit @@ sysbase/lum/src/softfp/decimal/scan.h @@ return v < 10; @@ return v <= 10;
parse-tab @@ sysbase/lum/src/softfp/decimal/scan.h @@ while (*p == ' ') ++p; @@ while (*p == ' ' || *p == '\t') ++p;
parse-comma @@ sysbase/lum/src/softfp/decimal/scan.h @@ const bool point = v == digit_value('.'); @@ const bool point = v == digit_value('.') || v == digit_value(',');
parse-minus-exponent @@ sysbase/lum/src/softfp/decimal/scan.h @@ n.exponent_negative = *q == '-'; @@ n.exponent_negative = false;
parse-failed-exponent-end @@ sysbase/lum/src/softfp/decimal/scan.h @@ Number{text, text, text, @@ Number{text, text, q,
parse-sign @@ sysbase/lum/src/softfp/decimal/kel_parse.cpp @@ if (negative) value = -value; @@ if (!negative) value = -value;
parse-exact-limit @@ sysbase/lum/src/softfp/decimal/chain.cpp @@ ((uint64_t{1} << 53) - 9) / 10 @@ ((uint64_t{1} << 54) - 9) / 10
parse-exact-limit-edge @@ sysbase/lum/src/softfp/decimal/chain.cpp @@ n < kExactIntegerLimit @@ n <= kExactIntegerLimit @@ equivalent
parse-count-64 @@ sysbase/lum/src/softfp/decimal/scan.h @@ uint32_t count = 0; @@ uint64_t count = 0; @@ equivalent
parse-fewer-terms @@ sysbase/lum/src/softfp/decimal/chain.cpp @@ k < tables::kTermDigits && @@ k < tables::kTermDigits - 1 &&
round128-digits-big-endian @@ sysbase/lum/src/softfp/decimal/round128.cpp @@ if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v); @@ <none> @@ ppc
uint128-mul64-32bit @@ sysbase/lum/src/softfp/decimal/uint128.h @@ (p00 >> 32) + (p01 & 0xFFFFFFFFu) + (p10 & 0xFFFFFFFFu) @@ (p00 >> 32) + (p01 & 0xFFFFFFFFu) @@ ppc
round128-no-margin @@ sysbase/lum/src/softfp/decimal/round128.cpp @@ uint64_t kChainError = uint64_t{1} << 37; @@ uint64_t kChainError = 0;
round-low-range @@ sysbase/lum/src/softfp/decimal/round64.h @@ int kMinResultExponent = -968; @@ int kMinResultExponent = -1022;
round-high-range @@ sysbase/lum/src/softfp/decimal/round64.h @@ int kMaxResultExponent = 1022; @@ int kMaxResultExponent = 1023;
round-count-limit @@ sysbase/lum/src/softfp/decimal/round64.h @@ uint32_t kMaxExponentMagnitude = 511; @@ uint32_t kMaxExponentMagnitude = 512;
round64-margin @@ sysbase/lum/src/softfp/decimal/round64.h @@ const uint64_t error = x.error + kRound64ModelError; @@ const uint64_t error = 0;
round-weights @@ sysbase/lum/src/softfp/decimal/round64.h @@ hi = n.digits + (weights >> 54), lo = weights << 10; @@ hi = n.digits, lo = 0 * weights;
round-term-error @@ sysbase/lum/src/softfp/decimal/round128.cpp @@ uint64_t kTermError = 16; @@ uint64_t kTermError = 0;
stale-round-table @@ sysbase/lum/src/softfp/decimal/round_tables.h @@ 0xbdb4de7982fb3375u @@ 0xbdb4de7982fb3374u
stale-chain-table @@ sysbase/lum/gen/chain_steps.h @@ widen(0x1.999999999999ap-4) @@ widen(0x1.9999999999999p-4)
dd-unfused-cross @@ sysbase/lum/src/softfp/decimal/double_double.h @@ std::fma(a, d, b * c) @@ a * d + b * c
dd-add-q @@ sysbase/lum/src/softfp/decimal/double_double.h @@ const double q = a - z; @@ const double q = z - a;
dd-add-overflow-lo @@ sysbase/lum/src/softfp/decimal/double_double.h @@ ? ((a - z) + c) + zz @@ ? ((c - z) + a) + zz
dd-ten-zero-term @@ sysbase/lum/src/softfp/decimal/double_double.h @@ (a * 0.0 + lo_ * 10) @@ (lo_ * 10) @@ equivalent
trunc32-max @@ sysbase/lum/src/softfp/truncate.h @@ return x >= 0x1p31 ? INT32_MAX : INT32_MIN; @@ return x > 0x1p31 ? INT32_MAX : INT32_MIN;
trunc64-max @@ sysbase/lum/src/softfp/truncate.h @@ return x >= 0x1p64 ? UINT64_MAX @@ return x > 0x1p64 ? UINT64_MAX
trunc64-saturate @@ sysbase/lum/src/softfp/truncate.h @@ ? UINT64_MAX : static_cast<uint64_t>(x) @@ ? UINT64_MAX - 1 : static_cast<uint64_t>(x)
trunc64-low @@ sysbase/lum/src/softfp/truncate.h @@ return x <= -0x1p64 ? 1 : @@ return x <= -0x1p64 ? 0 :
trunc64-edge-32bit @@ sysbase/lum/src/softfp/truncate.h @@ } else if (exponent > -53) { @@ } else if (exponent > -52) { @@ ppc
trunc32-fctiw @@ sysbase/lum/src/softfp/truncate.h @@ asm("fctiwz %0,%1" @@ asm("fctiw %0,%1" @@ ppc
high-word-big-endian @@ sysbase/lum/src/softfp/truncate.h @@ (sizeof(T) == 8 && std::endian::native == std::endian::little ? 4 : 0) @@ (sizeof(T) == 8 ? 4 : 0) @@ ppc
conv-f2u-high @@ sysbase/lum/src/softfp/kel_convert.cpp @@ | 0x800000u) << 8; @@ | 0x800000u) << 7;
conv-f2u-infinity @@ sysbase/lum/src/softfp/kel_convert.cpp @@ if (bits <= 0x7F800000u) @@ if (bits < 0x7F800000u)
conv-widen-shift @@ sysbase/lum/src/softfp/kel_convert.cpp @@ bits & 0x7FFFFFu) << 29 @@ bits & 0x7FFFFFu) << 28
conv-widen-nan @@ sysbase/lum/src/softfp/kel_convert.cpp @@ if (value != value) [[unlikely]] @@ if (false)
conv-low16 @@ sysbase/lum/src/softfp/kel_convert.cpp @@ static_cast<uint16_t>(kel::truncate32(source)) @@ static_cast<uint16_t>(kel::truncate64(source))
conv-low32 @@ sysbase/lum/src/softfp/kel_convert.cpp @@ return static_cast<uint32_t>(kel::truncate64(source)); @@ return static_cast<uint32_t>(kel::truncate32(source));
conv-low32-negative @@ sysbase/lum/src/softfp/kel_convert.cpp @@ return static_cast<uint32_t>(static_cast<int32_t>(*source));\n  return static_cast<uint32_t>(kel::truncate64 @@ return static_cast<uint32_t>(*source);\n  return static_cast<uint32_t>(kel::truncate64 @@ sanitize
conv-to-float-direct @@ sysbase/lum/src/softfp/kel_convert.cpp @@ static_cast<float>(static_cast<double>(v)) @@ static_cast<float>(v) @@ equivalent
conv-null-u2d @@ sysbase/lum/src/softfp/kel_convert.cpp @@ void KEL_Uint322Double(const uint32_t *src, double *dst) {\n  if (src == nullptr || dst == nullptr) return; @@ void KEL_Uint322Double(const uint32_t *src, double *dst) {\n  if (src == nullptr) return;
conv64-sum @@ sysbase/lum/src/softfp/kel_convert64.cpp @@ high * 0x1p32 + low @@ high * 0x1p32 - low
conv64-high-signed @@ sysbase/lum/src/softfp/kel_convert64.cpp @@ int32_t, uint32_t> @@ int32_t, int32_t>
buffer-size @@ sysbase/lum/src/softfp/kel_buffer.cpp @@ copy_bytes<sizeof(double)>(buffer, dst) @@ copy_bytes<sizeof(float)>(buffer, dst)
format-precision @@ sysbase/lum/src/softfp/kel_format.cpp @@ "%.14f" @@ "%.15f"
format-null-format @@ sysbase/lum/src/softfp/kel_format.cpp @@ buffer == nullptr || format == nullptr @@ buffer == nullptr
truncated-size0-terminator @@ platform/tarvex/snprintf_truncated_s.cpp @@ || destsz == 0) return -1; @@ ) return -1;\n  if (destsz == 0) { dest[0] = '\0'; return -1; }
truncated-result @@ platform/tarvex/snprintf_truncated_s.cpp @@ : destsz - 1; @@ : destsz;
truncated-failure-empty @@ platform/tarvex/snprintf_truncated_s.cpp @@     dest[0] = '\0';\n @@ <none>
truncated-size0-failure @@ platform/tarvex/snprintf_truncated_s.cpp @@ || destsz == 0) return -1; @@ ) return -1;
scan-saturate @@ platform/tarvex/sscanf_s.cpp @@ if (value > UINT_MAX) { @@ if (value > UINT_MAX + 1ull) {
scan-negate @@ platform/tarvex/sscanf_s.cpp @@ negative ? 0u - magnitude : magnitude @@ negative ? 1u - magnitude : magnitude
strtou32-zero @@ sysbase/lum/src/str/lum_strtou32.cpp @@   *result = 0;\n @@ <none>
case-alphabet @@ sysbase/lum/src/str/lum_case.cpp @@ offset < 26 @@ offset <= 26
case-lower-count @@ sysbase/lum/src/str/lum_case_str.cpp @@ count != 0; @@ count > 1;
case-upper-size0 @@ sysbase/lum/src/str/lum_case_str.cpp @@ if (src == nullptr || size == 0) return; @@ if (src == nullptr) return;
os-open-cloexec @@ sysbase/lum/src/softfp/kel_os.cpp @@ open(path, flags) @@ open(path, flags | O_CLOEXEC)
os-mkfifo-mode @@ sysbase/lum/src/softfp/kel_os.cpp @@ mkfifo(path, mode) @@ mkfifo(path, mode | 0600)
table-operand-kind @@ tools/kelsoft/table/calls.cpp @@ {"KEL_Int322Double", "convert", "W", "d" @@ {"KEL_Int322Double", "convert", "w", "d"
table-result-kind @@ tools/kelsoft/table/calls.cpp @@ {"KEL_Double2Short", "convert", "d", "H" @@ {"KEL_Double2Short", "convert", "d", "h"
table-missing-call @@ tools/kelsoft/table/calls.cpp @@     {"KEL_Dceil", "elementary", "d", "d", source_first<double, double, KEL_Dceil>},\n @@ <none>
table-missing-name @@ tools/kelsoft/table/calls.cpp @@     {"KEL_Close", "os", "", "", nullptr, nullptr, kOs},\n @@ <none>
table-one-fill @@ tools/kelsoft/table/calls.cpp @@  || other.out[i].bits != filled_bits(r.kind, kOtherFill) @@ <none>
table-uint32-signed @@ tools/kelsoft/table/calls.cpp @@ {"KEL_Double2Uint32", "convert", "d", "w" @@ {"KEL_Double2Uint32", "convert", "d", "W"
hpp-long-double @@ include/kelsoft.hpp @@     if (*p == 'l') ++p; @@     if (*p == 'l' || *p == 'L') ++p;
hpp-receiver-thread @@ include/kelsoft.hpp @@ if (n->owner == token) return n; @@ if (n->owner != token) return n;
syslog-priority @@ sysbase/lum/src/str/lum_syslog.cpp @@ vsyslog(LOG_INFO, @@ vsyslog(LOG_NOTICE,
EOF
}

# Puts the fault into the scratch copy, keeping the original in $scratch/original;
# prints the file's path.
apply() {
  python3 - "$scratch/src" "$@" <<'PY'
import sys
from pathlib import Path
src, hint, old, new = Path(sys.argv[1]), sys.argv[2], *(a.replace('\\n', '\n') for a in sys.argv[3:5])
def count(path):
    try:
        return (src / path).read_text().count(old)
    except (FileNotFoundError, UnicodeDecodeError):
        return 0
path = hint
if not (src / hint).exists():  # moved: the one source file that holds the text once
    found = [p for p in (src / 'files').read_text().split('\0')
             if p and not p.endswith('.md') and p != 'scripts/mutate.sh' and count(p) == 1]
    if len(found) != 1:
        sys.exit(f"{hint} is gone, and {len(found)} other files hold the text once")
    path = found[0]
if count(path) != 1:
    sys.exit(f"{path}: the text occurs {count(path)} times")
text = (src / path).read_text()
(src.parent / 'original').write_text(text)
(src / path).write_text(text.replace(old, new))
print(path)
PY
}

# A preset's build, made on first use; tests failing there without any fault
# are left out (and named).
declare -A exclude
setup() {
  local preset=$1
  [[ -n ${exclude[$preset]+set} ]] && return 0
  echo "building $preset"
  (cd "$scratch/src" && cmake --preset "$preset" -DKEL_BUILD_BENCH=OFF -DCMAKE_COMPILE_WARNING_AS_ERROR=OFF \
    >"$scratch/configure.log" 2>&1) || { echo "$preset: the unchanged sources do not configure"; exit 1; }
  build "$preset" || { echo "$preset: the unchanged sources do not build"; exit 1; }
  run_tests "$preset" || true
  local skip
  skip=$(failed | paste -sd'|')
  exclude[$preset]=${skip:+^($skip)\$}
  [[ -z $skip ]] || echo "$preset: failing before any fault, left out: $skip"
}
# The tests ctest names as failed in its summary.
failed() { sed -n '/tests FAILED:/,$s/^[[:space:]]*[0-9]\+ - \([^ ]*\) .*/\1/p' "$scratch/test.log"; }
build() { (cd "$scratch/src" && cmake --build --preset "$1" -j "$jobs" >"$scratch/build.log" 2>&1); }
run_tests() {
  local preset=$1; shift
  ctest --test-dir "$scratch/src/build/$preset" -j "$jobs" --timeout 600 -LE 'long|consumer' "$@" \
    >"$scratch/test.log" 2>&1
}

echo "scratch: $scratch"
mkdir -p "$scratch/src"
(cd "$root" && git ls-files -z | tee "$scratch/src/files" | tar --null -T - -cf -) | tar -xf - -C "$scratch/src"

caught=0 missed=0 equivalent=0 total=0
missed_names=()
miss() {
  echo "MISSED    $1 ($2)"
  missed=$((missed + 1))
  missed_names+=("$1")
}
while IFS= read -r line; do
  [[ -z $line ]] && continue
  IFS=$'\x1f' read -r -a field <<<"${line// @@ /$'\x1f'}"
  name=${field[0]} file=${field[1]} old=${field[2]} new=${field[3]}
  [[ $new == "<none>" ]] && new=""
  preset=host note=""
  for extra in "${field[@]:4}"; do
    if [[ $extra == equivalent ]]; then note=equivalent; else preset=$extra; fi
  done
  [[ -n $filter && ! $name =~ $filter ]] && continue
  total=$((total + 1))
  setup "$preset"
  if ! path=$(apply "$file" "$old" "$new" 2>"$scratch/apply.log"); then
    miss "$name" "$(cat "$scratch/apply.log")"
    continue
  fi
  [[ $path == "$file" ]] || echo "          $name: $file is now $path"
  if ! build "$preset"; then
    echo "caught    $name ($preset build: $(grep -m1 -o 'error: .*' "$scratch/build.log" | cut -c1-100))"
    caught=$((caught + 1))
  elif ! run_tests "$preset" --stop-on-failure ${exclude[$preset]:+-E "${exclude[$preset]}"}; then
    echo "caught    $name ($preset: $(failed | head -1))"
    caught=$((caught + 1))
  elif [[ $note != equivalent ]]; then
    miss "$name" "$preset"
  elif grep -q "\`$name\`" "$root/docs/reliability.md"; then
    echo "same      $name"
    equivalent=$((equivalent + 1))
  else
    miss "$name" "equivalent, but docs/reliability.md does not argue it"
  fi
  cp "$scratch/original" "$scratch/src/$path"
done < <(mutants)

echo "$total faults in $((SECONDS / 60)) min $((SECONDS % 60)) s"
[[ $missed == 0 ]] || echo "missed: ${missed_names[*]}"
echo "$caught caught, $equivalent equivalent (each argued in docs/reliability.md), $missed missed"
[[ $missed == 0 ]]
