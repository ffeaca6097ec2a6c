// Runs the vector files: one case a line,
//   name input... = output...   # comment
// Values are bits in hex (16 digits a double, 8 a float), counts in decimal,
// texts in double quotes with C escapes, "null" for a null address. Reports
// to the fault hook end the outputs of the checked families ("-": none).
// Destinations start filled with 0xA5 bytes, so "nothing stored" shows.
//   vector_runner FILE...           checks every line, prints the failures
//   vector_runner --print FILE      prints the lines with this build's outputs
#include <bit>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <type_traits>
#include <vector>

#include "double_double.h"
#include "kelsoft.h"
#include "tarvex.h"

namespace {

constexpr unsigned char kFill = 0xA5;
std::string reported;

void record(const char *, int32_t, const char *name) {
  const std::string n = name;
  reported += reported.empty() ? "" : ",";
  reported += n == "FP_NAN" ? "nan" : n == "FP_INFINITE" ? "inf" : n == "PARA IN ILLEGAL" ? "ill" : n;
}

std::string reports() {
  std::string r = reported.empty() ? "-" : reported;
  reported.clear();
  return r;
}

std::string hex(uint64_t v, int digits) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%0*" PRIX64, digits, v);
  return buf;
}

template <typename T>
uint64_t raw(const T &v) {
  uint64_t u = 0;
  if constexpr (sizeof(T) == 2) u = std::bit_cast<uint16_t>(v);
  if constexpr (sizeof(T) == 4) u = std::bit_cast<uint32_t>(v);
  if constexpr (sizeof(T) == 8) u = std::bit_cast<uint64_t>(v);
  return u;
}

template <typename T>
std::string bits(const T *p) {
  return p == nullptr ? "-" : hex(raw(*p), 2 * sizeof(T));
}

std::string quoted(const char *s, size_t n) {
  std::string out = "\"";
  for (size_t i = 0; i < n; ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c == '"' || c == '\\') out += {'\\', static_cast<char>(c)};
    else if (c >= 0x20 && c < 0x7F) out += static_cast<char>(c);
    else out += "\\x" + hex(c, 2);
  }
  return out + '"';
}

// A buffer up to its last written byte.
struct Buffer {
  char bytes[64];
  Buffer() { std::memset(bytes, kFill, sizeof bytes); }
  std::string written() const {
    size_t n = sizeof bytes;
    while (n > 0 && static_cast<unsigned char>(bytes[n - 1]) == kFill) --n;
    return quoted(bytes, n);
  }
};

// The inputs of one line, each parsed on demand into its own slot.
class Args {
 public:
  explicit Args(std::vector<std::string> tokens) : tokens_(std::move(tokens)) {}
  size_t size() const { return tokens_.size(); }
  uint64_t num(size_t i) const { return std::stoull(tokens_.at(i), nullptr, 0); }
  uint64_t hexnum(size_t i) const { return std::stoull(tokens_.at(i), nullptr, 16); }
  const char *text(size_t i) const { return tokens_.at(i) == "null" ? nullptr : tokens_[i].c_str(); }
  template <typename T>
  const T *in(size_t i) {
    if (tokens_.at(i) == "null") return nullptr;
    const uint64_t v = hexnum(i);
    T value;
    if constexpr (sizeof(T) == 2) value = std::bit_cast<T>(static_cast<uint16_t>(v));
    if constexpr (sizeof(T) == 4) value = std::bit_cast<T>(static_cast<uint32_t>(v));
    if constexpr (sizeof(T) == 8) value = std::bit_cast<T>(v);
    std::memcpy(&slot_[i], &value, sizeof value);
    return reinterpret_cast<const T *>(&slot_[i]);
  }
  template <typename T>
  T value(size_t i) {
    return *in<T>(i);
  }

 private:
  std::vector<std::string> tokens_;
  uint64_t slot_[8] = {};
};

// Where a function stores its result.
template <typename T>
struct Out {
  T value;
  Out() { std::memset(&value, kFill, sizeof value); }
  std::string str() const { return bits(&value); }
};

template <typename T>
std::string binary(Args &a, void (*fn)(T *, const T *, const T *)) {
  Out<T> r;
  fn(a.size() > 2 ? nullptr : &r.value, a.in<T>(0), a.in<T>(1));
  return r.str() + ' ' + reports();
}

