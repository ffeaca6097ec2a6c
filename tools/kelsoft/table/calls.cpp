#include "calls.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include "adapters.h"
#include "kelsoft.h"
#include "kelsoft.hpp"

namespace calls {

Result &Call::add(char kind) {
  Result &r = out[count++];
  r.kind = kind;
  r.bits = 0;
  r.text.clear();  // keeps its storage: lines come a million a second
  r.null = r.filled = false;
  r.stored = true;
  return r;
}

void Call::text(std::string_view t) { add('t').text.assign(t); }

void Call::word(const char *w) { add('a').text.assign(w); }

void Call::buffer(const char *bytes, std::size_t size) {
  Result &r = add('b');
  r.text.assign(bytes, size);
  r.filled = true;
}

void Call::null() { add('e').null = true; }

int digits(char kind) {
  switch (kind) {
    case 'd':
    case 'q':
    case 'Q':
    case 'X':
      return 16;
    case 'h':
    case 'H':
      return 4;
    default:
      return 8;
  }
}

bool is_text(char kind) { return std::strchr("tpnsmb", kind) != nullptr; }
bool is_signed(char kind) { return std::strchr("QWHcCe", kind) != nullptr; }

namespace {

// Each adapter calls one library function, whose signature goes with it.
template <auto F>
constexpr Adapter adapt(void (*adapter)(Call &)) {
  return {adapter, signature_of(F)};
}

template <typename T, void (*F)(T *, const T *, const T *)>
constexpr Adapter arith = adapt<F>([](Call &c) {
  Out<T> r(c);
  F(r.p(), In<T>(c.in[0]).p, In<T>(c.in[1]).p);
  c.object(r.value);
});

template <typename T, int32_t (*F)(const T *, const T *)>
constexpr Adapter compare = adapt<F>([](Call &c) { c.number(F(In<T>(c.in[0]).p, In<T>(c.in[1]).p)); });

template <typename T, void (*F)(T *, const T *)>
constexpr Adapter result_first = adapt<F>([](Call &c) {
  Out<T> r(c);
  F(r.p(), In<T>(c.in[0]).p);
  c.object(r.value);
});

template <typename S, typename D, void (*F)(const S *, D *)>
constexpr Adapter source_first = adapt<F>([](Call &c) {
  Out<D> r(c);
  F(In<S>(c.in[0]).p, r.p());
  c.object(r.value);
});

// A buffer operand holds the bytes the target keeps the number in, so the
// same bits give the same value on every host.
template <typename D, void (*F)(const void *, D *)>
constexpr Adapter from_buffer = adapt<F>([](Call &c) {
  const Word<D> bytes = static_cast<Word<D>>(c.in[0].bits);
  Out<D> r(c);
  F(c.in[0].null ? nullptr : &bytes, r.p());
  c.object(r.value);
});

template <typename S, void (*F)(const S *, void *)>
constexpr Adapter to_buffer = adapt<F>([](Call &c) {
  Out<Word<S>> bytes(c);
  F(In<S>(c.in[0]).p, bytes.p());
  c.object(bytes.value);
});

constexpr Adapter power = adapt<KEL_AddPowForKavri>([](Call &c) {
  Out<double> r(c);
  KEL_AddPowForKavri(In<double>(c.in[0]).p, In<double>(c.in[1]).p, r.p());
  c.object(r.value);
});

constexpr Adapter int_mut = adapt<KEL_IntMut>([](Call &c) {
  Out<double> r(c);
  KEL_IntMut(static_cast<uint32_t>(c.in[0].bits), static_cast<uint32_t>(c.in[1].bits), r.p());
  c.object(r.value);
});

constexpr Adapter soft_str2float = adapt<KEL_SoftStr2Float>([](Call &c) {
  char *end = nullptr;
  const char *t = text(c.in[0]);
  c.number(KEL_SoftStr2Float(t, &end));
  if (end == nullptr)
    c.null();
  else
    c.add('e').bits = static_cast<uint32_t>(end - t);
});

template <typename T, void (*F)(T *, const char *)>
constexpr Adapter evaluate = adapt<F>([](Call &c) {
  Out<T> r(c);
  F(r.p(), text(c.in[0]));
  c.object(r.value);
});

// A buffer of the size the call names (at least 64 bytes), filled.
struct SizedBuffer {
  std::string bytes;
  SizedBuffer(const Call &c, uint64_t size) : bytes(std::max<uint64_t>(size, 64), static_cast<char>(c.fill)) {}
};

template <typename T, void (*F)(const T *, char *, size_t)>
constexpr Adapter format = adapt<F>([](Call &c) {
  SizedBuffer b(c, c.in[1].bits);
  F(In<T>(c.in[0]).p, c.null_result ? nullptr : b.bytes.data(), c.in[1].bits);
  c.buffer(b.bytes.data(), b.bytes.size());
});

constexpr Adapter format_with = adapt<KEL_Double2String2>([](Call &c) {
  SizedBuffer b(c, c.in[1].bits);
  KEL_Double2String2(In<double>(c.in[0]).p, c.null_result ? nullptr : b.bytes.data(), c.in[1].bits, text(c.in[2]));
  c.buffer(b.bytes.data(), b.bytes.size());
});

template <int32_t (*F)(int32_t)>
constexpr Adapter char_map = adapt<F>([](Call &c) { c.number(F(static_cast<int32_t>(c.in[0].bits))); });

// The text with its terminator, in a buffer of its own: the count may pass it.
constexpr Adapter str_to_lower = adapt<LUM_StrToLower>([](Call &c) {
  const std::string &t = c.in[0].text;
  SizedBuffer b(c, t.size() + 1);
  if (!c.in[0].null) std::memcpy(b.bytes.data(), t.c_str(), t.size() + 1);
  LUM_StrToLower(c.in[0].null ? nullptr : b.bytes.data(), static_cast<uint32_t>(c.in[1].bits));
  c.buffer(b.bytes.data(), b.bytes.size());
});

constexpr Adapter str_to_upper = adapt<LUM_StrToUpper>([](Call &c) {
  SizedBuffer b(c, c.in[1].bits);
  LUM_StrToUpper(text(c.in[0]), c.null_result ? nullptr : b.bytes.data(), static_cast<uint32_t>(c.in[1].bits));
  c.buffer(b.bytes.data(), b.bytes.size());
});

constexpr Adapter str_to_uint32 = adapt<LUM_StrToUint32>([](Call &c) {
  Out<uint32_t> r(c);
  c.number(LUM_StrToUint32(text(c.in[0]), r.p()));
  c.object(r.value);
});

constexpr Adapter classify =
    adapt<KEL_FPCLASSIFY_Check>([](Call &c) { c.number(KEL_FPCLASSIFY_Check(In<float>(c.in[0]).p)); });

constexpr Adapter type_char =
    adapt<KEL_GetTypeChar>([](Call &c) { c.text(KEL_GetTypeChar(static_cast<int32_t>(c.in[0].bits))); });

constexpr Adapter softfp_assert =
    adapt<KEL_SoftfpAssert>([](Call &c) { KEL_SoftfpAssert(static_cast<int32_t>(c.in[0].bits)); });

// A function that tests no address: a line cannot give it null.
constexpr Adapter untested(Adapter a) {
  a.tests_addresses = false;
  return a;
}

// The copying case change tests its source but writes its destination
// unchecked.
constexpr Adapter untested_result(Adapter a) {
  a.tests_result = false;
  return a;
}

constexpr const char *kOs = "it acts on the process's descriptors, files and semaphores, across calls";
constexpr const char *kHook = "the command registers its own fault hook for every call";

// The order of the entries that compute is the order of the generated
// calls: an entry added among them changes every generated line after it.
constexpr Function kExported[] = {
    {"KEL_Dadd", "arith", "dd", "d", arith<double, KEL_Dadd>},
    {"KEL_Dsub", "arith", "dd", "d", arith<double, KEL_Dsub>},
    {"KEL_Dmut", "arith", "dd", "d", arith<double, KEL_Dmut>},
    {"KEL_Ddiv", "arith", "dd", "d", arith<double, KEL_Ddiv>},
    {"KEL_Dcmp", "arith", "dd", "C", compare<double, KEL_Dcmp>},
    {"KEL_Sadd", "arith", "ff", "f", arith<float, KEL_Sadd>},
    {"KEL_Ssub", "arith", "ff", "f", arith<float, KEL_Ssub>},
    {"KEL_Smut", "arith", "ff", "f", arith<float, KEL_Smut>},
    {"KEL_Sdiv", "arith", "ff", "f", arith<float, KEL_Sdiv>},
    {"KEL_Scmp", "arith", "ff", "C", compare<float, KEL_Scmp>},
    {"KEL_SLog", "elementary", "f", "f", result_first<float, KEL_SLog>},
    {"KEL_DLog", "elementary", "d", "d", result_first<double, KEL_DLog>},
    {"KEL_SLog10", "elementary", "f", "f", result_first<float, KEL_SLog10>},
    {"KEL_DLog10", "elementary", "d", "d", result_first<double, KEL_DLog10>},
    {"KEL_DSqrtf", "elementary", "f", "f", result_first<float, KEL_DSqrtf>},
    {"KEL_DSqrt", "elementary", "d", "d", result_first<double, KEL_DSqrt>},
    {"KEL_Dceil", "elementary", "d", "d", source_first<double, double, KEL_Dceil>},
    {"KEL_DExp", "elementary", "d", "d", source_first<double, double, KEL_DExp>},
    {"KEL_AddPowForKavri", "elementary", "dd", "d", untested(power)},
    {"KEL_IntMut", "elementary", "ww", "d", int_mut},
    {"KEL_SoftStr2Float", "parse", "p", "de", soft_str2float, "result end"},
    {"KEL_Deva", "parse", "p", "d", evaluate<double, KEL_Deva>},
    {"KEL_Seva", "parse", "p", "f", evaluate<float, KEL_Seva>},
    {"KEL_Double2Ascii", "format", "dz", "b", format<double, KEL_Double2Ascii>},
    {"KEL_Float2String", "format", "fz", "b", format<float, KEL_Float2String>},
    {"KEL_Double2String", "format", "dz", "b", format<double, KEL_Double2String>},
    {"KEL_Double2String2", "format", "dzm", "b", format_with},
    {"KEL_Double2Ushort", "convert", "d", "h", source_first<double, uint16_t, KEL_Double2Ushort>},
    {"KEL_Double2Short", "convert", "d", "H", untested(source_first<double, int16_t, KEL_Double2Short>)},
    {"KEL_Double2Int32", "convert", "d", "W", source_first<double, int32_t, KEL_Double2Int32>},
    {"KEL_Float2Int32", "convert", "f", "W", untested(source_first<float, int32_t, KEL_Float2Int32>)},
    {"KEL_Float2Uint32", "convert", "f", "w", source_first<float, uint32_t, KEL_Float2Uint32>},
    {"KEL_Double2Uint32", "convert", "d", "w", untested(source_first<double, uint32_t, KEL_Double2Uint32>)},
    {"KEL_Int322Double", "convert", "W", "d", source_first<int32_t, double, KEL_Int322Double>},
    {"KEL_Uint322Double", "convert", "w", "d", source_first<uint32_t, double, KEL_Uint322Double>},
    {"KEL_Short2Double", "convert", "H", "d", untested(source_first<int16_t, double, KEL_Short2Double>)},
    {"KEL_Ushort2Double", "convert", "h", "d", source_first<uint16_t, double, KEL_Ushort2Double>},
    {"KEL_Int322Float", "convert", "W", "f", untested(source_first<int32_t, float, KEL_Int322Float>)},
    {"KEL_Uint322Float", "convert", "w", "f", source_first<uint32_t, float, KEL_Uint322Float>},
    {"KEL_Float2Double", "convert", "f", "d", untested(source_first<float, double, KEL_Float2Double>)},
    {"KEL_Buff2Float", "convert", "x", "f", from_buffer<float, KEL_Buff2Float>},
    {"KEL_Buff2Double", "convert", "X", "d", from_buffer<double, KEL_Buff2Double>},
    {"KEL_Float2Buff", "convert", "f", "x", to_buffer<float, KEL_Float2Buff>},
    {"KEL_Double2Buff", "convert", "d", "X", to_buffer<double, KEL_Double2Buff>},
    {"KEL_Double2Int64", "convert", "d", "Q", untested(source_first<double, int64_t, KEL_Double2Int64>)},
    {"KEL_Double2Uint64", "convert", "d", "q", untested(source_first<double, uint64_t, KEL_Double2Uint64>)},
    {"KEL_Int642Double", "convert", "Q", "d", untested(source_first<int64_t, double, KEL_Int642Double>)},
    {"KEL_Uint642Double", "convert", "q", "d", untested(source_first<uint64_t, double, KEL_Uint642Double>)},
    {"KEL_FPCLASSIFY_Check", "fault", "f", "W", classify},
    {"KEL_GetTypeChar", "fault", "c", "t", type_char},
    {"LUM_CharIsLower", "case", "c", "W", char_map<LUM_CharIsLower>},
    {"LUM_CharIsUpper", "case", "c", "W", char_map<LUM_CharIsUpper>},
    {"LUM_CharToUpper", "case", "c", "W", char_map<LUM_CharToUpper>},
    {"LUM_CharToLower", "case", "c", "W", char_map<LUM_CharToLower>},
    {"LUM_StrToLower", "case", "sk", "b", str_to_lower},
    {"LUM_StrToUpper", "case", "sz", "b", untested_result(str_to_upper)},
    {"LUM_StrToUint32", "case", "n", "Ww", str_to_uint32, "status result"},
    // Beyond the generated calls.
    {"KEL_SoftfpAssert", "fault", "c", "", softfp_assert},
    {"KEL_FloatAssertReg", "fault", "", "", nullptr, nullptr, kHook},
    {"g_pfFloatAssertHook", "fault", "", "", nullptr, nullptr, kHook},
    {"LUM_syslog", "syslog", "", "", nullptr, nullptr, "it writes to the system log"},
    {"KEL_Pipe", "os", "", "", nullptr, nullptr, kOs},
    {"KEL_Close", "os", "", "", nullptr, nullptr, kOs},
    {"KEL_Read", "os", "", "", nullptr, nullptr, kOs},
    {"KEL_Write", "os", "", "", nullptr, nullptr, kOs},
    {"KEL_Mkfifo", "os", "", "", nullptr, nullptr, kOs},
    {"KEL_Open", "os", "", "", nullptr, nullptr, kOs},
    {"KEL_SemInit", "os", "", "", nullptr, nullptr, kOs},
    {"KEL_SemWait", "os", "", "", nullptr, nullptr, kOs},
    {"KEL_SemDestroy", "os", "", "", nullptr, nullptr, kOs},
    {"KEL_SemPost", "os", "", "", nullptr, nullptr, kOs},
};

// Whether an entry's call computes a result of its own: those are generated.
constexpr bool computes(const Function &f) { return f.call != nullptr && *f.results != '\0'; }

constexpr std::size_t count_computing() {
  std::size_t n = 0;
  while (n < std::size(kExported) && computes(kExported[n])) ++n;
  return n;
}
constexpr std::size_t kGenerated = count_computing();
static_assert(std::none_of(kExported + kGenerated, std::end(kExported), computes),
              "the entries that compute come first, in the order of the generated calls");

// Not constexpr: the compiler names the entry whose kinds are wrong.
void kinds_differ_from_kelsoft_h(const char *name) { (void)name; }

constexpr bool kinds_fit(std::span<const Function> table) {
  for (const Function &f : table)
    if (f.call.typed && !fits(f.call.signature, f.operands, f.results)) kinds_differ_from_kelsoft_h(f.name);
  return true;
}
static_assert(kinds_fit(kExported), "each entry's kinds are those of the function's type in kelsoft.h");

bool names(const Function &f, std::string_view name) {
  return same_name(f.name, name) || same_name(bare(f.name), name);
}

Answer *current = nullptr;  // the answer the hook adds to; null during a second call

void record(const char *file, int32_t line, const char *name) {
  if (current != nullptr && current->report_count < std::size(current->reports))
    current->reports[current->report_count++] = {file, line, name};
}

uint64_t filled_bits(char kind, unsigned char fill) { return (~uint64_t{0} >> (64 - 4 * digits(kind))) / 0xFF * fill; }

// Where the bytes after a buffer's written ones start: the first of the
// trailing bytes that still hold the fill.
std::size_t written(const std::string &bytes, unsigned char fill) {
  std::size_t n = bytes.size();
  while (n > 0 && static_cast<unsigned char>(bytes[n - 1]) == fill) --n;
  return n;
}

bool unsure(const Result &r, bool exact) {
  if (!r.filled) return false;
  if (r.kind == 'b') return exact || r.text.find('\0') == std::string::npos;
  return r.bits == filled_bits(r.kind, kFill);
}

}  // namespace

std::span<const Function> exported() { return kExported; }
std::span<const Function> generated() { return std::span(kExported).first(kGenerated); }

const char *why_not_null(const Function &f, std::size_t i) {
  if (!f.call.tests_addresses) return "the function tests no address";
  if (i >= std::strlen(f.operands)) return f.call.tests_result ? nullptr : "the function tests no result address";
  if (!f.call.typed) return is_text(f.operands[i]) ? nullptr : "a probe takes null texts only";
  return by_value(f.call.signature, f.operands, i) ? "it is passed by value" : nullptr;
}

bool same_name(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return (x | 0x20) == (y | 0x20); });
}

