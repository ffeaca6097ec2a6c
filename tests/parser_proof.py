#!/usr/bin/env python3
"""The bounds docs/parser.md proves, recomputed in exact rationals from the
constants and tables as the sources define them: fails, naming the bound,
where a table or a constant no longer satisfies what the proof needs.
  tests/parser_proof.py [source root]
"""
import functools
import math
import re
import sys
from fractions import Fraction as Q
from pathlib import Path

ROOT = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parents[1])
TEXT = "\n".join(p.read_text() for p in sorted((ROOT / "sysbase/lum").rglob("*")) if p.suffix in (".h", ".cpp"))
INF = float("inf")
u, delta = Q(1, 2**53), Q(1, 2**54)
failures = []


def check(what, holds, value=""):
    print(f"{'ok  ' if holds else 'FAIL'} {what} {value}")
    failures.extend([] if holds else [what])


def number(s):
    s = s.strip().rstrip("u")
    if "kInf" in s:
        return -INF if s.startswith("-") else INF
    return Q(float.fromhex(s)) if "p" in s else eval(re.sub(r"uint64_t\{(\w+)\}", r"\1", s).replace("/", "//"))


def constant(name):
    values = {number(v) for v in re.findall(rf"^\s*(?:inline )?constexpr [\w:]+ {name} = ([^;]+);", TEXT, re.M)}
    assert len(values) == 1, f"{name}: defined as {values or 'nothing'}"
    return values.pop()


def literal(pattern): return int(re.search(pattern, TEXT).group(1))


def table(name):
    (body,) = re.findall(rf"^(?:inline )?constexpr \w+ {name}\[[^=\n]*= \{{\n(.*?)\n\}};", TEXT, re.M | re.S)
    return [[number(x) for x in e.split(",")] for e in re.findall(r"\{([^{}]*)\}", body)]


def exact(pair): return pair[0] + pair[1]


digits, held, max_integer, max_count, min_exp, max_exp = (int(constant("k" + n)) for n in (
    "TermDigits", "HeldDigits", "MaxIntegerDigits", "MaxExponentMagnitude", "MinResultExponent", "MaxResultExponent"))
term = [table("kTerm")[10 * k:10 * k + 10] for k in range(digits)]
ten, tenth = table("kTenPower"), table("kTenthPower")
bits = max_count.bit_length()

# The tables and the chain's tenth.
check("kTenth = 0.1 (1 + 2^-54)", constant("kTenth") == Q(1, 10) * (1 + delta))
check("each term exceeds d 10^-(k+1) by less than 2 * 10^-15 relative, and term k is below 10^-k", all(
    0 < exact(term[k][d]) / Q(d, 10 ** (k + 1)) - 1 < Q(2, 10**15) and exact(term[k][9]) < Q(1, 10**k)
    for k in range(digits) for d in range(1, 10)))
limit = constant("kExactIntegerLimit")
check("below kExactIntegerLimit n * 10 + 9 < 2^53, and the limit is at least 9 * 10^14", (limit - 1) * 10 + 9 < 2**53
      and limit >= 9 * 10**14)
check("the powers are finite below the count's bits and infinite or zero at them",
      all(p[0] not in (0, INF) for p in ten[:bits] + tenth[:bits]) and (ten[bits][0], tenth[bits][0]) == (INF, 0)
      and max_count == 2**bits - 1)
if failures:
    sys.exit("the count's limit does not fit the power tables")

# Per operation (docs/parser.md, "The chain's deviation per operation").
e = u * (1 + u)                 # the error of z = fl(a + c), per unit of X = a + c
r1 = u * (e + u)                # fl(e + aa)
r2 = u * (e + u + r1 + u)       # + cc
add = (r1 + r2) / (1 - u)       # relative to the exact sum >= X (1 - u)
bc = u                                  # |b c| <= u a c, rounded: u^2 a c
cross = u + bc * (1 + u)                # fma(a, d, fl(b c)), rounded: u cross
tau = cross * (1 + u) + u               # fl(cross + error), the error of t below u a c
check("a subnormal piece's absolute error 2^-1075 is within u^2 of a product >= 2^(kMinResultExponent - 1)", Q(1, 2**1075)
      <= u * u * Q(2) ** (min_exp - 1))
