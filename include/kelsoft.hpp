/*
 * libkelsoft for C++ (C++17 or later): a scoped fault hook that takes any
 * callable, a report recorder for unit tests, and value-returning wrappers of
 * the C functions. Header only: it adds no symbol to the library and calls
 * only what kelsoft.h declares. The wrappers may allocate (std::string,
 * std::vector); the library itself never does.
 *
 * kel::compare and the std::span overload of kel::format_to need C++20
 * (<compare>, <span>); everything else is C++17.
 */
#ifndef KELSOFT_HPP
#define KELSOFT_HPP

#if !defined(__cplusplus) || __cplusplus < 201703L
#error "kelsoft.hpp needs C++17 or later (-std=c++17); from C, include kelsoft.h"
#endif

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>
#if __has_include(<compare>)
#include <compare>
#endif
#if __has_include(<span>)
#include <span>
#endif

#include "kelsoft.h"

namespace kel {

namespace detail {

// One live scope of ScopedHook, in a list from the newest to the oldest.
struct HookNode {
  void (*call)(void *self, const char *file, int32_t line, const char *name);  // null: plain
  void *self;
  FloatFaultHook plain;  // with call null; null too: reports are dropped
  uint64_t owner;        // the making thread's token
  HookNode *older;
  HookNode *newer;
  int running;  // reports inside this scope's callable
};
struct HookState {
  std::mutex mutex;
  std::condition_variable idle;
  HookNode *newest = nullptr;
  FloatFaultHook base = nullptr;  // registered before the first live scope
  uint64_t tokens = 0;            // handed out to threads that made a scope
};
// A callable running on this thread, in a list from the innermost out.
struct Running {
  const HookNode *node;
  const Running *outer;
};
// What a thread knows of the scopes. The token, not std::thread::id, names
// the thread: an id is given again to a thread made after its owner ended,
// which would then take the reports meant for the scopes of no live thread.
struct ThreadState {
  uint64_t token;  // 0 until the thread makes its first scope
  const Running *running;
};

// These three are visible by default, so that every shared object that
// includes this header shares one list and one hook with the program,
// whatever its -fvisibility. The state is never destroyed: threads may still
// report while the process exits. A change of the layout of the structures
// above must change these names.
__attribute__((visibility("default"))) inline HookState &scope_list() {
  static HookState *state = new HookState;
  return *state;
}
__attribute__((visibility("default"))) inline ThreadState &this_thread() {
  static thread_local ThreadState state{};
  return state;
}
inline FloatFaultHook registered() { return __atomic_load_n(&g_pfFloatAssertHook, __ATOMIC_ACQUIRE); }

// Misuse that would hang, or unwind through the C library, ends the program
// with a message instead; inside a catch, the C++ runtime's own message for
// std::terminate names the exception as well.
[[noreturn]] inline void misuse(const char *what) noexcept {
  std::fprintf(stderr, "kelsoft.hpp: %s\n", what);
  std::terminate();
}

// The library's functions are C: an exception must not leave a hook. They
// may be built without unwind tables, and even with them, the rest of the
// reporting call would be skipped (KEL_Ddiv reports a zero divisor before it
// stores the quotient).
template <typename F>
void without_exceptions(F &&f) noexcept {
#if defined(__cpp_exceptions)
  try {
    f();
  } catch (...) {
    misuse(
        "a fault hook's callable threw an exception; reports cannot carry exceptions through the C library, "
        "so catch them inside the callable");
  }
#else
  f();
#endif
}

// The newest scope made on this thread, else the newest of any thread (no
// scope has token 0).
inline HookNode *receiver(const HookState &s, uint64_t token) {
  for (HookNode *n = s.newest; n != nullptr; n = n->older)
    if (n->owner == token) return n;
  return s.newest;
}

// The one hook registered while any scope lives: it hands the report to the
// receiving scope's callable and keeps that scope alive while it runs.
__attribute__((visibility("default"))) inline void relay(const char *file, int32_t line, const char *name) noexcept {
  HookState &s = scope_list();
  ThreadState &t = this_thread();
  std::unique_lock<std::mutex> lock(s.mutex);
  HookNode *node = receiver(s, t.token);
  if (node == nullptr) {
    // No scope lives (any more): pass the report on to the hook registered
    // before the first, as the library would have.
    const FloatFaultHook base = s.base;
    lock.unlock();
    // Hidden copies of this header may pass reports on to each other in a
    // circle: a report goes round once at most.
    static thread_local bool passing = false;
    if (base != nullptr && base != relay && !passing) {
      passing = true;
      without_exceptions([&] { base(file, line, name); });
      passing = false;
    }
    return;
  }
  ++node->running;
  lock.unlock();
  const Running frame{node, t.running};
  t.running = &frame;
  without_exceptions([&] {
    if (node->call != nullptr) {
      node->call(node->self, file, line, name);
    } else if (node->plain != nullptr) {
      node->plain(file, line, name);
    }
  });
  t.running = frame.outer;
  lock.lock();
  if (--node->running == 0) s.idle.notify_all();
}

}  // namespace detail

// Registers a hook for the length of a scope:
//
//   int count = 0;
//   kel::ScopedHook hook([&](const char *, int32_t, const char *name) { ++count; });
//
// Any callable taking (const char *file, int32_t line, const char *name)
// works, capturing lambdas included; so does a plain function pointer, and
// nullptr drops the reports. While any scope lives, the registered hook is
// one of this header's; when the last ends, what was registered before the
// first (a plain hook or none) is registered again.
//
// A report goes to the newest live scope made on the reporting thread or,
// when that thread has none, to the newest live scope of any thread. A scope
// whose thread has ended without ending it is no thread's own any more:
// a thread made later never takes it for its own, whatever its
// std::thread::id. Scopes may be made and ended on any thread, in any
// order, while other threads report. The callable runs on the reporting
// thread, concurrently when several threads report to the same scope, so it
// must be safe for that. The destructor waits for reports still inside this
// scope's callable: once it returns the callable is never called again and
// its captures may go.
//
// Two misuses end the program with a message on stderr (std::terminate)
// rather than hang:
// - A callable that throws. The report comes from inside a C function, which
//   cannot pass an exception on: catch inside the callable. With a test
//   framework whose assertions throw, record the report and assert after the
//   call (ReportRecorder does the recording).
// - A scope ended inside its own callable, or inside a callable that runs
//   during it (a report made by the callable, to a nested scope): the end
//   would wait for itself. Ending another scope from a callable works.
// A callable must not wait for another thread that is ending its scope:
// that is a deadlock this header cannot see.
//
// Code that assigns g_pfFloatAssertHook or calls KEL_FloatAssertReg itself
// while a scope lives takes the reports from every scope until it puts the
// previous hook back or a new scope is made, which registers this header's
// hook again. Shared objects whose version script hides this
// header's symbols each keep their own list: the one whose scope was made
// last receives every report while any of its scopes lives, and passes
// reports on to the hook registered before its first scope once none does.
// Across such objects, scopes must end in the reverse order of their making
// for the hook registered before them to be put back; otherwise reports are
// dropped until the program registers a hook again.
class ScopedHook {
 public:
  explicit ScopedHook(FloatFaultHook hook) {
    node_.plain = hook;
    enter();
  }
  explicit ScopedHook(std::nullptr_t) { enter(); }
  template <typename F, typename = std::enable_if_t<!std::is_convertible_v<F, FloatFaultHook> &&
                                                    std::is_invocable_v<F &, const char *, int32_t, const char *>>>
  explicit ScopedHook(F &&callable) : holder_(new Holder<std::decay_t<F>>(std::forward<F>(callable))) {
    node_.call = holder_->call;
    node_.self = holder_;
    enter();
  }
  ~ScopedHook() {
    for (const detail::Running *r = detail::this_thread().running; r != nullptr; r = r->outer)
      if (r->node == &node_)
        detail::misuse(
            "a ScopedHook ended inside its own callable, or inside a callable run during it; "
            "the end would wait for itself");
    detail::HookState &s = detail::scope_list();
    std::unique_lock<std::mutex> lock(s.mutex);
    (node_.newer != nullptr ? node_.newer->older : s.newest) = node_.older;
    if (node_.older != nullptr) node_.older->newer = node_.newer;
    if (s.newest == nullptr) {
      // Only if no one registered another hook meanwhile.
      FloatFaultHook expected = detail::relay;
      __atomic_compare_exchange_n(&g_pfFloatAssertHook, &expected, s.base, false, __ATOMIC_ACQ_REL, __ATOMIC_ACQUIRE);
    }
    s.idle.wait(lock, [this] { return node_.running == 0; });
    lock.unlock();
    delete holder_;
  }
  ScopedHook(const ScopedHook &) = delete;
  ScopedHook &operator=(const ScopedHook &) = delete;