std::string_view bare(std::string_view name) {
  return name.starts_with("KEL_") || name.starts_with("LUM_") ? name.substr(4) : name;
}

// The conversion letters of a format for libtarvex's scanner or a wide text
// ("%%" aside); a '*' width shows as the letter '*'.
std::string conversions(std::string_view format) {
  std::string letters;
  for (std::size_t i = format.find('%'); i != std::string_view::npos; i = format.find('%', i + 1)) {
    i = format.find_first_not_of("-+ #0123456789.hlLqjzt", i + 1);
    if (i == std::string_view::npos) return letters + '?';
    if (format[i] != '%') letters += format[i];
  }
  return letters;
}

const char *unsafe_format(const Function &f, const Value *in) {
  const char *m = std::strchr(f.operands, 'm');
  if (m == nullptr || in[m - f.operands].null) return nullptr;
  const std::string letters = conversions(in[m - f.operands].text);
  if (std::string_view(f.name) == "Scan")
    return letters.find_first_not_of("ud") == std::string::npos && std::count(letters.begin(), letters.end(), 'u') <= 2
               ? nullptr
               : "the format may hold at most two %u conversions";
  if (std::string_view(f.name) == "TruncatedWide")
    return letters.size() <= 1 && letters.find_first_not_of('s') == std::string::npos
               ? nullptr
               : "the format may hold at most one conversion, of the value passed";
  // The formatter reads the format up to its first NUL, as the library does.
  const int n = kel::double_conversions(in[m - f.operands].text.c_str());
  return n == 1 || (n == 0 && std::string_view(f.name) == "Truncated")
             ? nullptr
             : "the format must hold one conversion of a double, such as %.3e";
}