mul = (u * (bc + cross + tau) + u * u) / (1 - u) ** 2 + 3 * u * u  # b d left out: u^2 a c
op = 16 * u * u
check("addition and multiplication deviate by at most 16 u^2", add <= op and mul <= op,
      f"(add {float(add / u / u):.3f} u^2, mul {float(mul / u / u):.3f} u^2)")
ops = 2 * max_integer + digits + bits
chain = (1 + op) ** ops - 1
check(f"the chain's {ops} operations stay below 2^-92", chain < Q(1, 2**92), f"(2^{math.log2(chain):.2f})")

# The 64-bit step.
rho = max(abs(exact(term[k][d]) - Q(d, 10 ** (k + 1)) * (1 + (k + 1) * delta)) / Q(d, 10 ** (k + 1))
          for k in range(held) for d in range(1, 10))
check("|rho| <= 2^-99 for the held terms", rho <= Q(1, 2**99), f"(2^{math.log2(rho):.1f})")
g = sum((k + 1) * 9 * 10 ** (held - 1 - k) for k in range(held))
check("G < 2^64 and D + (G >> 54) < 2^64", g < 2**64 and 10**held + (g >> 54) < 2**64)
nines = [sum(exact(term[k][9]) for k in range(j)) for j in range(digits + 1)]
over = nines[digits] - 1
check("the fraction of a long integer adds to less than 1 + 2^-53", over < Q(1, 2**53),
      f"(from {next(j for j, s in enumerate(nines) if s > 1)} nines on it exceeds one)")


def top64(p, target):  # |hi - target| in units of the 64-bit mantissa hi of a 128-bit entry
    return abs(p[0] - target / Q(2) ** (p[2] + 64)) if target else 0


def product(powers, c, shift=0):
    return Q(1) if c == 0 else exact(powers[(c & -c).bit_length() - 1 + shift]) * product(powers, c & (c - 1), shift)


low, high = {t: table(t) for t in ("kTenLow", "kTenthLow")}, {t: table(t) for t in ("kTenHigh", "kTenthHigh")}
inverse = table("kInverseTen")
t64 = max([top64(inverse[n], Q(1, 10**n)) for n in range(held + 1)]
          + [top64(low["kTenLow"][c], 10**c) for c in range(32)]  # 10^r of a long integer
          + [top64(high["kTenHigh"][c], Q(10) ** (32 * c)) for c in range((max_integer - held >> 5) + 1)]
          + [top64(low[n + "Low"][c], product(p, c)) for n, p in (("kTen", ten), ("kTenth", tenth)) for c in range(32)]
          + [top64(high[n + "High"][c], product(p, c, 5)) for n, p in (("kTen", ten), ("kTenth", tenth))
             for c in range(2 ** (bits - 5))])
check("the 64-bit factors are within 2 units of what they stand for", t64 <= 2, f"({float(t64):.3f})")


def times64(r, c):  # (real bound, the proof's bound) after one product of the 64-bit step
    return (r * (2**64 - 1) + t64 * (2**64 - 1) + r * t64) / 2**63 + 1 - Q(1, 2**63), 2 * (c + 2) + 1