 private:
  struct HolderBase {
    void (*call)(void *self, const char *file, int32_t line, const char *name);
    virtual ~HolderBase() = default;
  };
  template <typename F>
  struct Holder final : HolderBase {
    explicit Holder(F f) : callable(std::move(f)) {
      call = [](void *self, const char *file, int32_t line, const char *name) {
        static_cast<Holder *>(static_cast<HolderBase *>(self))->callable(file, line, name);
      };
    }
    F callable;
  };

  void enter() {
    detail::HookState &s = detail::scope_list();
    std::lock_guard<std::mutex> lock(s.mutex);
    const FloatFaultHook now = detail::registered();
    if (s.newest == nullptr && now != detail::relay) s.base = now;
    detail::ThreadState &t = detail::this_thread();
    if (t.token == 0) t.token = ++s.tokens;
    node_.owner = t.token;
    node_.older = s.newest;
    if (s.newest != nullptr) s.newest->newer = &node_;
    s.newest = &node_;
    KEL_FloatAssertReg(detail::relay);
  }

  HolderBase *holder_ = nullptr;
  detail::HookNode node_{};
};

struct Report {
  std::string file;
  int32_t line;
  std::string name;
  bool operator==(const Report &o) const { return file == o.file && line == o.line && name == o.name; }
};

// Records every report made while it lives, from any thread:
//   kel::ReportRecorder rec;
//   kel::div(1.0, 0.0);
//   assert(rec.names() == std::vector<std::string>{"PARA IN ILLEGAL", "FP_INFINITE"});
// Reports go to recorders as to any ScopedHook: each thread's newest, else
// the newest of any thread.
// reports() and names() return copies, safe to take while other threads
// report.
class ReportRecorder {
 public:
  ReportRecorder() = default;
  ReportRecorder(const ReportRecorder &) = delete;
  ReportRecorder &operator=(const ReportRecorder &) = delete;

