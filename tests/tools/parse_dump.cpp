// Parses the generated hard texts and prints, one line per text, the double's
// bits, the end offset and KEL_Seva's float bits ("nan" for any NaN: the NaN a
// processor makes differs between hosts). The PowerPC build is the reference.
//   parse_dump FIRST COUNT       print the results of texts FIRST..FIRST+COUNT-1
//   parse_dump --texts FIRST COUNT   print the texts themselves, escaped
//   parse_dump --compare FILE    check this build against a saved dump
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "hard_texts.h"
#include "kelsoft.h"

namespace {

std::string result_line(const std::string &text) {
  char *end = nullptr;
  const double d = KEL_SoftStr2Float(text.c_str(), &end);
  float f = 0;
  KEL_Seva(&f, text.c_str());
  uint64_t dbits;
  uint32_t fbits;
  std::memcpy(&dbits, &d, sizeof d);
  std::memcpy(&fbits, &f, sizeof f);
  char dtext[24] = "nan", ftext[16] = "nan";
  if (d == d) std::snprintf(dtext, sizeof dtext, "%016" PRIx64, dbits);
  if (f == f) std::snprintf(ftext, sizeof ftext, "%08" PRIx32, fbits);
  char line[64];
  std::snprintf(line, sizeof line, "%s %td %s", dtext, end - text.c_str(), ftext);
  return line;
}

int dump(uint64_t first, uint64_t count, bool texts) {
  std::printf("# texts %" PRIu64 " to %" PRIu64 ": double bits, end offset, float bits", first, first + count - 1);
  std::printf(" (tests/data/parse_golden.txt: remade by scripts/parser-diff.sh --golden)\n");
  for (uint64_t i = first; i < first + count; ++i) {
    const std::string text = kel_texts::hard_text(i);
    std::printf("%s\n", (texts ? kel_texts::escaped(text) : result_line(text)).c_str());
  }
  return 0;
}

// The file's lines after its comments are the results of texts 0, 1, 2, ...
int compare(const char *path) {
  std::ifstream in(path);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", path);
    return 2;
  }
  uint64_t index = 0, differ = 0;
  for (std::string expected; std::getline(in, expected);) {
    if (expected.empty() || expected[0] == '#') continue;
    const std::string text = kel_texts::hard_text(index);
    const std::string actual = result_line(text);
    if (actual != expected && ++differ <= 20)
      std::printf("text %" PRIu64 " \"%s\": got %s, expected %s\n", index, kel_texts::escaped(text).c_str(),
                  actual.c_str(), expected.c_str());
    ++index;
  }
  std::printf("%" PRIu64 " texts, %" PRIu64 " differ\n", index, differ);
  return differ == 0 && index > 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc == 3 && std::strcmp(argv[1], "--compare") == 0) return compare(argv[2]);
  const bool texts = argc == 4 && std::strcmp(argv[1], "--texts") == 0;
  if (argc != 3 && !texts) {
    std::fprintf(stderr, "usage: parse_dump [--texts] FIRST COUNT | --compare FILE\n");
    return 2;
  }
  return dump(std::strtoull(argv[argc - 2], nullptr, 10), std::strtoull(argv[argc - 1], nullptr, 10), texts);
}
