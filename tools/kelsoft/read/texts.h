// Texts as lines write them: in double quotes, every byte outside printable
// ASCII, the blank, '"' and '\' as \xHH.
#ifndef KELSOFT_TOOL_TEXTS_H
#define KELSOFT_TOOL_TEXTS_H

#include <string>
#include <string_view>

namespace lines {

std::string quoted(std::string_view text);
// The text of a quoted token; false when it is not one.
bool unquote(std::string_view token, std::string &text);

}  // namespace lines

#endif