template <typename T>
std::string unary(Args &a, void (*fn)(T *, const T *)) {
  Out<T> r;
  fn(a.size() > 1 ? nullptr : &r.value, a.in<T>(0));
  return r.str() + ' ' + reports();
}

template <typename T>
std::string compare(Args &a, int32_t (*fn)(const T *, const T *)) {
  return std::to_string(fn(a.in<T>(0), a.in<T>(1))) + ' ' + reports();
}

template <typename S, typename D>
std::string convert(Args &a, void (*fn)(const S *, D *)) {
  Out<D> r;
  fn(a.in<S>(0), &r.value);
  return r.str();
}

template <typename S, typename D>
std::string convert_null(void (*fn)(const S *, D *)) {
  Out<std::conditional_t<std::is_void_v<D>, double, D>> r;
  std::conditional_t<std::is_void_v<S>, double, S> src{};
  fn(nullptr, &r.value);
  fn(&src, nullptr);
  fn(nullptr, nullptr);
  return r.str();
}

// Out to a buffer at an offset and back: the bytes must be the value's own.
template <typename T>
std::string buffered(Args &a, void (*out)(const T *, void *), void (*in)(const void *, T *)) {
  unsigned char buffer[24];
  std::memset(buffer, kFill, sizeof buffer);
  const size_t offset = a.num(1);
  const T *value = a.in<T>(0);
  out(value, buffer + offset);
  const bool same = std::memcmp(buffer + offset, value, sizeof(T)) == 0;
  bool spilled = false;
  for (size_t i = 0; i < sizeof buffer; ++i) spilled |= (i < offset || i >= offset + sizeof(T)) && buffer[i] != kFill;
  Out<T> back;
  in(buffer + offset, &back.value);
  return std::string(same ? "same" : "differ") + (spilled ? " spilled " : " ") + back.str();
}

template <typename T>
std::string formatted(Args &a, void (*fn)(const T *, char *, size_t)) {
  Buffer b;
  fn(a.in<T>(0), b.bytes, a.num(1));
  return b.written();
}

// Bytes first..last through a mapping, or through a test as '0' and '1'.
template <int32_t (*fn)(int32_t), bool kTest>
std::string each_byte(Args &a) {
  std::string out;
  for (uint64_t c = a.hexnum(0); c <= a.hexnum(1); ++c) {
    const int32_t v = fn(static_cast<int32_t>(c));
    out += static_cast<char>(kTest ? '0' + v : v);
  }
  return quoted(out.data(), out.size());
}

// The double-double's own operations; --print on the target writes what its
// long double gives.
using kel::DoublePair;
DoublePair pair_at(Args &a, size_t i) { return {a.value<double>(i), a.value<double>(i + 1)}; }
std::string pair_str(DoublePair p) { return bits(&p.hi) + ' ' + bits(&p.lo); }
bool print_mode = false;

template <typename Soft, typename Native>
std::string extended(Args &a, Soft soft, Native native) {
#if __LDBL_MANT_DIG__ == 106
  if (print_mode) return pair_str(kel::to_pair(native(kel::from_pair(pair_at(a, 0)), kel::from_pair(pair_at(a, 2)))));
#else
  (void)native;
#endif
  return pair_str(soft(kel::DoubleDouble(pair_at(a, 0)), kel::DoubleDouble(pair_at(a, 2))).pair());
}

struct Handler {
  const char *name;
  std::string (*run)(Args &);
};