  std::vector<Report> reports() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return reports_;
  }
  std::vector<std::string> names() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> out;
    out.reserve(reports_.size());
    for (const Report &r : reports_) out.push_back(r.name);
    return out;
  }
  void clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    reports_.clear();
  }

 private:
  void record(const char *file, int32_t line, const char *name) {
    Report r{file != nullptr ? file : "", line, name != nullptr ? name : ""};
    std::lock_guard<std::mutex> lock(mutex_);
    reports_.push_back(std::move(r));
  }

  mutable std::mutex mutex_;
  std::vector<Report> reports_;
  // Last, so that it is the first to go: no report arrives after it.
  ScopedHook hook_{[this](const char *file, int32_t line, const char *name) { record(file, line, name); }};
};

namespace detail {
// Calls a function that takes the result address first, returns the result.
template <typename T, typename... A>
T result_first(void (*f)(T *, const A *...), A... args) {
  T r{};
  f(&r, &args...);
  return r;
}
template <typename T>
T result_last(void (*f)(const T *, T *), T x) {
  T r{};
  f(&x, &r);
  return r;
}
}  // namespace detail

// Checked arithmetic; faults reach the hook as from the C calls.
inline double add(double a, double b) { return detail::result_first(KEL_Dadd, a, b); }
inline float add(float a, float b) { return detail::result_first(KEL_Sadd, a, b); }
inline double sub(double a, double b) { return detail::result_first(KEL_Dsub, a, b); }
inline float sub(float a, float b) { return detail::result_first(KEL_Ssub, a, b); }
inline double mul(double a, double b) { return detail::result_first(KEL_Dmut, a, b); }
inline float mul(float a, float b) { return detail::result_first(KEL_Smut, a, b); }
inline double div(double a, double b) { return detail::result_first(KEL_Ddiv, a, b); }
inline float div(float a, float b) { return detail::result_first(KEL_Sdiv, a, b); }