const Function *find(std::string_view name) {
  for (const auto table : {exported(), probes()})
    for (const Function &f : table)
      if (names(f, name)) return &f;
  return nullptr;
}

void answer(const Function &f, const Value *in, bool null_result, Answer &a) {
  KEL_FloatAssertReg(record);
  a.report_count = 0;
  Call &c = a.call;
  c.in = in;
  c.null_result = null_result;
  c.fill = kFill;
  c.count = 0;
  current = &a;
  errno = 0;
  f.call(c);
  a.error = errno;
  current = nullptr;
  // The table says what each result is; the adapters give only bits.
  for (std::size_t i = 0; i < c.count && f.results[i] != '\0'; ++i) c.out[i].kind = f.results[i];
  if (std::none_of(c.out, c.out + c.count, [&a](const Result &r) { return unsure(r, a.exact); })) return;
  Call other;
  other.in = in;
  other.null_result = null_result;
  other.fill = kOtherFill;
  f.call(other);
  for (std::size_t i = 0; i < c.count; ++i) {
    Result &r = c.out[i];
    if (!r.filled) continue;
    if (r.kind == 'b')
      r.text.resize(std::max(written(r.text, kFill), written(other.out[i].text, kOtherFill)));
    else
      r.stored = r.bits != filled_bits(r.kind, kFill) || other.out[i].bits != filled_bits(r.kind, kOtherFill);
  }
}