const Handler kHandlers[] = {
    // Fault reports and classification.
    {"TypeName", [](Args &a) { return std::string(KEL_GetTypeChar(static_cast<int32_t>(a.num(0)))); }},
    {"Classify", [](Args &a) { return std::to_string(KEL_FPCLASSIFY_Check(a.in<float>(0))) + ' ' + reports(); }},
    // Checked arithmetic; a third input "null" passes a null result.
    {"Dadd", [](Args &a) { return binary<double>(a, KEL_Dadd); }},
    {"Dsub", [](Args &a) { return binary<double>(a, KEL_Dsub); }},
    {"Dmut", [](Args &a) { return binary<double>(a, KEL_Dmut); }},
    {"Ddiv", [](Args &a) { return binary<double>(a, KEL_Ddiv); }},
    {"Sadd", [](Args &a) { return binary<float>(a, KEL_Sadd); }},
    {"Ssub", [](Args &a) { return binary<float>(a, KEL_Ssub); }},
    {"Smut", [](Args &a) { return binary<float>(a, KEL_Smut); }},
    {"Sdiv", [](Args &a) { return binary<float>(a, KEL_Sdiv); }},
    {"Dcmp", [](Args &a) { return compare<double>(a, KEL_Dcmp); }},
    {"Scmp", [](Args &a) { return compare<float>(a, KEL_Scmp); }},
    {"DdivIntoDivisor",
     [](Args &a) {
       double divisor = a.value<double>(1);
       KEL_Ddiv(&divisor, a.in<double>(0), &divisor);
       return bits(&divisor) + ' ' + reports();
     }},
    // Elementary functions; a second input "null" passes a null result.
    {"DLog", [](Args &a) { return unary<double>(a, KEL_DLog); }},
    {"DLog10", [](Args &a) { return unary<double>(a, KEL_DLog10); }},
    {"DSqrt", [](Args &a) { return unary<double>(a, KEL_DSqrt); }},
    {"SLog", [](Args &a) { return unary<float>(a, KEL_SLog); }},
    {"SLog10", [](Args &a) { return unary<float>(a, KEL_SLog10); }},
    {"DSqrtf", [](Args &a) { return unary<float>(a, KEL_DSqrtf); }},
    {"Dceil", [](Args &a) { return unary<double>(a, [](double *r, const double *x) { KEL_Dceil(x, r); }); }},
    {"DExp", [](Args &a) { return unary<double>(a, [](double *r, const double *x) { KEL_DExp(x, r); }); }},
    {"Pow",
     [](Args &a) {
       Out<double> r;
       KEL_AddPowForKavri(a.in<double>(0), a.in<double>(1), &r.value);
       return r.str() + ' ' + reports();
     }},
    {"IntMut",
     [](Args &a) {
       Out<double> r;
       KEL_IntMut(static_cast<uint32_t>(a.num(0)), static_cast<uint32_t>(a.num(1)), a.size() > 2 ? nullptr : &r.value);
       return r.str() + ' ' + reports();
     }},
    // The parser: value, end offset ("-": end untouched), reports.
    {"Parse",
     [](Args &a) {
       const char *text = a.text(0);
       char *end = nullptr;
       const double v = KEL_SoftStr2Float(text, &end);
       return bits(&v) + ' ' + (end == nullptr ? "-" : std::to_string(end - text)) + ' ' + reports();
     }},
    {"Deva",
     [](Args &a) {
       Out<double> r;
       KEL_Deva(a.size() > 1 ? nullptr : &r.value, a.text(0));
       return r.str() + ' ' + reports();
     }},
    {"Seva",
     [](Args &a) {
       Out<float> r;
       KEL_Seva(a.size() > 1 ? nullptr : &r.value, a.text(0));
       return r.str() + ' ' + reports();
     }},
    // Formatting: value, size[, format]: the bytes written.
    {"Double2Ascii", [](Args &a) { return formatted<double>(a, KEL_Double2Ascii); }},
    {"Float2String", [](Args &a) { return formatted<float>(a, KEL_Float2String); }},
    {"Double2String", [](Args &a) { return formatted<double>(a, KEL_Double2String); }},
    {"Double2String2",
     [](Args &a) {
       Buffer b;
       KEL_Double2String2(a.in<double>(0), b.bytes, a.num(1), a.text(2));
       return b.written();
     }},
    // snprintf_truncated_s: size, format, double[, null destination]: result and bytes written.
    {"Truncated",
     [](Args &a) {
       Buffer b;
       const int n = snprintf_truncated_s(a.size() > 3 ? nullptr : b.bytes, a.num(0), a.text(1), a.value<double>(2));
       return std::to_string(n) + ' ' + b.written();
     }},
    {"TruncatedWide",
     [](Args &a) {
       Buffer b;
       const int n = snprintf_truncated_s(b.bytes, a.num(0), a.text(1), L"\x100");
       return std::to_string(n) + ' ' + b.written();
     }},
    // Conversions: the destination's bits.
    {"Double2Int32", [](Args &a) { return convert<double, int32_t>(a, KEL_Double2Int32); }},
    {"Double2Ushort", [](Args &a) { return convert<double, uint16_t>(a, KEL_Double2Ushort); }},
    {"Double2Short", [](Args &a) { return convert<double, int16_t>(a, KEL_Double2Short); }},
    {"Double2Uint32", [](Args &a) { return convert<double, uint32_t>(a, KEL_Double2Uint32); }},
    {"Double2Int64", [](Args &a) { return convert<double, int64_t>(a, KEL_Double2Int64); }},
    {"Double2Uint64", [](Args &a) { return convert<double, uint64_t>(a, KEL_Double2Uint64); }},
    {"Float2Int32", [](Args &a) { return convert<float, int32_t>(a, KEL_Float2Int32); }},
    {"Float2Uint32", [](Args &a) { return convert<float, uint32_t>(a, KEL_Float2Uint32); }},
    {"Float2Double", [](Args &a) { return convert<float, double>(a, KEL_Float2Double); }},
    {"Int322Double", [](Args &a) { return convert<int32_t, double>(a, KEL_Int322Double); }},
    {"Uint322Double", [](Args &a) { return convert<uint32_t, double>(a, KEL_Uint322Double); }},
    {"Short2Double", [](Args &a) { return convert<int16_t, double>(a, KEL_Short2Double); }},
    {"Ushort2Double", [](Args &a) { return convert<uint16_t, double>(a, KEL_Ushort2Double); }},
    {"Int322Float", [](Args &a) { return convert<int32_t, float>(a, KEL_Int322Float); }},
    {"Uint322Float", [](Args &a) { return convert<uint32_t, float>(a, KEL_Uint322Float); }},
    {"Int642Double", [](Args &a) { return convert<int64_t, double>(a, KEL_Int642Double); }},
    {"Uint642Double", [](Args &a) { return convert<uint64_t, double>(a, KEL_Uint642Double); }},
    {"DoubleBuffer", [](Args &a) { return buffered<double>(a, KEL_Double2Buff, KEL_Buff2Double); }},
    {"FloatBuffer", [](Args &a) { return buffered<float>(a, KEL_Float2Buff, KEL_Buff2Float); }},
    // The conversions that test their addresses: null source, destination, both.
    {"NullDouble2Ushort", [](Args &) { return convert_null(KEL_Double2Ushort); }},
    {"NullDouble2Int32", [](Args &) { return convert_null(KEL_Double2Int32); }},
    {"NullFloat2Uint32", [](Args &) { return convert_null(KEL_Float2Uint32); }},
    {"NullInt322Double", [](Args &) { return convert_null(KEL_Int322Double); }},
    {"NullUint322Double", [](Args &) { return convert_null(KEL_Uint322Double); }},
    {"NullUshort2Double", [](Args &) { return convert_null(KEL_Ushort2Double); }},
    {"NullUint322Float", [](Args &) { return convert_null(KEL_Uint322Float); }},
    {"NullBuff2Double", [](Args &) { return convert_null(KEL_Buff2Double); }},
    {"NullDouble2Buff", [](Args &) { return convert_null<double, void>(KEL_Double2Buff); }},
    // ASCII case: a range of bytes through a mapping, and the string helpers.
    {"IsLower", each_byte<LUM_CharIsLower, true>},
    {"IsUpper", each_byte<LUM_CharIsUpper, true>},
    {"ToUpper", each_byte<LUM_CharToUpper, false>},
    {"ToLower", each_byte<LUM_CharToLower, false>},
    {"CaseOf",
     [](Args &a) {
       const auto c = static_cast<int32_t>(a.num(0));
       return std::to_string(LUM_CharIsLower(c)) + ' ' + std::to_string(LUM_CharIsUpper(c)) + ' ' +
              hex(static_cast<uint32_t>(LUM_CharToUpper(c)), 8) + ' ' + hex(static_cast<uint32_t>(LUM_CharToLower(c)), 8);
     }},
    {"StrToLower",
     [](Args &a) {
       Buffer b;
       if (a.text(0) != nullptr) std::strcpy(b.bytes, a.text(0));
       LUM_StrToLower(a.text(0) == nullptr ? nullptr : b.bytes, static_cast<uint32_t>(a.num(1)));
       return b.written();
     }},
    {"StrToUpper",
     [](Args &a) {
       Buffer b;
       LUM_StrToUpper(a.text(0), b.bytes, static_cast<uint32_t>(a.num(1)));
       return b.written();
     }},
    // The unsigned parsers: status or count, then the values stored.
    {"StrToUint32",
     [](Args &a) {
       Out<uint32_t> r;
       const int32_t status = LUM_StrToUint32(a.text(0), a.size() > 1 ? nullptr : &r.value);
       return std::to_string(status) + ' ' + r.str();
     }},
    {"Scan",
     [](Args &a) {
       Out<unsigned> first, second;
       const int n = sscanf_s(a.text(1), a.text(0), &first.value, &second.value);
       return std::to_string(n) + ' ' + first.str() + ' ' + second.str();
     }},
    // The double-double: both operands as (hi, lo).
    {"DDadd", [](Args &a) { return extended(a, std::plus<>(), std::plus<>()); }},
    {"DDmul", [](Args &a) { return extended(a, std::multiplies<>(), std::multiplies<>()); }},
};