// Any other pair of operands, a float with a double included, stops the
// compilation on every compiler: the precision decides which results are
// faults, so the call names it (cast an operand). Exact matches of the
// overloads above win over these. They stay functions, not objects, so that
// under `using namespace kel;` they overload with the C library's div.
namespace detail {
template <typename A, typename B>
inline constexpr bool kOnePrecision = false;
template <typename A, typename B, typename R>
R refused(R r) {
  static_assert(kOnePrecision<A, B>,
                "kel::add, sub, mul, div and compare take two doubles or two floats: cast an operand, since the "
                "precision decides which results are faults");
  return r;
}
}  // namespace detail
template <typename A, typename B>
double add(A, B) {
  return detail::refused<A, B>(0.0);
}
template <typename A, typename B>
double sub(A, B) {
  return detail::refused<A, B>(0.0);
}
template <typename A, typename B>
double mul(A, B) {
  return detail::refused<A, B>(0.0);
}
template <typename A, typename B>
double div(A, B) {
  return detail::refused<A, B>(0.0);
}

#if defined(__cpp_lib_three_way_comparison)
// Never reports; unordered when either is NaN. C++20 only (under C++17, use
// KEL_Dcmp and KEL_Scmp).
namespace detail {
inline std::partial_ordering ordering(int32_t code) {
  return code == 1   ? std::partial_ordering::greater
         : code == 2 ? std::partial_ordering::less
                     : std::partial_ordering::equivalent;
}
}  // namespace detail
inline std::partial_ordering compare(double a, double b) {
  return a != a || b != b ? std::partial_ordering::unordered : detail::ordering(KEL_Dcmp(&a, &b));
}
inline std::partial_ordering compare(float a, float b) {
  return a != a || b != b ? std::partial_ordering::unordered : detail::ordering(KEL_Scmp(&a, &b));
}
template <typename A, typename B>
std::partial_ordering compare(A, B) {
  return detail::refused<A, B>(std::partial_ordering::unordered);
}
#endif

// The elementary functions carry a checked_ prefix so that, under
// `using namespace kel;`, they never collide with <cmath>.
inline double checked_log(double x) { return detail::result_first(KEL_DLog, x); }
inline float checked_log(float x) { return detail::result_first(KEL_SLog, x); }
inline double checked_log10(double x) { return detail::result_first(KEL_DLog10, x); }
inline float checked_log10(float x) { return detail::result_first(KEL_SLog10, x); }
inline double checked_sqrt(double x) { return detail::result_first(KEL_DSqrt, x); }
inline float checked_sqrt(float x) { return detail::result_first(KEL_DSqrtf, x); }
inline double checked_ceil(double x) { return detail::result_last(KEL_Dceil, x); }
inline double checked_exp(double x) { return detail::result_last(KEL_DExp, x); }
inline double checked_pow(double base, double exponent) {
  double r = 0;
  KEL_AddPowForKavri(&base, &exponent, &r);
  return r;
}
// Empty for a zero denominator, which the library reports and leaves unstored.
inline std::optional<double> ratio(uint32_t numerator, uint32_t denominator) {
  double r = -1;  // no quotient of two unsigned integers is negative
  KEL_IntMut(numerator, denominator, &r);
  if (r < 0) return std::nullopt;
  return r;
}

// ---- Parsing ----------------------------------------------------------------

template <typename T>
struct Parsed {
  T value;
  std::size_t consumed;  // 0: no number (value is then 0.0 or -0.0)
};

