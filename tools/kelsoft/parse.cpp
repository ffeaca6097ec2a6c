// parse TEXT...: what the library's parser makes of each text.
#include <cstdio>
#include <cstring>

#include "kelsoft.h"
#include "values.h"

namespace tool {

int parse_texts(Args texts) {
  if (texts.empty()) return usage_error("parse needs at least one text");
  for (const char *text : texts) {
    char *end = nullptr;
    const double d = KEL_SoftStr2Float(text, &end);
    float f = 0;
    KEL_Seva(&f, text);
    std::printf("text:   \"%s\"\n", text);
    std::printf("double: %s\n", show(d).c_str());
    std::printf("float:  %s\n", show(f).c_str());
    std::printf("end:    %td of %zu\n", end - text, std::strlen(text));
  }
  return 0;
}

}  // namespace tool
