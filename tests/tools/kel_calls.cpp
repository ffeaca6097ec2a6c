#include "kel_calls.h"

#include <algorithm>
#include <bit>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <functional>

#include "double_double.h"
#include "hard_texts.h"
#include "kelsoft.h"
#include "tarvex.h"

namespace kel_calls {

bool native_extended = false;

namespace {

constexpr unsigned char kFill = 0xA5;
bool null_result = false;  // the current call passes a null result

template <typename T>
using Word = std::conditional_t<sizeof(T) == 8, uint64_t, std::conditional_t<sizeof(T) == 4, uint32_t, uint16_t>>;

template <typename T>
T as(const Value &v) {
  return std::bit_cast<T>(static_cast<Word<T>>(v.bits));
}

// An operand in its own slot, and its address (null for "null").
template <typename T>
struct In {
  T value;
  const T *p;
  explicit In(const Value &v) : value(as<T>(v)), p(v.null ? nullptr : &value) {}
};

const char *text(const Value &v) { return v.null ? nullptr : v.text.c_str(); }

// Where a function stores its result, first filled so that "nothing stored" shows.
template <typename T>
struct Out {
  T value;
  Out() { std::memset(&value, kFill, sizeof value); }
  T *p() { return null_result ? nullptr : &value; }
};

template <typename T>
constexpr char kind_of() {
  if constexpr (std::is_same_v<T, float>) return 'f';
  if constexpr (sizeof(T) == 8) return std::is_same_v<T, double> ? 'd' : 'q';
  return sizeof(T) == 4 ? 'w' : 'h';
}

template <typename T>
void put(std::string &out, T x) {
  append(out, kind_of<T>(), {std::bit_cast<Word<T>>(x), {}, false});
}

void put_text(std::string &out, std::string_view text) {
  out += ' ';
  out += quoted(text);
}

// A buffer the callee writes, shown up to its last written byte.
struct Buffer {
  char bytes[64];
  Buffer() { std::memset(bytes, kFill, sizeof bytes); }
  void put(std::string &out) const {
    size_t n = sizeof bytes;
    while (n > 0 && static_cast<unsigned char>(bytes[n - 1]) == kFill) --n;
    put_text(out, {bytes, n});
  }
};

template <typename T, void (*F)(T *, const T *, const T *)>
void arith(const Value *in, std::string &out) {
  Out<T> r;
  F(r.p(), In<T>(in[0]).p, In<T>(in[1]).p);
  put(out, r.value);
}

template <typename T, int32_t (*F)(const T *, const T *)>
void compare(const Value *in, std::string &out) {
  put(out, F(In<T>(in[0]).p, In<T>(in[1]).p));
}

template <typename T, void (*F)(T *, const T *)>
void result_first(const Value *in, std::string &out) {
  Out<T> r;
  F(r.p(), In<T>(in[0]).p);
  put(out, r.value);
}

template <typename S, typename D, void (*F)(const S *, D *)>
void source_first(const Value *in, std::string &out) {
  Out<D> r;
  F(In<S>(in[0]).p, r.p());
  put(out, r.value);
}

template <typename D, void (*F)(const void *, D *)>
void from_buffer(const Value *in, std::string &out) {
  const Word<D> bytes = static_cast<Word<D>>(in[0].bits);  // native byte order
  Out<D> r;
  F(&bytes, r.p());
  put(out, r.value);
}

template <typename S, void (*F)(const S *, void *)>
void to_buffer(const Value *in, std::string &out) {
  Out<Word<S>> bytes;
  F(In<S>(in[0]).p, bytes.p());
  put(out, bytes.value);
}

void power(const Value *in, std::string &out) {
  Out<double> r;
  KEL_AddPowForKavri(In<double>(in[0]).p, In<double>(in[1]).p, r.p());
  put(out, r.value);
}

void int_mut(const Value *in, std::string &out) {
  Out<double> r;
  KEL_IntMut(static_cast<uint32_t>(in[0].bits), static_cast<uint32_t>(in[1].bits), r.p());
  put(out, r.value);
}

void soft_str2float(const Value *in, std::string &out) {
  char *end = nullptr;
  put(out, KEL_SoftStr2Float(text(in[0]), &end));
  if (end == nullptr) out += " null";
  else put(out, static_cast<int32_t>(end - text(in[0])));
}

template <typename T, void (*F)(T *, const char *)>
void evaluate(const Value *in, std::string &out) {
  Out<T> r;
  F(r.p(), text(in[0]));
  put(out, r.value);
}

template <typename T, void (*F)(const T *, char *, size_t)>
void format(const Value *in, std::string &out) {
  Buffer buffer;
  F(In<T>(in[0]).p, buffer.bytes, in[1].bits);
  buffer.put(out);
}

void format_with(const Value *in, std::string &out) {
  Buffer buffer;
  KEL_Double2String2(In<double>(in[0]).p, buffer.bytes, in[1].bits, text(in[2]));
  buffer.put(out);
}

template <int32_t (*F)(int32_t)>
void char_map(const Value *in, std::string &out) {
  put(out, F(static_cast<int32_t>(in[0].bits)));
}

void str_to_lower(const Value *in, std::string &out) {
  Buffer buffer;
  if (!in[0].null) std::strcpy(buffer.bytes, in[0].text.c_str());
  LUM_StrToLower(in[0].null ? nullptr : buffer.bytes, static_cast<uint32_t>(in[1].bits));
  buffer.put(out);
}

void str_to_upper(const Value *in, std::string &out) {
  Buffer buffer;
  LUM_StrToUpper(text(in[0]), buffer.bytes, static_cast<uint32_t>(in[1].bits));
  buffer.put(out);
}

void str_to_uint32(const Value *in, std::string &out) {
  Out<uint32_t> r;
  put(out, LUM_StrToUint32(text(in[0]), r.p()));
  put(out, r.value);
}

void classify(const Value *in, std::string &out) { put(out, KEL_FPCLASSIFY_Check(In<float>(in[0]).p)); }

void type_char(const Value *in, std::string &out) { put_text(out, KEL_GetTypeChar(static_cast<int32_t>(in[0].bits))); }

// Probes the generator leaves alone.

void divide_into_divisor(const Value *in, std::string &out) {
  double divisor = as<double>(in[1]);
  KEL_Ddiv(&divisor, In<double>(in[0]).p, &divisor);
  put(out, divisor);
}

// The conversions that test their addresses: null source, destination, both.
template <typename S, typename D, void (*F)(const S *, D *)>
void null_addresses(const Value *, std::string &out) {
  Out<std::conditional_t<std::is_void_v<D>, double, D>> r;
  std::conditional_t<std::is_void_v<S>, double, S> source{};
  F(nullptr, &r.value);
  F(&source, nullptr);
  F(nullptr, nullptr);
  put(out, r.value);
}

// Out to a buffer at an offset and back: the bytes must be the value's own.
template <typename T, void (*Store)(const T *, void *), void (*Load)(const void *, T *)>
void buffered(const Value *in, std::string &out) {
  unsigned char buffer[24];
  std::memset(buffer, kFill, sizeof buffer);
  const size_t offset = in[1].bits;
  const In<T> value(in[0]);
  Store(value.p, buffer + offset);
  const bool same = std::memcmp(buffer + offset, value.p, sizeof(T)) == 0;
  bool spilled = false;
  for (size_t i = 0; i < sizeof buffer; ++i) spilled |= (i < offset || i >= offset + sizeof(T)) && buffer[i] != kFill;
  Out<T> back;
  Load(buffer + offset, &back.value);
  out += same ? " same" : " differ";
  out += spilled ? " spilled" : "";
  put(out, back.value);
}

// Bytes first..last through a mapping, or through a test as '0' and '1'.
template <int32_t (*F)(int32_t), bool kTest>
void each_byte(const Value *in, std::string &out) {
  std::string bytes;
  for (uint64_t c = in[0].bits; c <= in[1].bits; ++c) {
    const int32_t v = F(static_cast<int32_t>(c));
    bytes += static_cast<char>(kTest ? '0' + v : v);
  }
  put_text(out, bytes);
}

void case_of(const Value *in, std::string &out) {
  const auto c = static_cast<int32_t>(in[0].bits);
  for (auto f : {LUM_CharIsLower, LUM_CharIsUpper, LUM_CharToUpper, LUM_CharToLower}) put(out, f(c));
}

// snprintf_truncated_s: size, format, double; a null result is a null destination.
void truncated(const Value *in, std::string &out) {
  Buffer b;
  put(out, snprintf_truncated_s(null_result ? nullptr : b.bytes, in[0].bits, text(in[1]), as<double>(in[2])));
  b.put(out);
}

void truncated_wide(const Value *in, std::string &out) {
  Buffer b;
  put(out, snprintf_truncated_s(b.bytes, in[0].bits, text(in[1]), L"\x100"));
  b.put(out);
}

void scan(const Value *in, std::string &out) {
  Out<uint32_t> first, second;
  put(out, sscanf_s(text(in[1]), text(in[0]), &first.value, &second.value));
  put(out, first.value);
  put(out, second.value);
}

// The double-double's own operations on (hi, lo) pairs.
template <typename Op>
void extended(const Value *in, std::string &out) {
  const kel::DoublePair a{as<double>(in[0]), as<double>(in[1])}, b{as<double>(in[2]), as<double>(in[3])};
  kel::DoublePair r = (Op()(kel::DoubleDouble(a), kel::DoubleDouble(b))).pair();
#if __LDBL_MANT_DIG__ == 106
  if (native_extended) r = kel::to_pair(Op()(kel::from_pair(a), kel::from_pair(b)));
#endif
  put(out, r.hi);
  put(out, r.lo);
}

// Hard parser text number i through both parsers.
void hard_text(const Value *in, std::string &out) {
  const Value text{0, kel_texts::hard_text(in[0].bits), false};
  soft_str2float(&text, out);
  evaluate<float, KEL_Seva>(&text, out);
}

constexpr Function kFunctions[] = {
    {"KEL_Dadd", "dd", arith<double, KEL_Dadd>},
    {"KEL_Dsub", "dd", arith<double, KEL_Dsub>},
    {"KEL_Dmut", "dd", arith<double, KEL_Dmut>},
    {"KEL_Ddiv", "dd", arith<double, KEL_Ddiv>},
    {"KEL_Dcmp", "dd", compare<double, KEL_Dcmp>},
    {"KEL_Sadd", "ff", arith<float, KEL_Sadd>},
    {"KEL_Ssub", "ff", arith<float, KEL_Ssub>},
    {"KEL_Smut", "ff", arith<float, KEL_Smut>},
    {"KEL_Sdiv", "ff", arith<float, KEL_Sdiv>},
    {"KEL_Scmp", "ff", compare<float, KEL_Scmp>},
    {"KEL_SLog", "f", result_first<float, KEL_SLog>},
    {"KEL_DLog", "d", result_first<double, KEL_DLog>},
    {"KEL_SLog10", "f", result_first<float, KEL_SLog10>},
    {"KEL_DLog10", "d", result_first<double, KEL_DLog10>},
    {"KEL_DSqrtf", "f", result_first<float, KEL_DSqrtf>},
    {"KEL_DSqrt", "d", result_first<double, KEL_DSqrt>},
    {"KEL_Dceil", "d", source_first<double, double, KEL_Dceil>},
    {"KEL_DExp", "d", source_first<double, double, KEL_DExp>},
    {"KEL_AddPowForKavri", "dd", power},
    {"KEL_IntMut", "ww", int_mut},
    {"KEL_SoftStr2Float", "p", soft_str2float},
    {"KEL_Deva", "p", evaluate<double, KEL_Deva>},
    {"KEL_Seva", "p", evaluate<float, KEL_Seva>},
    {"KEL_Double2Ascii", "dz", format<double, KEL_Double2Ascii>},
    {"KEL_Float2String", "fz", format<float, KEL_Float2String>},
    {"KEL_Double2String", "dz", format<double, KEL_Double2String>},
    {"KEL_Double2String2", "dzm", format_with},
    {"KEL_Double2Ushort", "d", source_first<double, uint16_t, KEL_Double2Ushort>},
    {"KEL_Double2Short", "d", source_first<double, int16_t, KEL_Double2Short>},
    {"KEL_Double2Int32", "d", source_first<double, int32_t, KEL_Double2Int32>},
    {"KEL_Float2Int32", "f", source_first<float, int32_t, KEL_Float2Int32>},
    {"KEL_Float2Uint32", "f", source_first<float, uint32_t, KEL_Float2Uint32>},
    {"KEL_Double2Uint32", "d", source_first<double, uint32_t, KEL_Double2Uint32>},
    {"KEL_Int322Double", "w", source_first<int32_t, double, KEL_Int322Double>},
    {"KEL_Uint322Double", "w", source_first<uint32_t, double, KEL_Uint322Double>},
    {"KEL_Short2Double", "h", source_first<int16_t, double, KEL_Short2Double>},
    {"KEL_Ushort2Double", "h", source_first<uint16_t, double, KEL_Ushort2Double>},
    {"KEL_Int322Float", "w", source_first<int32_t, float, KEL_Int322Float>},
    {"KEL_Uint322Float", "w", source_first<uint32_t, float, KEL_Uint322Float>},
    {"KEL_Float2Double", "f", source_first<float, double, KEL_Float2Double>},
    {"KEL_Buff2Float", "w", from_buffer<float, KEL_Buff2Float>},
    {"KEL_Buff2Double", "q", from_buffer<double, KEL_Buff2Double>},
    {"KEL_Float2Buff", "f", to_buffer<float, KEL_Float2Buff>},
    {"KEL_Double2Buff", "d", to_buffer<double, KEL_Double2Buff>},
    {"KEL_Double2Int64", "d", source_first<double, int64_t, KEL_Double2Int64>},
    {"KEL_Double2Uint64", "d", source_first<double, uint64_t, KEL_Double2Uint64>},
    {"KEL_Int642Double", "q", source_first<int64_t, double, KEL_Int642Double>},
    {"KEL_Uint642Double", "q", source_first<uint64_t, double, KEL_Uint642Double>},
    {"KEL_FPCLASSIFY_Check", "f", classify},
    {"KEL_GetTypeChar", "c", type_char},
    {"LUM_CharIsLower", "c", char_map<LUM_CharIsLower>},
    {"LUM_CharIsUpper", "c", char_map<LUM_CharIsUpper>},
    {"LUM_CharToUpper", "c", char_map<LUM_CharToUpper>},
    {"LUM_CharToLower", "c", char_map<LUM_CharToLower>},
    {"LUM_StrToLower", "sz", str_to_lower},
    {"LUM_StrToUpper", "sz", str_to_upper},
    {"LUM_StrToUint32", "n", str_to_uint32},
};

constexpr Function kProbes[] = {
    {"DdivIntoDivisor", "dd", divide_into_divisor},
    {"NullDouble2Ushort", "", null_addresses<double, uint16_t, KEL_Double2Ushort>},
    {"NullDouble2Int32", "", null_addresses<double, int32_t, KEL_Double2Int32>},
    {"NullFloat2Uint32", "", null_addresses<float, uint32_t, KEL_Float2Uint32>},
    {"NullInt322Double", "", null_addresses<int32_t, double, KEL_Int322Double>},
    {"NullUint322Double", "", null_addresses<uint32_t, double, KEL_Uint322Double>},
    {"NullUshort2Double", "", null_addresses<uint16_t, double, KEL_Ushort2Double>},
    {"NullUint322Float", "", null_addresses<uint32_t, float, KEL_Uint322Float>},
    {"NullBuff2Double", "", null_addresses<void, double, KEL_Buff2Double>},
    {"NullDouble2Buff", "", null_addresses<double, void, KEL_Double2Buff>},
    {"DoubleBuffer", "dw", buffered<double, KEL_Double2Buff, KEL_Buff2Double>},
    {"FloatBuffer", "fw", buffered<float, KEL_Float2Buff, KEL_Buff2Float>},
    {"IsLower", "cc", each_byte<LUM_CharIsLower, true>},
    {"IsUpper", "cc", each_byte<LUM_CharIsUpper, true>},
    {"ToUpper", "cc", each_byte<LUM_CharToUpper, false>},
    {"ToLower", "cc", each_byte<LUM_CharToLower, false>},
    {"CaseOf", "c", case_of},
    {"Truncated", "zmd", truncated},
    {"TruncatedWide", "zm", truncated_wide},
    {"Scan", "mt", scan},
    {"DDadd", "dddd", extended<std::plus<>>},
    {"DDmul", "dddd", extended<std::multiplies<>>},
    {"HardText", "q", hard_text},
};

int digits_of(char kind) {
  switch (kind) {
    case 'd':
    case 'q': return 16;
    case 'h': return 4;
    default: return 8;
  }
}

bool is_text(char kind) { return std::strchr("tpnsm", kind) != nullptr; }

std::string reports;  // the fault reports of the current call
void record(const char *, int32_t, const char *name) {
  reports += " ! ";
  reports += name;
}

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool unquote(std::string_view token, std::string &text) {
  if (token.size() < 2 || token.front() != '"' || token.back() != '"') return false;
  text.clear();
  for (size_t i = 1; i + 1 < token.size(); ++i) {
    if (token[i] != '\\') {
      text += token[i];
      continue;
    }
    if (i + 4 >= token.size() || token[i + 1] != 'x') return false;
    const int high = hex_digit(token[i + 2]), low = hex_digit(token[i + 3]);
    if (high < 0 || low < 0) return false;
    text += static_cast<char>(high * 16 + low);
    i += 3;
  }
  return true;
}

std::string_view next_token(std::string_view &line) {
  while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
  const size_t end = std::min(line.find(' '), line.size());
  const std::string_view token = line.substr(0, end);
  line.remove_prefix(end);
  return token;
}

// Reads one operand from the front of line; false if malformed.
bool read(std::string_view &line, char kind, Value &v) {
  const std::string_view token = next_token(line);
  v.null = token == "null";
  if (v.null) return true;
  if (is_text(kind)) return unquote(token, v.text);
  if (token.size() != static_cast<size_t>(digits_of(kind))) return false;
  v.bits = 0;
  for (const char c : token) {
    const int d = hex_digit(c);
    if (d < 0) return false;
    v.bits = v.bits * 16 + static_cast<uint64_t>(d);
  }
  return true;
}

}  // namespace

std::span<const Function> functions() { return kFunctions; }

const Function *find(std::string_view name) {
  for (const auto &table : {std::span<const Function>(kFunctions), std::span<const Function>(kProbes)})
    for (const Function &f : table)
      if (name == f.name) return &f;
  return nullptr;
}

std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte > ' ' && byte < 127 && c != '"' && c != '\\') {
      out += c;
    } else {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02x", byte);
      out += escape;
    }
  }
  return out + "\"";
}