namespace detail {
// The parser stops at the first character outside this set (it behaves there
// exactly as at a terminator), so the prefix made of them decides the result.
inline std::size_t parsable_prefix(std::string_view text) {
  const std::size_t n = text.find_first_not_of(std::string_view(" +-.0123456789eE"));
  return n == std::string_view::npos ? text.size() : n;
}
// Whether the consumed text holds a digit before its exponent.
inline bool has_mantissa_digit(std::string_view consumed) {
  for (char c : consumed) {
    if (c == 'e' || c == 'E') return false;
    if (c >= '0' && c <= '9') return true;
  }
  return false;
}
// Runs parse(const char *terminated, char **end) on a terminated copy of the
// view's parsable prefix: on the stack when it is short, else on the heap
// (digit strings have no length limit).
template <typename T, typename Parse>
Parsed<T> parse_view(std::string_view text, Parse parse) {
  const std::size_t n = parsable_prefix(text);
  char small[128];
  std::string large;
  char *copy = small;
  if (n < sizeof small) {
    std::memcpy(small, text.data(), n);
    small[n] = '\0';
  } else {
    large.assign(text.data(), n);
    copy = large.data();
  }
  char *end = copy;
  const T value = parse(copy, &end);
  const std::size_t consumed = static_cast<std::size_t>(end - copy);
  return {value, has_mantissa_digit(text.substr(0, consumed)) ? consumed : 0};
}
}  // namespace detail

// The library's parser on a view, which need not be terminated and is never
// read past its end. consumed counts the characters read; it is 0 when no
// digit came before an exponent (then value is 0.0, or -0.0 after '-'), where
// KEL_SoftStr2Float would still move past blanks, sign and point.
inline Parsed<double> parse(std::string_view text) {
  return detail::parse_view<double>(text, [](const char *t, char **end) { return KEL_SoftStr2Float(t, end); });
}
// As parse, rounded to float by KEL_Seva (twice rounded: to double, then float).
inline Parsed<float> parse_float(std::string_view text) {
  return detail::parse_view<float>(text, [](const char *t, char **end) {
    KEL_SoftStr2Float(t, end);
    float f = 0;
    KEL_Seva(&f, t);
    return f;
  });
}

// LUM_StrToUint32 on a view: empty when it finds no number ("%u": leading
// white space, optional sign, digits; what follows is ignored, so "42abc"
// gives 42, "0x10" 0; above 4294967295 gives 4294967295, '-' negates modulo
// 2^32).
inline std::optional<uint32_t> parse_uint32(std::string_view text) {
  const std::string copy(text);
  uint32_t value = 0;
  if (LUM_StrToUint32(copy.c_str(), &value) != 0) return std::nullopt;
  return value;
}

// ---- Formatting ---------------------------------------------------------------

// The number of conversions in format when each converts one double, else
// -1. Such a conversion is '%', the flags "-+ #0", a width, a precision and
// a letter of "aAeEfFgG", with at most the length modifier 'l' before it,
// which changes nothing for these letters. Everything else is refused, as it
// would read an argument the library never passes: '*' an int; 'L', "ll" and
// 'q' a long double; the other modifiers and letters something undefined
// for a double ("%n" a pointer). "%%" is no conversion; a '%' that ends the
// text is refused.
inline int double_conversions(const char *format) {
  if (format == nullptr) return -1;
  int conversions = 0;
  for (const char *p = std::strchr(format, '%'); p != nullptr; p = std::strchr(p + 1, '%')) {
    if (*++p == '%') continue;
    p += std::strspn(p, "-+ #0");
    p += std::strspn(p, "0123456789");
    if (*p == '.') p += 1 + std::strspn(p + 1, "0123456789");
    if (*p == 'l') ++p;
    if (*p == '\0' || std::strchr("aAeEfFgG", *p) == nullptr) return -1;
    ++conversions;
  }
  return conversions;
}

// Whether format holds exactly one conversion of a double, all that
// KEL_Double2String2 can take: it passes the one double it is given.
inline bool is_double_format(const char *format) { return double_conversions(format) == 1; }