// A number beyond INT_MAX is left to the C library, which fails the call at
// once (EOVERFLOW); one between kMaxSize and it, the library would print.
const char *oversized_format(const Function &f, const Value *in) {
  static const std::string kTooWide =
      "a width or precision goes up to " + std::to_string(kMaxSize) + ", the longest text the command shows";
  constexpr uint64_t kOverflow = uint64_t{1} << 31;
  const char *m = std::strchr(f.operands, 'm');
  if (m == nullptr || in[m - f.operands].null) return nullptr;
  const std::string &format = in[m - f.operands].text;
  const auto too_wide = [](uint64_t number) { return number > kMaxSize && number < kOverflow; };
  // Each number of each conversion: its flags, width and precision.
  for (std::size_t i = format.find('%'); i != std::string::npos; i = format.find('%', i + 1)) {
    uint64_t number = 0;
    for (++i; i < format.size() && std::strchr("-+ #0123456789.hlLqjzt", format[i]) != nullptr; ++i) {
      const bool digit = format[i] >= '0' && format[i] <= '9';
      if (!digit && too_wide(number)) return kTooWide.c_str();
      number = digit ? std::min(number * 10 + static_cast<uint64_t>(format[i] - '0'), kOverflow) : 0;
    }
    if (too_wide(number)) return kTooWide.c_str();
  }
  return nullptr;
}

}  // namespace calls
