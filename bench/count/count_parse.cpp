// The decimal parser against std::from_chars and strtod, per text:
//   count_parse list | SET none|kel|from_chars|strtod [N]
// parses N texts (default 2000) of SET once each. The texts are made here,
// alike on every machine, with integer arithmetic only.
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "count_main.h"
#include "kelsoft.h"
#include "realistic_texts.h"

namespace {

uint64_t state = 0x9E3779B97F4A7C15u;

unsigned r(unsigned n) {
  state ^= state << 13;
  state ^= state >> 7;
  state ^= state << 17;
  return static_cast<unsigned>((state >> 11) % n);
}

void digits(std::string &t, int n) {
  for (int i = 0; i < n; ++i) t += static_cast<char>('0' + (i == 0 ? 1 + r(9) : r(10)));
}

void number(std::string &t, unsigned v, int width = 0) {
  char b[16];
  std::snprintf(b, sizeof b, "%0*u", width, v);
  t += b;
}

// n significant digits, d.ddd...e-12 (no point for one digit).
void scientific(std::string &t, int n) {
  digits(t, n);
  if (n > 1) t.insert(t.size() - static_cast<size_t>(n) + 1, 1, '.');
  t += r(2) ? "e-" : "e";
  number(t, r(30));
}

void coordinate(std::string &t, int fraction) {
  if (r(2)) t += '-';
  number(t, r(180));
  t += '.';
  number(t, r(10000000) % (fraction == 7 ? 10000000 : 10000), fraction);
}

// A quarter each of coordinates, prices, scientific notation and integers.
void mixed(std::string &t) {
  switch (r(4)) {
    case 0:
      coordinate(t, 4);
      break;
    case 1:
      number(t, r(r(2) ? 100 : 100000));
      t += '.';
      number(t, r(100), 2);
      break;
    case 2:
      scientific(t, 3 + static_cast<int>(r(8)));
      break;
    default:
      number(t, r(2) ? r(1000) : r(4000000000u));
      break;
  }
}

bool make(const char *set, std::string &t) {
  if (std::strcmp(set, "coordinates") == 0) {
    coordinate(t, 7);
  } else if (std::strcmp(set, "digits17") == 0) {
    scientific(t, 17);
  } else if (std::strcmp(set, "short") == 0) {
    number(t, r(100000));
  } else if (std::strcmp(set, "int100") == 0) {
    digits(t, 100);
  } else if (std::strcmp(set, "mixed") == 0) {
    mixed(t);
  } else if (std::strcmp(set, "digits34_40") == 0) {
    scientific(t, 34 + static_cast<int>(r(7)));
  } else if (std::strcmp(set, "realistic") == 0) {
    kel_bench::realistic_text(t, r);
  } else if (std::strncmp(set, "digits:", 7) == 0) {
    scientific(t, std::atoi(set + 7));
  } else {
    return false;
  }
  return true;
}

struct Text {
  const char *begin;
  size_t size;
};

}  // namespace

int main(int argc, char **argv) {
  if (argc == 2 && std::strcmp(argv[1], "list") == 0) {
    std::puts("short coordinates digits17 int100 mixed realistic digits34_40 digits:N");
    return 0;
  }
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s list | SET none|kel|from_chars|strtod [N]\n", argv[0]);
    return 2;
  }
  const int n = argc > 3 ? std::atoi(argv[3]) : 2000;
  std::vector<std::string> store(static_cast<size_t>(n));
  std::vector<Text> texts;
  for (std::string &t : store) {
    if (!make(argv[1], t)) {
      std::fprintf(stderr, "%s: no set %s\n", argv[0], argv[1]);
      return 2;
    }
    texts.push_back({t.c_str(), t.size()});
  }
  // Each way stores its result, so that every loop is alike.
  const std::string parser = argv[2];
  char *end = nullptr;
  for (const Text &t : texts) {
    double x = 0;
    if (parser == "kel") {
      x = KEL_SoftStr2Float(t.begin, &end);
    } else if (parser == "from_chars") {
      std::from_chars(t.begin, t.begin + t.size, x);
    } else if (parser == "strtod") {
      x = std::strtod(t.begin, &end);
    } else if (parser != "none") {
      std::fprintf(stderr, "%s: no parser %s\n", argv[0], argv[2]);
      return 2;
    }
    count::keep(&x);
  }
  return 0;
}