// The whole text of value by KEL_Double2String2, never cut; empty when format
// is not one conversion of a double.
inline std::string format(double value, const char *format = "%f") {
  if (!is_double_format(format)) return {};
  std::string text(64, '\0');
  for (;;) {
    KEL_Double2String2(&value, text.data(), text.size() + 1, format);
    const std::size_t length = std::strlen(text.c_str());
    if (length < text.size()) return text.substr(0, length);
    text.assign(2 * text.size(), '\0');
  }
}

struct Formatted {
  std::size_t length;  // characters in the buffer, terminator excluded
  bool cut;            // the whole text did not fit
};

// KEL_Double2String2 into a caller's buffer of size bytes: the text, cut to
// size - 1 characters and terminated; nothing is written for size 0. A
// format that is not one conversion of a double leaves an empty text (the
// buffer's first byte 0) and {0, cut}: none of its text fits. Allocates only
// when the text fills the buffer exactly, to learn whether it was cut.
inline Formatted format_to(char *buffer, std::size_t size, double value, const char *fmt = "%f") {
  if (buffer == nullptr || !is_double_format(fmt)) {
    if (buffer != nullptr && size > 0) buffer[0] = '\0';
    return {0, true};
  }
  if (size == 0) return {0, !format(value, fmt).empty()};
  KEL_Double2String2(&value, buffer, size, fmt);
  const std::size_t length = std::strlen(buffer);
  return {length, length + 1 == size && format(value, fmt).size() > length};
}
#if defined(__cpp_lib_span)
inline Formatted format_to(std::span<char> buffer, double value, const char *fmt = "%f") {
  return format_to(buffer.data(), buffer.size(), value, fmt);
}
#endif

// ---- Case -------------------------------------------------------------------

// ASCII only: every other byte, 0x80..0xFF included, is kept.
inline std::string to_upper(std::string_view text) {
  std::string out(text);
  for (char &c : out) c = static_cast<char>(LUM_CharToUpper(static_cast<unsigned char>(c)));
  return out;
}
inline std::string to_lower(std::string_view text) {
  std::string out(text);
  for (char &c : out) c = static_cast<char>(LUM_CharToLower(static_cast<unsigned char>(c)));
  return out;
}

// ---- Text that reads back ---------------------------------------------------

