// The frame of every counting program: PROG list | none | NAME | plain:NAME [N]
// runs N calls (default 2000) of NAME, of its plain counterpart, or of
// nothing, over 16 operands in turn. scripts/count.sh subtracts the count of
// `none` and divides by N.
#ifndef KEL_COUNT_MAIN_H
#define KEL_COUNT_MAIN_H

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>

namespace count {

constexpr unsigned kOperands = 16;

struct Entry {
  const char *name;
  void (*run)(int n);
  void (*plain)(int n);  // null where there is none
};

// Body(k) for k = 0, 1, ... 15, 0, ...: out of line, so every loop is alike.
template <auto Body>
[[gnu::noinline]] void loop(int n) {
  for (int i = 0; i < n; ++i) Body(static_cast<unsigned>(i) % kOperands);
}

// Makes the compiler believe the values are used, at no cost in instructions.
template <typename T>
inline void keep_one(T *value) {
  asm volatile("" : : "r"(value) : "memory");
}
template <typename... T>
inline void keep(T *...values) {
  (keep_one(values), ...);
}

inline int run(int argc, char **argv, std::span<const Entry> entries, void (*none)(int)) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s list | none | NAME | plain:NAME [N]\n", argv[0]);
    return 2;
  }
  const int n = argc > 2 ? std::atoi(argv[2]) : 2000;
  const char *name = argv[1];
  if (std::strcmp(name, "list") == 0) {
    for (const Entry &e : entries) std::printf("%s %s\n", e.name, e.plain != nullptr ? "plain" : "-");
    return 0;
  }
  if (std::strcmp(name, "none") == 0) {
    none(n);
    return 0;
  }
  const bool plain = std::strncmp(name, "plain:", 6) == 0;
  for (const Entry &e : entries) {
    if (std::strcmp(plain ? name + 6 : name, e.name) != 0) continue;
    if (plain && e.plain == nullptr) break;
    (plain ? e.plain : e.run)(n);
    return 0;
  }
  std::fprintf(stderr, "%s: no %s\n", argv[0], name);
  return 2;
}

}  // namespace count

#endif
