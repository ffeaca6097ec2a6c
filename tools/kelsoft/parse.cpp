// parse TEXT...: what the library's parser makes of each text.
#include <cstring>
#include <string>

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
    const std::size_t consumed = static_cast<std::size_t>(end - text), length = std::strlen(text);
    put("text", "\"" + std::string(text) + "\"", "text", json_string(text));
    put_value("double", show(d));
    put_value("float", show(f));
    put("end", std::to_string(consumed) + " of " + std::to_string(length), "end", std::to_string(consumed));
    put_json("length", std::to_string(length));
    emit();
  }
  return 0;
}

}  // namespace tool