# Texts cut after their held digits (round64_cut): the scan's digits modulo
# 2^64 give D19 modulo 2^(64-r), placed by the leading digits read again.
summed, max_cut = constant("kSummedDigits"), constant("kMaxCutDigits")
(cut_body,) = re.findall(r"kCut\[[^=\n]*= \{(.*?)\};", TEXT, re.S)
cut = [[number(x) for x in e.split(",")] for e in re.findall(r"\{([^{}]*)\}", cut_body)]
check("kCut: 2^64 / 10^r rounded down and 5^-r modulo 2^64", len(cut) == max_cut + 1 and all(
    scale == 2**64 // 10**r and inverse * 5**r % 2**64 == 1 for r, (scale, inverse) in enumerate(cut) if r))
check("the leading digits place D19 among its residues modulo 2^(64-r)",
      10 ** (held - summed) <= 2 ** (64 - max_cut))
# Relative to the value: the weights after the summed digits (below 10^u / 9,
# D >= 10^(u + summed - 1)); the cut digits' weights, their terms' own
# errors and their value's rounding to units of 2^-64 (D19 >= 10^18).
term_rel = max(exact(term[k][d]) / Q(d, 10 ** (k + 1)) - 1 for k in range(digits) for d in range(1, 10))
weights_cut = delta * Q(1, 9 * 10 ** (summed - 1))
cut_digits = (delta * (held + 2) + term_rel + Q(10**max_cut, 2**64)) / 10 ** (held - 1)
check("the cut text's parts left out stay below 2^-66 of the value", weights_cut + cut_digits < Q(1, 2**66),
      f"(2^{math.log2(weights_cut + cut_digits):.1f})")
model = constant("kRound64ModelError")
shifted = 2 ** (64 - (10 ** (held - 1)).bit_length())  # a long integer's head, at least 10^18, to the top bit
long_start = (shifted * (1 + over), shifted)
ends = [functools.reduce(lambda rc, _: times64(*rc), range(factors + count), start) for count in range(3)
        for start, factors in (((1, 1), 0), ((1, 1), 1), (long_start, 1), (long_start, 2))]
worst = max(c for r, c in ends)
covered = all(c + model + 1 - r - (chain + Q(1, 2**99) + weights_cut + cut_digits) * (2**64 + r) > 0 for r, c in ends)
check("64-bit step: every path's error, the chain's and rho' are below E + kRound64ModelError + 1", covered)
check("64-bit step: E + kRound64ModelError stays below 0x400", worst + model < 0x400, f"(E at most {worst})")

# The 128-bit step.
fixed = table("kTermFixed")
term_error = max(abs(fixed[10 * k + d][0] * 2**64 + fixed[10 * k + d][1] - exact(term[k][d]) * 2**127)
                 for k in range(digits) for d in range(10))
check("fraction terms within 1/2 of 2^-127, their sum within kTermError", term_error <= Q(1, 2)
      and digits * term_error <= constant("kTermError"))
check("any fraction's terms add to less than 2^128", sum(f[0] * 2**64 + f[1] for f in fixed[9::10]) < 2**128)


def wide(p): return p[0] * 2**64 + p[1], p[2]


def mul_top(x, y):  # wide.h: the low halves' product left out, the top 128 bits kept
    s = x * y - (x % 2**64) * (y % 2**64)
    return (s >> 128, 1) if s >> 255 else (s >> 127, 0)


err_low, err_both = literal(r"times\(x, low\[count\], (\d+)\)"), literal(r"t\.shifted\}, (\d+)\)")
entries = [(c, low[n + "Low"][c & 31], high[n + "High"][c >> 5], product(p, c))
           for n, p in (("kTen", ten), ("kTenth", tenth)) for c in range(max_count + 1)]
t_low = max(abs(wide(a)[0] - v / Q(2) ** a[2]) for c, a, b, v in entries if c < 32)
t_both = max(abs(m - v / Q(2) ** (a[2] + b[2] + 127 + s)) for c, a, b, v in entries if c >= 32
             for m, s in [mul_top(wide(a)[0], wide(b)[0])])
check("powers within their error: one entry, and two multiplied", t_low <= err_low and t_both <= err_both,
      f"({float(t_low):.3f} <= {err_low}, {float(t_both):.3f} <= {err_both})")
shift = literal(r"shift < -(\d+)\) return")
e128 = 1 + constant("kTermError") * 2**shift
r128 = 1 + digits * term_error * 2**shift
m = 2**128 - 1  # below: the low halves' product (< 2^128) and the bits dropped (< 2^127) left out
check("128-bit step: one product keeps E <= 2 (E_M + E_P) + 4", all(
    (r128 * m + t * m + r128 * t + 2**128) / 2**127 + 1 <= 2 * (e128 + c) + 4
    for t, c in ((t_low, err_low), (t_both, err_both))))
e128 = 2 * (e128 + err_both) + 4
kchain = constant("kChainError")
check("kChainError covers the chain's deviation", chain * (2**128 + e128) < kchain + 1)
check("128-bit step: E + kChainError < 2^62", e128 + kchain < 2**62, f"(E below 2^{e128.bit_length()})")

# The range taken.
finite = Q(2) ** 1024 - Q(2) ** 970
check("integers of kMaxIntegerDigits digits, times ten, stay finite", 10**max_integer * (1 + chain) < finite)
check("results below 2^(kMaxResultExponent + 1) are below 2^1023", max_exp + 1 <= 1023)
sys.exit(f"{len(failures)} bound(s) fail: " + "; ".join(failures) if failures else 0)
