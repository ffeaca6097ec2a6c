// Probes: calls of several functions, or of one in a way a single line of
// operands cannot say (a result that is also an operand, every null address,
// a buffer at an offset, ranges of bytes), for the vectors.
#include <functional>

#include "adapters.h"
#include "double_double.h"
#include "hard_texts.h"
#include "kelsoft.h"
#include "tarvex.h"

namespace calls {
namespace {

void divide_into_divisor(Call &c) {
  double divisor = as<double>(c.in[1]);
  KEL_Ddiv(&divisor, In<double>(c.in[0]).p, &divisor);
  c.number(divisor);
}

// A conversion with a null source, destination, and both: nothing stored.
template <typename S, typename D, void (*F)(const S *, D *)>
void null_addresses(Call &c) {
  Out<std::conditional_t<std::is_void_v<D>, double, D>> r(c);
  std::conditional_t<std::is_void_v<S>, double, S> source{};
  F(nullptr, &r.value);
  F(&source, nullptr);
  F(nullptr, nullptr);
  c.object(r.value);
}

// Into a buffer at an offset and back: the bytes must be the value's own,
// and no byte around them may change.
template <typename T, void (*Store)(const T *, void *), void (*Load)(const void *, T *)>
void buffered(Call &c) {
  unsigned char buffer[24];
  std::memset(buffer, c.fill, sizeof buffer);
  const size_t offset = c.in[1].bits % (sizeof buffer - sizeof(T) + 1);
  const In<T> value(c.in[0]);
  Store(value.p, buffer + offset);
  Word<T> stored;
  std::memcpy(&stored, buffer + offset, sizeof stored);
  const bool same = stored == std::bit_cast<Word<T>>(value.value);
  bool spilled = false;
  for (size_t i = 0; i < sizeof buffer; ++i) spilled |= (i < offset || i >= offset + sizeof(T)) && buffer[i] != c.fill;
  Out<T> back(c);
  Load(buffer + offset, &back.value);
  c.word(same ? (spilled ? "same spilled" : "same") : (spilled ? "differ spilled" : "differ"));
  c.object(back.value);
}

// Bytes first..last through a mapping, or through a test as '0' and '1'.
template <int32_t (*F)(int32_t), bool kTest>
void each_byte(Call &c) {
  std::string bytes;
  for (uint64_t b = c.in[0].bits; b <= c.in[1].bits && bytes.size() < 256; ++b) {
    const int32_t v = F(static_cast<int32_t>(b));
    bytes += static_cast<char>(kTest ? '0' + v : v);
  }
  c.text(bytes);
}

void case_of(Call &c) {
  const auto code = static_cast<int32_t>(c.in[0].bits);
  for (auto f : {LUM_CharIsLower, LUM_CharIsUpper, LUM_CharToUpper, LUM_CharToLower}) c.number(f(code));
}

// libtarvex's formatter: size, format, double; a null result is a null destination.
void truncated(Call &c) {
  Buffer b(c);
  const uint64_t size = c.in[0].bits < sizeof b.bytes ? c.in[0].bits : sizeof b.bytes;
  c.number(snprintf_truncated_s(c.null_result ? nullptr : b.bytes, size, text(c.in[1]), as<double>(c.in[2])));
  c.buffer(b.bytes, sizeof b.bytes);
}

void truncated_wide(Call &c) {
  Buffer b(c);
  const uint64_t size = c.in[0].bits < sizeof b.bytes ? c.in[0].bits : sizeof b.bytes;
  c.number(snprintf_truncated_s(b.bytes, size, text(c.in[1]), L"\x100"));
  c.buffer(b.bytes, sizeof b.bytes);
}

// libtarvex's scanner: format, text, two unsigned results.
void scan(Call &c) {
  Out<uint32_t> first(c), second(c);
  c.number(sscanf_s(text(c.in[1]), text(c.in[0]), &first.value, &second.value));
  c.object(first.value);
  c.object(second.value);
}

// The extended arithmetic the library's parser uses on this platform (the
// target's own long double there) on (hi, lo) pairs.
template <typename Op>
void extended(Call &c) {
  const kel::DoublePair a{as<double>(c.in[0]), as<double>(c.in[1])}, b{as<double>(c.in[2]), as<double>(c.in[3])};
  const kel::DoublePair r = kel::to_pair(Op()(kel::from_pair(a), kel::from_pair(b)));
  c.number(r.hi);
  c.number(r.lo);
}

// Hard parser text number i through both parsers.
void hard_text(Call &c) {
  const std::string t = kel_texts::hard_text(c.in[0].bits);
  char *end = nullptr;
  c.number(KEL_SoftStr2Float(t.c_str(), &end));
  c.add('e').bits = static_cast<uint32_t>(end - t.c_str());
  Out<float> f(c);
  KEL_Seva(&f.value, t.c_str());
  c.object(f.value);
}

constexpr const char *kProbe = "probe";

constexpr Function kProbes[] = {
    {"DdivIntoDivisor", kProbe, "dd", "d", divide_into_divisor},
    {"NullDouble2Ushort", kProbe, "", "h", null_addresses<double, uint16_t, KEL_Double2Ushort>},
    {"NullDouble2Int32", kProbe, "", "W", null_addresses<double, int32_t, KEL_Double2Int32>},
    {"NullFloat2Uint32", kProbe, "", "w", null_addresses<float, uint32_t, KEL_Float2Uint32>},
    {"NullInt322Double", kProbe, "", "d", null_addresses<int32_t, double, KEL_Int322Double>},
    {"NullUint322Double", kProbe, "", "d", null_addresses<uint32_t, double, KEL_Uint322Double>},
    {"NullUshort2Double", kProbe, "", "d", null_addresses<uint16_t, double, KEL_Ushort2Double>},
    {"NullUint322Float", kProbe, "", "f", null_addresses<uint32_t, float, KEL_Uint322Float>},
    {"NullBuff2Double", kProbe, "", "d", null_addresses<void, double, KEL_Buff2Double>},
    {"NullDouble2Buff", kProbe, "", "d", null_addresses<double, void, KEL_Double2Buff>},
    {"DoubleBuffer", kProbe, "dw", "ad", buffered<double, KEL_Double2Buff, KEL_Buff2Double>},
    {"FloatBuffer", kProbe, "fw", "af", buffered<float, KEL_Float2Buff, KEL_Buff2Float>},
    {"IsLower", kProbe, "cc", "t", each_byte<LUM_CharIsLower, true>},
    {"IsUpper", kProbe, "cc", "t", each_byte<LUM_CharIsUpper, true>},
    {"ToUpper", kProbe, "cc", "t", each_byte<LUM_CharToUpper, false>},
    {"ToLower", kProbe, "cc", "t", each_byte<LUM_CharToLower, false>},
    {"CaseOf", kProbe, "c", "WWWW", case_of},
    {"Truncated", kProbe, "zmd", "Wb", truncated},
    {"TruncatedWide", kProbe, "zm", "Wb", truncated_wide},
    {"Scan", kProbe, "mt", "Www", scan},
    {"DDadd", kProbe, "dddd", "dd", extended<std::plus<>>},
    {"DDmul", kProbe, "dddd", "dd", extended<std::multiplies<>>},
    {"HardText", kProbe, "q", "def", hard_text},
};

}  // namespace

std::span<const Function> probes() { return kProbes; }

}  // namespace calls