namespace detail {
// A positive decimal: its significant digits (the first not 0) times
// 10^exponent, the first digit being the units.
struct Decimal {
  std::string digits;
  int exponent;
};
// d as written: fixed or scientific, whichever is shorter (fixed on a tie).
inline std::string written(const Decimal &d, bool negative) {
  const std::string digits = d.digits.substr(0, d.digits.find_last_not_of('0') + 1);
  const std::size_t n = digits.size();
  const int e = d.exponent;
  std::string fixed(negative ? 1 : 0, '-'), scientific = fixed;
  if (e < 0)
    fixed.append("0.").append(static_cast<std::size_t>(-e - 1), '0').append(digits);
  else if (n <= static_cast<std::size_t>(e) + 1)
    fixed.append(digits).append(static_cast<std::size_t>(e) + 1 - n, '0');
  else
    fixed.append(digits, 0, static_cast<std::size_t>(e) + 1)
        .append(1, '.')
        .append(digits, static_cast<std::size_t>(e) + 1);
  scientific.append(digits, 0, 1).append(n > 1 ? "." : "").append(digits, 1).append(1, 'e').append(std::to_string(e));
  return scientific.size() < fixed.size() ? scientific : fixed;
}
// The correctly rounded decimal of a positive finite value with n digits,
// from the library's formatter (whatever the locale's decimal point).
inline Decimal rounded(double value, int n) {
  const std::string format = "%." + std::to_string(n - 1) + "e";
  char text[64];
  KEL_Double2String2(&value, text, sizeof text, format.c_str());
  Decimal d{{}, 0};
  const char *p = text;
  for (; *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9') d.digits += *p;
  const bool below_one = *++p == '-';
  for (++p; *p != '\0'; ++p) d.exponent = 10 * d.exponent + (*p - '0');
  if (below_one) d.exponent = -d.exponent;
  return d;
}
// The neighbouring decimal with as many digits, above or below.
inline void step(Decimal &d, bool up) {
  std::size_t i = d.digits.size();
  for (; i > 0 && d.digits[i - 1] == (up ? '9' : '0'); --i) d.digits[i - 1] = up ? '0' : '9';
  if (i == 0) {  // 99.9 up is 100
    d.digits.insert(0, 1, '1');
    d.digits.pop_back();
    ++d.exponent;
    return;
  }
  d.digits[i - 1] = static_cast<char>(d.digits[i - 1] + (up ? 1 : -1));
  if (d.digits[0] == '0') {  // 100 down is 99.9
    d.digits.erase(0, 1);
    d.digits.push_back('9');
    --d.exponent;
  }
}
template <typename T>
bool same_bits(T a, T b) {
  using Bits = std::conditional_t<sizeof(T) == 8, uint64_t, uint32_t>;
  Bits x = 0, y = 0;
  std::memcpy(&x, &a, sizeof x);
  std::memcpy(&y, &b, sizeof y);
  return x == y;
}
// The search of target_text, for the parser read(text): a decimal that reads
// back to value, of the fewest digits, and of those the nearest to value's
// correctly rounded decimal of as many digits. The parser's result does not
// fall as the text's value rises, so the texts that read back to one value are
// consecutive: the search keeps the decimal `below` that reads below value
// while the next one of as many digits reads above, and at each further digit
// tries the nine decimals between them (each text is kept only once it has
// read back, so were the parser not monotonic a text could come out longer,
// never wrong).
template <typename T, typename Read>
std::optional<std::string> target_text(T value, Read read) {
  constexpr int kMostDigits = 25;
  if (!(value * 0 < 1)) return std::nullopt;  // NaN, infinite
  const bool negative = value < 0 || same_bits(value, -T(0));
  const T magnitude = negative ? -value : value;
  std::string text;
  // -1 reads below value, 0 reads back to it (text is then kept), 1 above.
  const auto reads = [&](const Decimal &d) {
    std::string candidate = d.digits.empty() ? (negative ? "-0" : "0") : written(d, negative);
    const T got = read(candidate.c_str());  // NaN, never from these texts, would read above
    if (!same_bits(got, value)) return (negative ? -got : got) < magnitude ? -1 : 1;
    text = std::move(candidate);
    return 0;
  };
  if (!(magnitude > 0)) return reads(Decimal{{}, 0}) == 0 ? std::optional(text) : std::nullopt;
  Decimal below = rounded(static_cast<double>(magnitude), 1);
  const int first = reads(below);
  for (int side = first, steps = 0; side == first; ++steps) {  // walks to the pair
    if (side == 0) return text;
    if (steps == 20) return std::nullopt;
    Decimal next = below;
    step(next, first < 0);
    side = reads(next);
    if (side == 0) return text;
    if (side == first || side < 0) below = std::move(next);
  }
  for (int n = 2; n <= kMostDigits; ++n) {
    const int rounded_reads = reads(rounded(static_cast<double>(magnitude), n));
    if (rounded_reads == 0) return text;
    std::optional<std::string> nearest;
    char last_below = '0';
    for (char digit = '1'; digit <= '9'; ++digit) {
      const int side = reads(Decimal{below.digits + digit, below.exponent});
      if (side > 0) break;
      if (side < 0) last_below = digit;
      if (side == 0 && (!nearest || rounded_reads > 0)) nearest = text;
    }
    if (nearest) return nearest;
    below.digits += last_below;
  }
  return std::nullopt;
}
}  // namespace detail

// The shortest decimal text that the library's own parser reads back to the
// exact bits of value: KEL_SoftStr2Float for a double, KEL_Seva for a float.
// The parser is not correctly rounded, so this is not always the shortest
// text that reads back in C: kel::target_text(0.30000000000000004) is "0.3",
// and the double nearest 0.01 (0x3F847AE147AE147B) is "0.009999999999999999",
// as "0.01" reads as the next double up. Of the texts of the fewest digits it
// is the nearest to the value. Empty for NaN and the infinities, and for any
// value that no decimal of up to 25 significant digits reads back to (the
// parser would skip it; none of 100,000 random doubles is one). Allocates.
inline std::optional<std::string> target_text(double value) {
  return detail::target_text(value, [](const char *text) { return KEL_SoftStr2Float(text, nullptr); });
}
inline std::optional<std::string> target_text(float value) {
  return detail::target_text(value, [](const char *text) {
    float f = 0;
    KEL_Seva(&f, text);
    return f;
  });
}

// ---- Conversions ------------------------------------------------------------

// kel::convert<To>(value) with the library's fixed results for NaN, infinite
// and out-of-range values: kel::convert<int32_t>(2.5) is 2. Integers go by
// width and signedness, so convert<long> is the 64-bit conversion where long
// has 64 bits and the 32-bit one where it has 32.
namespace detail {
inline void convert(const double *src, uint16_t *dst) { KEL_Double2Ushort(src, dst); }
inline void convert(const double *src, int16_t *dst) { KEL_Double2Short(src, dst); }
inline void convert(const double *src, int32_t *dst) { KEL_Double2Int32(src, dst); }
inline void convert(const double *src, uint32_t *dst) { KEL_Double2Uint32(src, dst); }
inline void convert(const double *src, int64_t *dst) { KEL_Double2Int64(src, dst); }
inline void convert(const double *src, uint64_t *dst) { KEL_Double2Uint64(src, dst); }
inline void convert(const float *src, int32_t *dst) { KEL_Float2Int32(src, dst); }
inline void convert(const float *src, uint32_t *dst) { KEL_Float2Uint32(src, dst); }
inline void convert(const float *src, double *dst) { KEL_Float2Double(src, dst); }
inline void convert(const int16_t *src, double *dst) { KEL_Short2Double(src, dst); }
inline void convert(const uint16_t *src, double *dst) { KEL_Ushort2Double(src, dst); }
inline void convert(const int32_t *src, double *dst) { KEL_Int322Double(src, dst); }
inline void convert(const uint32_t *src, double *dst) { KEL_Uint322Double(src, dst); }
inline void convert(const int64_t *src, double *dst) { KEL_Int642Double(src, dst); }
inline void convert(const uint64_t *src, double *dst) { KEL_Uint642Double(src, dst); }
inline void convert(const int32_t *src, float *dst) { KEL_Int322Float(src, dst); }
inline void convert(const uint32_t *src, float *dst) { KEL_Uint322Float(src, dst); }

template <typename T, bool = std::is_integral_v<T> && !std::is_same_v<T, bool>>
struct Exact {
  using type = T;
};
template <typename T>
struct Exact<T, true> {
  using Signed = std::conditional_t<sizeof(T) == 2, int16_t, std::conditional_t<sizeof(T) == 4, int32_t, int64_t>>;
  using Unsigned = std::make_unsigned_t<Signed>;
  using type = std::conditional_t<sizeof(T) == 1, void, std::conditional_t<std::is_signed_v<T>, Signed, Unsigned>>;
};
template <typename T>
using exact_t = typename Exact<T>::type;

template <typename From, typename To, typename = void>
struct Convertible : std::false_type {};
template <typename From, typename To>
struct Convertible<From, To, std::void_t<decltype(convert(std::declval<const From *>(), std::declval<To *>()))>>
    : std::true_type {};
}  // namespace detail

template <typename To, typename From>
To convert(From value) {
  using Src = detail::exact_t<From>;
  using Dst = detail::exact_t<To>;
  static_assert(detail::Convertible<Src, Dst>::value,
                "kel::convert<To>(From): the library has no such conversion. It has double -> int16_t, uint16_t, "
                "int32_t, uint32_t, int64_t, uint64_t; float -> int32_t, uint32_t, double; int16_t, uint16_t, "
                "int32_t, uint32_t, int64_t, uint64_t -> double; int32_t, uint32_t -> float");
  if constexpr (detail::Convertible<Src, Dst>::value) {
    const Src src = static_cast<Src>(value);
    Dst out{};
    detail::convert(&src, &out);
    return static_cast<To>(out);
  } else {
    return To{};
  }
}

}  // namespace kel

#endif /* KELSOFT_HPP */
