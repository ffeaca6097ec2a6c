// This executable defines its own case tests: the library's mappings, and the
// string functions built on them, must follow them.
#include <gtest/gtest.h>

#include <string>

#include "kelsoft.h"

// Digits count as lower case here, and only '!' as upper case.
extern "C" int32_t LUM_CharIsLower(int32_t c) { return c >= '0' && c <= '9'; }
extern "C" int32_t LUM_CharIsUpper(int32_t c) { return c == '!'; }

TEST(InterposeCaseTests, MappingsAskTheProcessTests) {
  EXPECT_EQ(LUM_CharToUpper('5'), '5' - 32);
  EXPECT_EQ(LUM_CharToUpper('a'), 'a');
  EXPECT_EQ(LUM_CharToLower('!'), 'A');
  EXPECT_EQ(LUM_CharToLower('A'), 'A');
}

TEST(InterposeCaseTests, StringsFollowThroughTheMappings) {
  char dst[8];
  LUM_StrToUpper("a5b", dst, sizeof dst);
  EXPECT_EQ(std::string(dst), std::string("a\x15" "b"));
  char text[] = "A!b!";
  LUM_StrToLower(text, 3);
  EXPECT_EQ(std::string(text), "AAb!");
}