// Splits a line into tokens, the outputs after "=", and the comment.
struct Line {
  std::vector<std::string> in, out;
  std::string name, comment;
};

std::string unquote(const std::string &t) {
  std::string s;
  for (size_t i = 1; i + 1 < t.size(); ++i) {
    if (t[i] != '\\') {
      s += t[i];
    } else if (t[++i] == 'x') {
      s += static_cast<char>(std::stoi(t.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      s += t[i] == 'n' ? '\n' : t[i] == 't' ? '\t' : t[i];
    }
  }
  return s;
}

Line split(const std::string &text) {
  Line line;
  std::vector<std::string> *into = &line.in;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == ' ' || text[i] == '\t') {
      ++i;
    } else if (text[i] == '#') {
      line.comment = text.substr(i);
      break;
    } else {
      size_t j = i;
      if (text[i] == '"') {
        for (++j; j < text.size() && text[j] != '"'; ++j) j += text[j] == '\\';
        ++j;
      } else {
        while (j < text.size() && text[j] != ' ' && text[j] != '\t') ++j;
      }
      std::string token = text.substr(i, j - i);
      if (token == "=") into = &line.out;
      else into->push_back(token);
      i = j;
    }
  }
  if (!line.in.empty()) {
    line.name = line.in.front();
    line.in.erase(line.in.begin());
  }
  return line;
}

