# The library's functions as rules, for checking the product's answers.
#
# Values are their bit patterns. Every floating-point operation works on the
# exact values (integers times powers of two) and is rounded by rnd(), to
# nearest with ties to even: nothing here trusts the host's arithmetic. A call
# is answered as the vectors' lines answer it (tools/kelsoft/lines.h):
# results in hex, texts quoted, then " ! NAME" for each report.
import functools
import math
import re
import struct


class Fmt:
    def __init__(self, width, m):
        self.m, self.ew, self.digits = m, width - 1 - m, width // 4
        self.bias, self.sign = (1 << (width - 2 - m)) - 1, 1 << (width - 1)
        self.inf, self.magnitude, self.fraction = ((1 << self.ew) - 1) << m, self.sign - 1, (1 << m) - 1
        self.nan = self.inf | 1 << (m - 1)  # the target's own NaN: positive, quiet, no payload


D, F = Fmt(64, 52), Fmt(32, 23)
M32, M64 = (1 << 32) - 1, (1 << 64) - 1
BEYOND = 1 << 2000  # an infinity, as an integer beyond every range tested


def isnan(f, x): return x & f.magnitude > f.inf
def isinf(f, x): return x & f.magnitude == f.inf
def finite(f, x): return x & f.magnitude < f.inf
def iszero(f, x): return x & f.magnitude == 0


# A NaN operand passes through, quieted; of two, the first (None: no NaN).
def first_nan(f, *xs): return next((x | 1 << (f.m - 1) for x in xs if isnan(f, x)), None)
def nan_through(op): return lambda f, *xs: first_nan(f, *xs) or op(f, *xs)  # a quiet NaN is never 0


# A finite value as (M, E), the value M * 2**E.
def exact(f, x):
    e, mant = x >> f.m & f.inf >> f.m, x & f.fraction
    mant, e = (mant | f.fraction + 1, e) if e else (mant, 1)
    return (-mant if x & f.sign else mant), e - f.bias - f.m


# mant * 2**e, and a little more in magnitude when sticky, rounded once.
def rnd(f, mant, e, sticky=False, negative_zero=False):
    s = f.sign if mant < 0 or (mant == 0 and negative_zero) else 0
    mant = abs(mant)
    if mant == 0:
        return s
    k = max(mant.bit_length() + e - 1, 1 - f.bias) - f.m  # the exponent of the last place kept
    if k > e:
        q, r, half = mant >> (k - e), mant & (1 << (k - e)) - 1, 1 << (k - e - 1)
        q += r > half or (r == half and (sticky or q & 1))
    else:
        q = mant << (e - k)
    q, k = (q >> 1, k + 1) if q >> (f.m + 1) else (q, k)
    biased = k + f.m + f.bias if q >> f.m else 0  # 0: subnormal, or zero after underflow
    return s | (f.inf if biased >= f.inf >> f.m else biased << f.m | q & f.fraction)


@nan_through
def add(f, a, b):
    if isinf(f, a) or isinf(f, b):
        return f.nan if isinf(f, a) and isinf(f, b) and (a ^ b) & f.sign else (a if isinf(f, a) else b)
    (ma, ea), (mb, eb) = exact(f, a), exact(f, b)
    e = min(ea, eb)  # an exact zero is -0 only as the sum of two -0
    return rnd(f, (ma << (ea - e)) + (mb << (eb - e)), e, negative_zero=a & b & f.sign)


def sub(f, a, b): return add(f, a, b if isnan(f, b) else b ^ f.sign)


@nan_through
def mul(f, a, b):
    s = (a ^ b) & f.sign
    if isinf(f, a) or isinf(f, b):
        return f.nan if iszero(f, a) or iszero(f, b) else s | f.inf
    (ma, ea), (mb, eb) = exact(f, a), exact(f, b)
    return rnd(f, ma * mb, ea + eb, negative_zero=s)


@nan_through
def div(f, a, b):
    s = (a ^ b) & f.sign
    if isinf(f, a) or iszero(f, b):
        return f.nan if isinf(f, b) or iszero(f, a) else s | f.inf
    if isinf(f, b) or iszero(f, a):
        return s
    (ma, ea), (mb, eb) = exact(f, a), exact(f, b)
    shift = f.m + 3 + mb.bit_length()  # enough quotient bits to round
    q, r = divmod(abs(ma) << shift, abs(mb))
    return rnd(f, -q if s else q, ea - eb - shift, sticky=r != 0)


