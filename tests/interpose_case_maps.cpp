// This executable defines its own character mappings: the string functions
// must call them for every character.
#include <gtest/gtest.h>

#include <string>

#include "kelsoft.h"

extern "C" int32_t LUM_CharToUpper(int32_t c) { return c + 1; }
extern "C" int32_t LUM_CharToLower(int32_t) { return '-'; }

TEST(InterposeCaseMaps, StrToUpperCallsTheProcessMapping) {
  char dst[8];
  LUM_StrToUpper("abc", dst, sizeof dst);
  EXPECT_EQ(std::string(dst), "bcd");
}

TEST(InterposeCaseMaps, StrToLowerCallsTheProcessMapping) {
  char text[] = "ABCD";
  LUM_StrToLower(text, 3);
  EXPECT_EQ(std::string(text), "---D");
}