void append(std::string &out, char kind, const Value &v) {
  out += ' ';
  if (v.null) {
    out += "null";
  } else if (is_text(kind)) {
    out += quoted(v.text);
  } else {
    char hex[24];
    std::snprintf(hex, sizeof hex, "%0*" PRIx64, digits_of(kind), v.bits);
    out += hex;
  }
}

std::string run(const Function &f, const Value *in, bool null_result_) {
  std::string out = f.name;
  for (size_t i = 0; f.operands[i] != '\0'; ++i) append(out, f.operands[i], in[i]);
  out += null_result_ ? " null ->" : " ->";
  KEL_FloatAssertReg(record);
  reports.clear();
  null_result = null_result_;
  f.call(in, out);
  return out + reports;
}

bool rerun(std::string_view line, std::string &actual) {
  const Function *f = find(next_token(line));
  if (f == nullptr) return false;
  Value in[4];
  for (size_t i = 0; f->operands[i] != '\0'; ++i)
    if (!read(line, f->operands[i], in[i])) return false;
  const std::string_view next = next_token(line);
  const bool null_result_ = next == "null";
  if (!null_result_ && next != "->") return false;
  if (null_result_ && next_token(line) != "->") return false;
  actual = run(*f, in, null_result_);
  return true;
}

}  // namespace kel_calls
