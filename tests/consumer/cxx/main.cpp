// A C++ program built against the installed library, through kelsoft.hpp.
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "kelsoft.hpp"

int main() {
  kel::ReportRecorder rec;
  const double q = kel::div(1.0, 0.0);
  const std::vector<std::string> expected{"PARA IN ILLEGAL", "FP_INFINITE"};
  const kel::Parsed<double> p = kel::parse("0.3");
  if (q != std::numeric_limits<double>::infinity() || rec.names() != expected || p.value != 0.30000000000000004 ||
      p.consumed != 3) {
    std::printf("unexpected: %zu reports, quotient %f\n", rec.reports().size(), q);
    return 1;
  }
  std::puts("c++ consumer: ok");
  return 0;
}
