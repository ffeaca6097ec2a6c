// ASCII case helpers and the unsigned parser. The string helpers call the
// character helpers through their exported names, once per character.
#include "bench_support.h"
#include "plain_ops.h"

namespace {

using kel_bench::add;
using kel_bench::Hook;

const char source[] = "The quick brown fox jumps over the lazy dog 0123456789";  // 54 characters
char text[sizeof source], out[sizeof source];
int32_t c = 'q', cout;
uint32_t value;

void register_all() {
  add("CharToUpper/plain", Hook::none, [] { cout = plain::char_to_upper(c); });
  add("CharToUpper/checked", Hook::none, [] { cout = LUM_CharToUpper(c); });
  add("CharIsLower", Hook::none, [] { cout = LUM_CharIsLower(c); });
  add("StrToUpper54/plain", Hook::none, [] { plain::str_to_upper(source, out, sizeof out); });
  add("StrToUpper54/checked", Hook::none, [] { LUM_StrToUpper(source, out, sizeof out); });
  add("StrToLower54/plain", Hook::none, [] {
    __builtin_memcpy(text, source, sizeof text);
    plain::str_to_lower(text, sizeof text);
  });
  add("StrToLower54/checked", Hook::none, [] {
    __builtin_memcpy(text, source, sizeof text);
    LUM_StrToLower(text, sizeof text);
  });
  add("StrToUint32", Hook::none, [] { LUM_StrToUint32("  4294967295", &value); });
}

const bool registered = (register_all(), true);

}  // namespace
