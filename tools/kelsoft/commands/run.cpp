// kelsoft run, verify and generate: calls as lines (lines.h).
#include <dirent.h>
#include <limits.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "generate.h"
#include "lines.h"
#include "tool.h"

namespace tool {
namespace {

void print_last_bit(const lines::Tally &t) {
  for (const auto &[name, count] : t.last_bit) std::printf(" %s %" PRIu64, name.c_str(), count);
}

void print_summary(const lines::Tally &t) {
  if (t.accepted() > 0) {
    std::printf("%" PRIu64 " of them within the C library's last bit (accepted):", t.accepted());
    print_last_bit(t);
    std::printf("\n");
  }
  std::printf("%" PRIu64 " passed, %" PRIu64 " failed\n", t.passed, t.failed);
}

// One file of a folder of vectors: how many of its calls give the target's bits.
lines::Tally verify_file(const std::string &dir, const std::string &name) {
  const std::string path = dir + "/" + name;
  std::FILE *in = std::fopen(path.c_str(), "r");
  if (in == nullptr) {
    usage_error("cannot read %s", path.c_str());
    return {};
  }
  lines::Tally t = lines::run(in, name.c_str(), stdout, {});
  std::fclose(in);
  const std::string family = name.substr(0, name.rfind('.'));
  std::printf("%-14s %6" PRIu64 " of %6" PRIu64 " give the target's bits", family.c_str(), t.passed,
              t.passed + t.failed);
  if (t.accepted() > 0) {
    std::printf(", %" PRIu64 " within the C library's last bit:", t.accepted());
    print_last_bit(t);
  }
  std::printf("\n");
  return t;
}

// The vectors installed with the command: ../share/kelsoft/vectors from the
// folder of the executable, wherever the tree was moved.
std::string installed_vectors() {
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return "";
  std::string dir(path, static_cast<std::size_t>(n));
  dir.erase(dir.rfind('/'));
  return dir + "/../share/kelsoft/vectors";
}

// A count in decimal, up to 2^64 - 1.
bool parse_count(const char *text, uint64_t &out) {
  char *end = nullptr;
  errno = 0;
  out = std::strtoull(text, &end, 10);
  return *text >= '0' && *text <= '9' && *end == '\0' && errno == 0;
}

// The status of a run: a line that cannot be run (or the input ending
// early) outweighs one that differs.
int status_of(const lines::Tally &t) {
  if (!t.error.empty()) usage_error("%s", t.error.c_str());
  if (!t.error.empty() || t.unreadable > 0) return kUsage;
  return t.failed == 0 ? 0 : kDiffers;
}

}  // namespace

int run_lines(Args args) {
  lines::Options options;
  if (!args.empty() && std::strcmp(args[0], "--answer") == 0) {
    options.answer_all = true;
    args = args.subspan(1);
  }
  if (args.size() > 1) return usage_error("run takes one file (or - for standard input)");
  const bool from_stdin = args.empty() || std::strcmp(args[0], "-") == 0;
  std::FILE *in = from_stdin ? stdin : std::fopen(args[0], "r");
  if (in == nullptr) return usage_error("cannot read %s: %s", args[0], std::strerror(errno));
  options.flush_each = from_stdin;
  const lines::Tally t = lines::run(in, from_stdin ? "-" : args[0], stdout, options);
  if (!from_stdin) std::fclose(in);
  if (t.passed + t.failed > 0) print_summary(t);
  return status_of(t);
}

int verify(Args args) {
  if (args.size() > 1) return usage_error("verify takes at most a folder of vectors");
  const std::string dir = args.empty() ? installed_vectors() : args[0];
  std::vector<std::string> files;
  if (DIR *d = opendir(dir.c_str())) {
    while (const dirent *e = readdir(d)) {
      const std::string name = e->d_name;
      if (name.ends_with(".vec") || name.ends_with(".txt")) files.push_back(name);
    }
    closedir(d);
  }
  if (files.empty()) return usage_error("no vectors in %s", dir.c_str());
  std::sort(files.begin(), files.end());
  uint64_t failed = 0, calls = 0;
  for (const std::string &name : files) {
    const lines::Tally t = verify_file(dir, name);
    if (status_of(t) == kUsage || g_failed) return kUsage;
    failed += t.failed;
    calls += t.passed + t.failed;
  }
  if (failed == 0)
    std::printf("all %" PRIu64 " calls hold on this host\n", calls);
  else
    std::printf("%" PRIu64 " of %" PRIu64 " calls differ from the target\n", failed, calls);
  return failed == 0 ? 0 : kDiffers;
}

int generate_calls(Args args) {
  const bool texts = !args.empty() && std::strcmp(args[0], "--texts") == 0;
  if (texts) args = args.subspan(1);
  uint64_t first = 0, count = 0;
  if (args.size() != 2 || !parse_count(args[0], first) || !parse_count(args[1], count))
    return usage_error("generate takes [--texts] FIRST COUNT, each below 2^64");
  if (count > ~uint64_t{0} - first) return usage_error("generate: FIRST + COUNT must stay below 2^64");
  (texts ? generate::texts_from : generate::calls_from)(first, count, stdout);
  return 0;
}

}  // namespace tool
