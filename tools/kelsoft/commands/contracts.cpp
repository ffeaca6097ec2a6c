// kelsoft help FUNCTION: the contracts, generated from the comments of
// kelsoft.h (contracts.cmake), so that the header stays their one source.
#include <algorithm>
#include <cstdio>
#include <string_view>

#include "tool.h"

namespace tool {
namespace {

struct Contract {
  std::string_view name, text;
};
constexpr Contract kContracts[] = {
#include "contracts.inc"
};

}  // namespace

int print_contract(std::string_view name) {
  const Contract *nearest = nullptr;
  std::size_t best = ~std::size_t{0};
  for (const Contract &c : kContracts) {
    const std::string_view bare = calls::bare(c.name);
    if (calls::same_name(name, c.name) || calls::same_name(name, bare)) {
      std::printf("%.*s", static_cast<int>(c.text.size()), c.text.data());
      return 0;
    }
    const std::size_t d = std::min(distance(name, c.name), distance(name, bare));
    if (d < best) best = d, nearest = &c;
  }
  if (!close_enough(best, name))
    return usage_error("no function '%.*s' in kelsoft.h", static_cast<int>(name.size()), name.data());
  return usage_error("no function '%.*s' in kelsoft.h; did you mean %.*s?", static_cast<int>(name.size()), name.data(),
                     static_cast<int>(nearest->name.size()), nearest->name.data());
}

}  // namespace tool
