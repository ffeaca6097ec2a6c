// libtarvex's scanner on its own: "%u" must give the same values on every
// platform, including those the C library's scanf gives differently.
#include <gtest/gtest.h>

#include <climits>

#include "tarvex.h"

namespace {

constexpr unsigned kUntouched = 0xA5A5A5A5u;

struct Scan {
  const char *format;
  const char *text;
  int stored;
  unsigned first, second;
};

void expect_scan(const Scan &row) {
  unsigned first = kUntouched, second = kUntouched;
  EXPECT_EQ(sscanf_s(row.text, row.format, &first, &second), row.stored) << row.format << " on " << row.text;
  EXPECT_EQ(first, row.first) << row.format << " on " << row.text;
  EXPECT_EQ(second, row.second) << row.format << " on " << row.text;
}

TEST(TarvexScan, NullArguments) {
  unsigned value = kUntouched;
  EXPECT_EQ(sscanf_s(nullptr, "%u", &value), -1);
  EXPECT_EQ(sscanf_s("5", nullptr, &value), -1);
  EXPECT_EQ(value, kUntouched);
}

TEST(TarvexScan, UnsignedValues) {
  constexpr unsigned X = kUntouched;
  const Scan table[] = {
      {"%u", "42", 1, 42, X},
      {"%u", "0", 1, 0, X},
      {"%u", "007", 1, 7, X},
      {"%u", " \t\n\v\f\r9", 1, 9, X},
      {"%u", "4294967295", 1, UINT_MAX, X},
      // Above UINT_MAX: saturated, as 32-bit platforms do (64-bit ones wrap).
      {"%u", "4294967296", 1, UINT_MAX, X},
      {"%u", "99999999999999999999999", 1, UINT_MAX, X},
      {"%u", "-4294967296", 1, UINT_MAX, X},
      {"%u", "-99999999999", 1, UINT_MAX, X},
      // A sign: '-' negates modulo 2^32.
      {"%u", "+8", 1, 8, X},
      {"%u", "-1", 1, UINT_MAX, X},
      {"%u", "-0", 1, 0, X},
      {"%u", "-4294967295", 1, 1, X},
      {"%u", "-2147483648", 1, 0x80000000u, X},
      // Trailing text is left unread.
      {"%u", "17 abc", 1, 17, X},
      {"%u", "12x", 1, 12, X},
      {"%u", "0x10", 1, 0, X},
      {"%u", "3.9", 1, 3, X},
  };
  for (const auto &row : table) expect_scan(row);
}

TEST(TarvexScan, NothingConverted) {
  constexpr unsigned X = kUntouched;
  const Scan table[] = {
      // The input ends before the first conversion: -1.
      {"%u", "", -1, X, X},
      {"%u", "   \t\n", -1, X, X},
      {"x%u", "", -1, X, X},
      {" x%u", "   ", -1, X, X},
      {"%%%u", "%", -1, X, X},
      // Something else is there: 0.
      {"%u", "abc", 0, X, X},
      {"%u", "-", 0, X, X},
      {"%u", "+", 0, X, X},
      {"%u", "- 5", 0, X, X},
      {"%u", "+-5", 0, X, X},
      {"%u", "%", 0, X, X},
      {"x%u", "  ", 0, X, X},
      {"x%u", "y5", 0, X, X},
      {"%d", "5", 0, X, X},  // not offered
  };
  for (const auto &row : table) expect_scan(row);
}

TEST(TarvexScan, FormatLiterals) {
  constexpr unsigned X = kUntouched;
  const Scan table[] = {
      {"x%u", "x5", 1, 5, X},
      {"%u,%u", "1,2", 2, 1, 2},
      {"%u,%u", "1, 2", 2, 1, 2},
      {"%u,%u", "1 ,2", 1, 1, X},  // a literal does not skip white space
      {"%u,%u", "1;2", 1, 1, X},
      {"%u,%u", "1,", 1, 1, X},
      {"%u,%u", "1", 1, 1, X},
      {"%u %u", "1\t\n 2", 2, 1, 2},
      {"%u%u", "1 2", 2, 1, 2},
      {"a b%u", "a   b9", 1, 9, X},
      {"a b%u", "ab9", 1, 9, X},  // format white space matches none too
      {"%u%%%u", "1 % 2", 2, 1, 2},
      {"%%%u", " %7", 1, 7, X},
      {"%u x", "3", 1, 3, X},
  };
  for (const auto &row : table) expect_scan(row);
}

}  // namespace
