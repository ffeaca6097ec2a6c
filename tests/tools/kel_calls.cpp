#include "kel_calls.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "kelsoft.h"

namespace kel_calls {
namespace {

template <typename T>
using Word = std::conditional_t<sizeof(T) == 8, uint64_t, std::conditional_t<sizeof(T) == 4, uint32_t, uint16_t>>;

template <typename T>
T as(const Value &v) {
  return std::bit_cast<T>(static_cast<Word<T>>(v.bits));
}

template <typename T>
Value of(T x) {
  return {std::bit_cast<Word<T>>(x), {}};
}

// What a result holds when the function stores nothing.
template <typename T>
T untouched() {
  return std::bit_cast<T>(static_cast<Word<T>>(0xA5A5A5A5A5A5A5A5u));
}

template <typename T>
constexpr char kind_of() {
  if constexpr (std::is_same_v<T, float>) return 'f';
  if constexpr (sizeof(T) == 8) return std::is_same_v<T, double> ? 'd' : 'q';
  return sizeof(T) == 4 ? 'w' : 'h';
}

template <typename T>
void put(std::string &out, T x) {
  append(out, kind_of<T>(), of(x));
}

void put_text(std::string &out, const char *text) {
  out += ' ';
  out += quoted(text);
}

// A buffer the callee writes; its text runs up to the first NUL.
struct Buffer {
  std::array<char, 64> bytes;
  Buffer() {
    bytes.fill('X');
    bytes.back() = '\0';
  }
  // A size the buffer can hold.
  uint32_t size(const Value &v) const { return std::min<uint32_t>(static_cast<uint32_t>(v.bits), bytes.size() - 1); }
};

template <typename T, void (*F)(T *, const T *, const T *)>
void arith(const Value *in, std::string &out) {
  const T a = as<T>(in[0]), b = as<T>(in[1]);
  T r = untouched<T>();
  F(&r, &a, &b);
  put(out, r);
}

template <typename T, int32_t (*F)(const T *, const T *)>
void compare(const Value *in, std::string &out) {
  const T a = as<T>(in[0]), b = as<T>(in[1]);
  put(out, F(&a, &b));
}

template <typename T, void (*F)(T *, const T *)>
void result_first(const Value *in, std::string &out) {
  const T a = as<T>(in[0]);
  T r = untouched<T>();
  F(&r, &a);
  put(out, r);
}

template <typename S, typename D, void (*F)(const S *, D *)>
void source_first(const Value *in, std::string &out) {
  const S a = as<S>(in[0]);
  D r = untouched<D>();
  F(&a, &r);
  put(out, r);
}

template <typename D, void (*F)(const void *, D *)>
void from_buffer(const Value *in, std::string &out) {
  const Word<D> bytes = static_cast<Word<D>>(in[0].bits);  // native byte order
  D r = untouched<D>();
  F(&bytes, &r);
  put(out, r);
}

template <typename S, void (*F)(const S *, void *)>
void to_buffer(const Value *in, std::string &out) {
  const S a = as<S>(in[0]);
  Word<S> bytes = untouched<Word<S>>();
  F(&a, &bytes);
  put(out, bytes);
}

void power(const Value *in, std::string &out) {
  const double b = as<double>(in[0]), e = as<double>(in[1]);
  double r = untouched<double>();
  KEL_AddPowForKavri(&b, &e, &r);
  put(out, r);
}

void int_mut(const Value *in, std::string &out) {
  double r = untouched<double>();
  KEL_IntMut(static_cast<uint32_t>(in[0].bits), static_cast<uint32_t>(in[1].bits), &r);
  put(out, r);
}

void soft_str2float(const Value *in, std::string &out) {
  char *end = nullptr;
  put(out, KEL_SoftStr2Float(in[0].text.c_str(), &end));
  put(out, static_cast<int32_t>(end - in[0].text.c_str()));
}

template <typename T, void (*F)(T *, const char *)>
void evaluate(const Value *in, std::string &out) {
  T r = untouched<T>();
  F(&r, in[0].text.c_str());
  put(out, r);
}

template <typename T, void (*F)(const T *, char *, size_t)>
void format(const Value *in, std::string &out) {
  const T a = as<T>(in[0]);
  Buffer buffer;
  F(&a, buffer.bytes.data(), buffer.size(in[1]));
  put_text(out, buffer.bytes.data());
}

void format_with(const Value *in, std::string &out) {
  const double a = as<double>(in[0]);
  Buffer buffer;
  KEL_Double2String2(&a, buffer.bytes.data(), buffer.size(in[1]), in[2].text.c_str());
  put_text(out, buffer.bytes.data());
}

template <int32_t (*F)(int32_t)>
void char_map(const Value *in, std::string &out) {
  put(out, F(static_cast<int32_t>(in[0].bits)));
}

void str_to_lower(const Value *in, std::string &out) {
  Buffer buffer;
  std::memcpy(buffer.bytes.data(), in[0].text.c_str(), std::min(in[0].text.size() + 1, buffer.bytes.size() - 1));
  LUM_StrToLower(buffer.bytes.data(), static_cast<uint32_t>(in[1].bits));
  put_text(out, buffer.bytes.data());
}

void str_to_upper(const Value *in, std::string &out) {
  Buffer buffer;
  LUM_StrToUpper(in[0].text.c_str(), buffer.bytes.data(), buffer.size(in[1]));
  put_text(out, buffer.bytes.data());
}

void str_to_uint32(const Value *in, std::string &out) {
  uint32_t r = untouched<uint32_t>();
  put(out, LUM_StrToUint32(in[0].text.c_str(), &r));
  put(out, r);
}

void classify(const Value *in, std::string &out) {
  const float a = as<float>(in[0]);
  put(out, KEL_FPCLASSIFY_Check(&a));
}

void type_char(const Value *in, std::string &out) { put_text(out, KEL_GetTypeChar(static_cast<int32_t>(in[0].bits))); }

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

}  // namespace

std::span<const Function> functions() { return kFunctions; }

const Function *find(std::string_view name) {
  for (const Function &f : kFunctions)
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
  if (is_text(kind)) {
    out += quoted(v.text);
    return;
  }
  char hex[24];
  std::snprintf(hex, sizeof hex, "%0*" PRIx64, digits_of(kind), v.bits);
  out += hex;
}

bool read(std::string_view &line, char kind, Value &v) {
  const std::string_view token = next_token(line);
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

std::string run(const Function &f, const Value *in) {
  std::string out = f.name;
  for (size_t i = 0; f.operands[i] != '\0'; ++i) append(out, f.operands[i], in[i]);
  out += " ->";
  KEL_FloatAssertReg(record);
  reports.clear();
  f.call(in, out);
  return out + reports;
}

bool rerun(std::string_view line, std::string &actual) {
  const Function *f = find(next_token(line));
  if (f == nullptr) return false;
  Value in[4];
  for (size_t i = 0; f->operands[i] != '\0'; ++i)
    if (!read(line, f->operands[i], in[i])) return false;
  actual = run(*f, in);
  return true;
}

}  // namespace kel_calls
