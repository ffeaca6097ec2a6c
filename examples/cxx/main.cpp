// The library from C++ through kelsoft.hpp: a computation's reports recorded
// for one scope, a text parsed without copying it by hand, values formatted
// and compared. C++20.
#include <cstdio>
#include <string>

#include "kelsoft.hpp"

int main() {
  kel::ReportRecorder reports;  // until the end of main
  const double q = kel::div(1.0, 0.0);
  for (const std::string &name : reports.names()) std::printf("report: %s\n", name.c_str());
  std::printf("quotient: %s\n", kel::format(q, "%g").c_str());

  const std::string input = "0.3 metres";
  const auto [value, consumed] = kel::parse(input);
  std::printf("parsed: %s from %zu characters\n", kel::format(value, "%.17g").c_str(), consumed);
  // The target's parser rounds 0.3 to the double above it, as 0.1 + 0.2 does.
  std::printf("equal to 0.1 + 0.2: %s\n", kel::compare(value, kel::add(0.1, 0.2)) == 0 ? "yes" : "no");
  return 0;
}