std::string join(const std::vector<std::string> &tokens) {
  std::string s;
  for (const auto &t : tokens) s += (s.empty() ? "" : " ") + t;
  return s;
}

// The outputs this build gives, or "?" for an unknown name.
std::string outputs(const Line &line) {
  std::vector<std::string> in;
  for (const auto &t : line.in) in.push_back(t.front() == '"' ? unquote(t) : t);
  for (const Handler &h : kHandlers) {
    if (line.name != h.name) continue;
    Args args(in);
    return h.run(args);
  }
  return "?";
}

int run_file(const char *path) {
  std::ifstream file(path);
  if (!file) {
    std::cerr << path << ": cannot read\n";
    return 1;
  }
  int failures = 0, cases = 0;
  std::string text;
  for (int number = 1; std::getline(file, text); ++number) {
    const Line line = split(text);
    if (line.name.empty()) {
      if (print_mode) std::cout << text << '\n';
      continue;
    }
    const std::string got = outputs(line);
    if (print_mode) {
      std::string out = line.name + ' ' + join(line.in) + " = " + got;
      if (!line.comment.empty()) out += std::string(out.size() < 60 ? 60 - out.size() : 1, ' ') + line.comment;
      std::cout << out << '\n';
      continue;
    }
    ++cases;
    if (got == join(line.out)) continue;
    ++failures;
    std::cerr << path << ':' << number << ": " << line.name << ' ' << join(line.in) << "\n  expected " << join(line.out)
              << "\n  got      " << got << '\n';
  }
  if (!print_mode) std::cout << path << ": " << cases << " cases, " << failures << " failed\n";
  return failures == 0 && (cases > 0 || print_mode) ? 0 : 1;
}

}  // namespace

int main(int argc, char **argv) {
  KEL_FloatAssertReg(record);
  int status = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--print") == 0) print_mode = true;
    else status |= run_file(argv[i]);
  }
  return status;
}