@nan_through
def sqrt(f, a):
    if iszero(f, a) or a & f.sign or a == f.inf:
        return f.nan if a & f.sign and not iszero(f, a) else a
    m, e = exact(f, a)
    shift = 2 * f.m + 4 + (e & 1)  # bits enough for the root, and an even exponent
    r = math.isqrt(m << shift)
    return rnd(f, r, (e - shift) // 2, sticky=r * r != m << shift)


def trunc(f, x):  # toward zero
    if isinf(f, x):
        return -BEYOND if x & f.sign else BEYOND
    m, e = exact(f, x)
    return m << e if e >= 0 else (abs(m) >> -e) * (1 if m >= 0 else -1)


@nan_through
def ceil(f, x):
    m, e = exact(f, x) if finite(f, x) else (0, 0)  # an infinity is its own ceiling
    return x if e >= 0 else rnd(f, -(-m >> -e), 0, negative_zero=x & f.sign)


# One rounding into dst. A NaN keeps its sign and leading payload bits, and is
# quieted only when narrowed: widening is exact, a signalling NaN included.
def convert(src, dst, x):
    s = dst.sign if x & src.sign else 0
    if isnan(src, x):
        p = x & src.fraction
        return s | dst.inf | (p << (dst.m - src.m) if dst.m > src.m else p >> (src.m - dst.m) | 1 << (dst.m - 1))
    return s | dst.inf if isinf(src, x) else rnd(dst, *exact(src, x), negative_zero=s)


def trunc32(f, x):
    t = 0 if isnan(f, x) else trunc(f, x)
    return 0x80000000 if isnan(f, x) or t <= -2**31 else 0x7FFFFFFF if t >= 2**31 else t & M32


def trunc64(x):
    t = 0 if isnan(D, x) else trunc(D, x)
    return 0x8000000080000000 if isnan(D, x) else M64 if t >= 2**64 else 1 if t <= -2**64 else t & M64


def float2uint32(x):  # from 2^31 on, 2^31 off in single precision first
    big = not isnan(F, x) and trunc(F, x) >= 2**31
    return trunc32(F, sub(F, x, 0x4F000000)) + 0x80000000 & M32 if big else trunc32(F, x)


# The parser's accumulator is the target's long double: a pair (hi, lo) of
# doubles whose sum is the value. Its + and * are the target compiler
# runtime's double-double routines, step for step: each step is one double
# operation in the order written, and that order decides the last bits and
# where infinities and zeros appear. A result given as one double r is (r, +0).
def dd_add(x, y):  # (a, aa) + (c, cc); not symmetric
    (a, aa), (c, cc) = x, y
    z = add(D, a, c)
    if isnan(D, z):
        return z, 0
    if isinf(D, z):  # the high parts overflow; the low parts may bring the sum back
        z = add(D, add(D, add(D, cc, aa), c), a)
        if not finite(D, z):
            return z, 0
        big, small = (a, c) if a & D.magnitude > c & D.magnitude else (c, a)
        return z, add(D, add(D, sub(D, big, z), small), add(D, aa, cc))
    q = sub(D, a, z)
    zz = add(D, add(D, add(D, add(D, q, c), sub(D, a, add(D, q, z))), aa), cc)
    if iszero(D, zz):
        return z, 0
    hi = add(D, z, zz)
    return (hi, add(D, sub(D, z, hi), zz)) if finite(D, hi) else (hi, 0)


def fma(x, y, z):  # x*y + z rounded once
    if not (finite(D, x) and finite(D, y) and finite(D, z)):
        return add(D, mul(D, x, y), z)  # the same result as fused, for these operands
    (mx, ex), (my, ey), (mz, ez) = exact(D, x), exact(D, y), exact(D, z)
    e = min(ex + ey, ez)
    return rnd(D, (mx * my << (ex + ey - e)) + (mz << (ez - e)), e,
               negative_zero=mx * my == 0 and mz == 0 and (x ^ y) & z & D.sign)


# (a, b) * (c, d). The error of t = a*c comes from one fused step, and the
# cross terms a*d + b*c are one fused multiply-add too: the target's compiler
# contracts that sum, and the target's products in tests/vectors/extended.vec
# show it (with two roundings, lo's last bits differ in 37 of 646).
@functools.lru_cache(maxsize=1 << 16)  # the scales and powers recur from text to text
def dd_mul(x, y):
    (a, b), (c, d) = x, y
    t = mul(D, a, c)
    if iszero(D, t) or not finite(D, t):
        return t, 0
    tau = add(D, fma(a, c, t ^ D.sign), fma(a, d, mul(D, b, c)))
    u = add(D, t, tau)
    return (u, add(D, sub(D, t, u), tau)) if finite(D, u) else (u, 0)


DIGITS = [(rnd(D, d, 0), 0) for d in range(11)]  # each widened exactly, low part zero
ONE, TEN, TENTH = DIGITS[1], DIGITS[10], (0x3FB999999999999A, 0)  # the tenth: the double nearest 0.1


# KEL_SoftStr2Float of bytes (None: a null text): the double and the end offset.
# An exponent letter needs a sign or a digit after it, or the parse fails.
NUMBER = re.compile(rb" *([+-]?)(\d*)(?:\.(\d*))?(?:[eE]([+-]?)(\d*))?")


def parse(text):
    if text is None:
        return 0, None  # and a log line
    m = NUMBER.match(text)
    negative, whole, fraction, sign = m[1] == b"-", m[2], m[3] or b"", m[4]
    count = functools.reduce(lambda n, c: (n * 10 + c - 0x30) & M32, m[5] or b"", 0)  # modulo 2^32
    acc, scale, base = (0, 0), ONE, TENTH if sign == b"-" else TEN
    for c in whole:
        acc = dd_add(dd_mul(acc, TEN), DIGITS[c - 0x30])
    for c in fraction:
        scale = dd_mul(scale, TENTH)
        acc = dd_add(acc, dd_mul(DIGITS[c - 0x30], scale))
    while count:  # square and multiply, the lowest bit first
        acc = dd_mul(acc, base) if count & 1 else acc
        count >>= 1
        base = dd_mul(base, base) if count else base
    failed = sign == m[5] == b""
    return (0 if failed else acc[0]) ^ (D.sign if negative else 0), 0 if failed else m.end()


def is_lower(c): return int((c - 0x61) & 0xFF <= 25)
def is_upper(c): return int((c - 0x41) & 0xFF <= 25)
def to_upper(c): return (c - 32) & 0xFF if is_lower(c) else c
def to_lower(c): return (c + 32) & 0xFF if is_upper(c) else c


# libtarvex's sscanf_s, as far as the library uses it (%u conversions):
# (conversions made or -1 when the text ends before the first, values).
def scan(fmt, text):
    if fmt is None or text is None:
        return -1, []
    text, i, values, blank = text.split(b"\0")[0], 0, [], b" \t\n\v\f\r"
    for piece in re.findall(rb"\s+|%u|%%|%?.", fmt.split(b"\0")[0], re.S):
        if piece[0] in blank + b"%":  # white space in the format, %% and %u skip white space
            i = len(text) - len(text[i:].lstrip(blank))
            if piece[0] != 0x25:
                continue
        if i >= len(text):
            return len(values) or -1, values
        number = re.match(rb"[+-]?(\d+)", text[i:]) if piece == b"%u" else None
        if number:  # beyond 32 bits: the largest; a '-' negates modulo 2^32
            n = int(number[1])
            values.append(M32 if n > M32 else -n & M32 if text[i] == 0x2D else n)
            i += number.end()
        elif piece == b"%%" or (piece[0] != 0x25 and piece == text[i:i + 1]):
            i += 1
        else:
            break  # a mismatch, or a conversion not offered
    return len(values), values


# The formatter's text of one double (C's printf, spelled here by Python's).
def cformat(fmt, x):
    if isnan(D, x):  # printed like an infinity of its sign, spelled nan
        return cformat(fmt, x & D.sign | D.inf).replace(b"inf", b"nan").replace(b"INF", b"NAN")
    v = struct.unpack(">d", x.to_bytes(8, "big"))[0]
    if b"%a" in fmt:
        h = float.hex(abs(v)).split("p")
        h = h[0].rstrip("0").rstrip(".") + "p" + h[1] if finite(D, x) else "inf"
        return fmt.replace(b"%a", b"%s") % (("-" if x & D.sign else "") + h).encode()
    return fmt % v if b"%" in fmt.replace(b"%%", b"") else fmt % ()  # no conversion: the value unused


# The calls as lines make them: the operands (numbers as bits, texts as
# bytes, None for a null address), then null (a null result address); the
# elementary functions also take lib, the C library's value, which this model
# does not compute. Each gives its results as words and the hook's reports.
ILL, NOT_STORED = "PARA IN ILLEGAL", "a5"  # the byte a result object holds before the call


def hx(v, digits): return format(v, "0%dx" % digits)
def fill(digits): return NOT_STORED * (digits // 2)
def signed(v, bits): return v - (v >> (bits - 1) << bits)
def quoted(b): return '"' + "".join(chr(c) if 32 < c < 127 and c not in b'"\\' else "\\x%02x" % c for c in b) + '"'


def stored(f, r):  # stored, then the fault check
    return [hx(r, f.digits)], ["FP_NAN"] if isnan(f, r) else ["FP_INFINITE"] if isinf(f, r) else []


def answered(f, xs, null, value, bad):  # bad: reported as illegal first
    if None in xs or null:
        return [fill(f.digits)], []
    words, reports = stored(f, value(*xs))
    return words, ([ILL] if bad(f, *xs) else []) + reports


def arith(f, op):
    bad = lambda f, a, b: op is div and (iszero(f, b) or isnan(f, b))
    return lambda a, b, null: answered(f, (a, b), null, lambda a, b: op(f, a, b), bad)


def order(f, a, b):  # 1: a above b, 2: below, 0: equal or unordered
    ka, kb = (-(x & f.magnitude) if x & f.sign else x for x in (a, b))
    return 0 if isnan(f, a) or isnan(f, b) else 1 if ka > kb else 2 if ka < kb else 0


def compare(f): return lambda a, b, null: ([hx(M32 if None in (a, b) else order(f, a, b), 8)], [])


def elementary(f, value, bad=lambda f, x: False):
    return lambda x, null, lib=None: answered(f, (x,), null, lambda x: value(x, lib), bad)


def below_zero(f, x): return x & f.sign and not iszero(f, x) and not isnan(f, x)


@nan_through
def log(f, x, lib):
    return x if x == f.inf else f.sign | f.inf if iszero(f, x) else f.nan if x & f.sign else lib


def exp(x, lib): return first_nan(D, x) if isnan(D, x) else x if x == D.inf else 0 if x == D.sign | D.inf else lib


def power(b, e, null, lib=None):  # tests no address
    return stored(D, (first_nan(D, b, e) if isnan(D, b) or isnan(D, e) else D.nan) if isnan(D, lib) else lib)


def int_ratio(n, d, null):  # a zero denominator: nothing divided, nothing stored
    return ([fill(16)], [] if null else [ILL]) if null or d == 0 else stored(D, div(D, rnd(D, n, 0), rnd(D, d, 0)))


CONVERSIONS = {  # name: (hex digits of the result, rule)
    "Double2Ushort": (4, lambda x: trunc32(D, x) & 0xFFFF), "Double2Short": (4, lambda x: trunc32(D, x) & 0xFFFF),
    "Double2Int32": (8, lambda x: trunc32(D, x)), "Float2Int32": (8, lambda x: trunc32(F, x)),
    "Float2Uint32": (8, float2uint32), "Double2Uint32": (8, lambda x: trunc64(x) & M32),
    "Int322Double": (16, lambda x: rnd(D, signed(x, 32), 0)), "Uint322Double": (16, lambda x: rnd(D, x, 0)),
    "Short2Double": (16, lambda x: rnd(D, signed(x, 16), 0)), "Ushort2Double": (16, lambda x: rnd(D, x, 0)),
    "Int322Float": (8, lambda x: rnd(F, signed(x, 32), 0)), "Uint322Float": (8, lambda x: rnd(F, x, 0)),
    "Float2Double": (16, lambda x: convert(F, D, x)),
    "Buff2Float": (8, lambda x: x),  # the bytes, whatever they hold
    "Buff2Double": (16, lambda x: x), "Float2Buff": (8, lambda x: x), "Double2Buff": (16, lambda x: x),
    "Double2Int64": (16, trunc64), "Double2Uint64": (16, trunc64),
    "Int642Double": (16, lambda x: rnd(D, signed(x, 64), 0)), "Uint642Double": (16, lambda x: rnd(D, x, 0)),
}


def into_buffer(text, size): return quoted(text[:size - 1] + b"\0" if size else b"")  # size 0: nothing written


def formatting(fixed, widen=False):
    def call(v, size, fmt, null):
        ok = None not in (v, fmt) and not null
        return [into_buffer(cformat(fmt, convert(F, D, v) if widen else v), size) if ok else '""'], []
    return call if fixed is None else lambda v, size, null: call(v, size, fixed, null)


def evaluate(f):  # KEL_Deva, KEL_Seva
    return lambda t, null: ([fill(f.digits) if t is None or null else hx(convert(D, f, parse(t)[0]), f.digits)], [])


def soft_str2float(text, null):
    d, end = parse(text)
    return [hx(d, 16), "null" if end is None else hx(end, 8)], []


def str_to_lower(s, count, null):  # up to count bytes before the terminator
    n = min(count, len((s or b"").split(b"\0")[0]))
    return ['""' if s is None else quoted(bytes(map(to_lower, s[:n])) + s[n:] + b"\0")], []


def str_to_upper(s, size, null):  # size 0: no room for the terminator, nothing written
    return ['""' if s is None or size == 0 else quoted(bytes(map(to_upper, s.split(b"\0")[0][:size - 1])) + b"\0")], []


def str_to_uint32(text, null):
    if text is None or null:
        return [hx(22, 8), fill(8)], []
    count, values = scan(b"%u", text)
    return [hx(0, 8), hx(values[0], 8)] if count > 0 else [hx(22, 8), hx(0, 8)], []


def each_byte(rule): return lambda first, last, null: ([quoted(bytes(rule(c) & 0xFF for c in range(first, last + 1)))], [])


def scanned(fmt, text, null):
    count, values = scan(fmt, text)
    return [hx(count & M32, 8)] + [hx(v, 8) for v in values] + [fill(8)] * (2 - len(values)), []


def hard_text(text, null):  # the text in place of its number
    return soft_str2float(text, null)[0] + evaluate(F)(text, null)[0], []


FAMILIES = {
    "arith": {
        **{"KEL_" + p + n: arith(f, op) for p, f in (("D", D), ("S", F))
           for n, op in (("add", add), ("sub", sub), ("mut", mul), ("div", div))},
        "KEL_Dcmp": compare(D), "KEL_Scmp": compare(F), "DdivIntoDivisor": arith(D, div)},
    "elementary": {
        **{n: elementary(f, lambda x, lib, f=f: log(f, x, lib), lambda f, x: iszero(f, x) or below_zero(f, x))
           for n, f in (("KEL_SLog", F), ("KEL_DLog", D), ("KEL_SLog10", F), ("KEL_DLog10", D))},
        "KEL_DSqrtf": elementary(F, lambda x, lib: sqrt(F, x), below_zero),
        "KEL_DSqrt": elementary(D, lambda x, lib: sqrt(D, x), below_zero),
        "KEL_Dceil": elementary(D, lambda x, lib: ceil(D, x)), "KEL_DExp": elementary(D, exp),
        "KEL_AddPowForKavri": power, "KEL_IntMut": int_ratio},
    "parse": {
        "KEL_SoftStr2Float": soft_str2float, "KEL_Deva": evaluate(D), "KEL_Seva": evaluate(F), "HardText": hard_text,
        "DDadd": lambda a, b, c, d, null: ([hx(v, 16) for v in dd_add((a, b), (c, d))], []),
        "DDmul": lambda a, b, c, d, null: ([hx(v, 16) for v in dd_mul((a, b), (c, d))], [])},
    "format": {
        "KEL_Double2Ascii": formatting(b"%f"), "KEL_Float2String": formatting(b"%f", widen=True),
        "KEL_Double2String": formatting(b"%.14f"), "KEL_Double2String2": formatting(None)},
    "convert": {
        **{"KEL_" + n: (lambda d, rule: lambda x, null: ([fill(d) if x is None or null else hx(rule(x), d)], []))(d, r)
           for n, (d, r) in CONVERSIONS.items()},
        **{"Null" + n: (lambda d: lambda null: ([fill(d)], []))(d) for n, (d, _) in CONVERSIONS.items()},
        "DoubleBuffer": lambda v, offset, null: (["same", hx(v, 16)], []),  # at any offset, nothing around changed
        "FloatBuffer": lambda v, offset, null: (["same", hx(v, 8)], [])},
    "fault": {
        "KEL_FPCLASSIFY_Check": lambda x, null: ([hx(int(x is None or not finite(F, x)), 8)], []),
        "KEL_GetTypeChar": lambda c, null: (
            [quoted((["FP_NAN", "FP_INFINITE", "FP_ZERO", "FP_SUBNORMAL"][c] if c < 4 else ILL).encode())], [])},
    "case": {
        **{"LUM_Char" + n: (lambda r: lambda c, null: ([hx(r(c), 8)], []))(r)
           for n, r in (("IsLower", is_lower), ("IsUpper", is_upper), ("ToUpper", to_upper), ("ToLower", to_lower))},
        "LUM_StrToLower": str_to_lower, "LUM_StrToUpper": str_to_upper, "LUM_StrToUint32": str_to_uint32,
        "IsLower": each_byte(lambda c: 0x30 + is_lower(c)), "IsUpper": each_byte(lambda c: 0x30 + is_upper(c)),
        "ToUpper": each_byte(to_upper), "ToLower": each_byte(to_lower),
        "CaseOf": lambda c, null: ([hx(r(c), 8) for r in (is_lower, is_upper, to_upper, to_lower)], []),
        "Scan": scanned},
}
CALLS = {name: call for group in FAMILIES.values() for name, call in group.items()}
FAMILY = {name: family for family, group in FAMILIES.items() for name in group}
