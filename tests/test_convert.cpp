#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cstring>
#include <limits>

#include "hook_recorder.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr float kInfF = std::numeric_limits<float>::infinity();

template <typename T>
auto raw(T v) {
  if constexpr (sizeof(T) == 2) return std::bit_cast<uint16_t>(v);
  else if constexpr (sizeof(T) == 4) return std::bit_cast<uint32_t>(v);
  else return std::bit_cast<uint64_t>(v);
}

// Runs fn on a source built from bits (so a signalling NaN never passes
// through a floating-point register here) and gives the stored bits.
template <typename S, typename D, typename Bits>
auto stored(void (*fn)(const S *, D *), Bits src_bits) {
  static_assert(sizeof(S) == sizeof(Bits));
  S src;
  std::memcpy(&src, &src_bits, sizeof src);
  D dst;
  std::memset(&dst, 0xA5, sizeof dst);
  fn(&src, &dst);
  return raw(dst);
}

// One source through every double-to-integer conversion. The two 16-bit
// conversions store the same bits, and so do the two 64-bit ones.
void expect_from_double(uint64_t x, int32_t i32, uint16_t u16, uint32_t u32, uint64_t u64) {
  SCOPED_TRACE(testing::Message() << std::hexfloat << std::bit_cast<double>(x));
  EXPECT_EQ(stored(KEL_Double2Int32, x), raw(i32));
  EXPECT_EQ(stored(KEL_Double2Ushort, x), u16);
  EXPECT_EQ(stored(KEL_Double2Short, x), u16);
  EXPECT_EQ(stored(KEL_Double2Uint32, x), u32);
  EXPECT_EQ(stored(KEL_Double2Int64, x), u64);
  EXPECT_EQ(stored(KEL_Double2Uint64, x), u64);
}

TEST(DoubleToInteger, TruncationAndFixedResults) {
  const struct {
    double x;
    int32_t i32;
    uint16_t u16;
    uint32_t u32;
    uint64_t u64;
  } table[] = {
      {0.0, 0, 0x0000, 0x00000000, 0x0000000000000000},
      {-0.0, 0, 0x0000, 0x00000000, 0x0000000000000000},
      {0x1p-1074, 0, 0x0000, 0x00000000, 0x0000000000000000},
      {-0x1p-1074, 0, 0x0000, 0x00000000, 0x0000000000000000},
      {2.9, 2, 0x0002, 0x00000002, 0x0000000000000002},
      {-2.5, -2, 0xFFFE, 0xFFFFFFFE, 0xFFFFFFFFFFFFFFFE},
      {-0.5, 0, 0x0000, 0x00000000, 0x0000000000000000},
      {-1.9, -1, 0xFFFF, 0xFFFFFFFF, 0xFFFFFFFFFFFFFFFF},
      {32767.0, 32767, 0x7FFF, 0x00007FFF, 0x0000000000007FFF},
      {32768.0, 32768, 0x8000, 0x00008000, 0x0000000000008000},
      {-32768.0, -32768, 0x8000, 0xFFFF8000, 0xFFFFFFFFFFFF8000},
      {-32769.0, -32769, 0x7FFF, 0xFFFF7FFF, 0xFFFFFFFFFFFF7FFF},
      {65535.9, 65535, 0xFFFF, 0x0000FFFF, 0x000000000000FFFF},
      {65536.0, 65536, 0x0000, 0x00010000, 0x0000000000010000},
      {-65536.0, -65536, 0x0000, 0xFFFF0000, 0xFFFFFFFFFFFF0000},
      {70000.0, 70000, 0x1170, 0x00011170, 0x0000000000011170},
      {2147483647.5, INT32_MAX, 0xFFFF, 0x7FFFFFFF, 0x000000007FFFFFFF},
      {0x1p31, INT32_MAX, 0xFFFF, 0x80000000, 0x0000000080000000},
      {-2147483647.5, -2147483647, 0x0001, 0x80000001, 0xFFFFFFFF80000001},
      {-0x1p31, INT32_MIN, 0x0000, 0x80000000, 0xFFFFFFFF80000000},
      {-2147483648.5, INT32_MIN, 0x0000, 0x80000000, 0xFFFFFFFF80000000},
      {-2147483649.0, INT32_MIN, 0x0000, 0x7FFFFFFF, 0xFFFFFFFF7FFFFFFF},
      {4294967295.9, INT32_MAX, 0xFFFF, 0xFFFFFFFF, 0x00000000FFFFFFFF},
      {0x1p32, INT32_MAX, 0xFFFF, 0x00000000, 0x0000000100000000},
      {4294967301.0, INT32_MAX, 0xFFFF, 0x00000005, 0x0000000100000005},
      {-0x1p32, INT32_MIN, 0x0000, 0x00000000, 0xFFFFFFFF00000000},
      {-4294967297.0, INT32_MIN, 0x0000, 0xFFFFFFFF, 0xFFFFFFFEFFFFFFFF},
      {1e10, INT32_MAX, 0xFFFF, 0x540BE400, 0x00000002540BE400},
      {-1e10, INT32_MIN, 0x0000, 0xABF41C00, 0xFFFFFFFDABF41C00},
      {0x1.fffffffffffffp62, INT32_MAX, 0xFFFF, 0xFFFFFC00, 0x7FFFFFFFFFFFFC00},
      {0x1p63, INT32_MAX, 0xFFFF, 0x00000000, 0x8000000000000000},
      {-0x1p63, INT32_MIN, 0x0000, 0x00000000, 0x8000000000000000},
      {-0x1.0000000000001p63, INT32_MIN, 0x0000, 0xFFFFF800, 0x7FFFFFFFFFFFF800},
      {1.5e19, INT32_MAX, 0xFFFF, 0xCEDC0000, 0xD02AB486CEDC0000},
      {-1.5e19, INT32_MIN, 0x0000, 0x31240000, 0x2FD54B7931240000},
      {0x1.fffffffffffffp63, INT32_MAX, 0xFFFF, 0xFFFFF800, 0xFFFFFFFFFFFFF800},
      {-0x1.fffffffffffffp63, INT32_MIN, 0x0000, 0x00000800, 0x0000000000000800},
      {0x1p64, INT32_MAX, 0xFFFF, 0xFFFFFFFF, 0xFFFFFFFFFFFFFFFF},
      {-0x1p64, INT32_MIN, 0x0000, 0x00000001, 0x0000000000000001},
      {1e300, INT32_MAX, 0xFFFF, 0xFFFFFFFF, 0xFFFFFFFFFFFFFFFF},
      {-1e300, INT32_MIN, 0x0000, 0x00000001, 0x0000000000000001},
      {kInf, INT32_MAX, 0xFFFF, 0xFFFFFFFF, 0xFFFFFFFFFFFFFFFF},
      {-kInf, INT32_MIN, 0x0000, 0x00000001, 0x0000000000000001},
  };
  kel_test::HookRecorder rec;
  for (const auto &r : table) expect_from_double(raw(r.x), r.i32, r.u16, r.u32, r.u64);
  for (uint64_t nan : {0x7FF8000000000000u, 0xFFF8000000000123u, 0x7FF0000000000001u, 0xFFF7FFFFFFFFFFFFu})
    expect_from_double(nan, INT32_MIN, 0x0000, 0x80000000, 0x8000000080000000);
  EXPECT_TRUE(rec.reports().empty());
}

void expect_from_float(uint32_t x, int32_t i32, uint32_t u32, uint64_t widened) {
  SCOPED_TRACE(testing::Message() << std::hex << x);
  EXPECT_EQ(stored(KEL_Float2Int32, x), raw(i32));
  EXPECT_EQ(stored(KEL_Float2Uint32, x), u32);
  EXPECT_EQ(stored(KEL_Float2Double, x), widened);
}

TEST(FloatConversions, TruncationSaturationAndWidening) {
  const struct {
    float x;
    int32_t i32;
    uint32_t u32;
    uint64_t widened;
  } table[] = {
      {0.0f, 0, 0x00000000, 0x0000000000000000},
      {-0.0f, 0, 0x00000000, 0x8000000000000000},
      {0x1p-149f, 0, 0x00000000, 0x36A0000000000000},
      {-0x1p-149f, 0, 0x00000000, 0xB6A0000000000000},
      {0x1p-126f, 0, 0x00000000, 0x3810000000000000},
      {2.9f, 2, 0x00000002, 0x4007333340000000},
      {-0.9f, 0, 0x00000000, 0xBFECCCCCC0000000},
      {-1.0f, -1, 0xFFFFFFFF, 0xBFF0000000000000},
      {0x1p15f, 32768, 0x00008000, 0x40E0000000000000},
      {-0x1p16f, -65536, 0xFFFF0000, 0xC0F0000000000000},
      {0x1.fffffep30f, 2147483520, 0x7FFFFF80, 0x41DFFFFFE0000000},
      {0x1p31f, INT32_MAX, 0x80000000, 0x41E0000000000000},
      {-0x1.fffffep30f, -2147483520, 0x80000080, 0xC1DFFFFFE0000000},
      {-0x1p31f, INT32_MIN, 0x80000000, 0xC1E0000000000000},
      {-0x1.000002p31f, INT32_MIN, 0x80000000, 0xC1E0000020000000},
      {0x1.fffffep31f, INT32_MAX, 0xFFFFFF00, 0x41EFFFFFE0000000},
      {0x1p32f, INT32_MAX, 0xFFFFFFFF, 0x41F0000000000000},
      {-0x1p32f, INT32_MIN, 0x80000000, 0xC1F0000000000000},
      {5e9f, INT32_MAX, 0xFFFFFFFF, 0x41F2A05F20000000},
      {FLT_MAX, INT32_MAX, 0xFFFFFFFF, 0x47EFFFFFE0000000},
      {kInfF, INT32_MAX, 0xFFFFFFFF, 0x7FF0000000000000},
      {-kInfF, INT32_MIN, 0x80000000, 0xFFF0000000000000},
  };
  for (const auto &r : table) expect_from_float(raw(r.x), r.i32, r.u32, r.widened);
  // NaNs keep sign and payload; a signalling one stays signalling.
  const struct {
    uint32_t x;
    uint64_t widened;
  } nans[] = {
      {0x7FC00000, 0x7FF8000000000000},
      {0xFFC00001, 0xFFF8000020000000},
      {0x7F800001, 0x7FF0000020000000},
      {0xFFBFFFFF, 0xFFF7FFFFE0000000},
      {0x7FFFFFFF, 0x7FFFFFFFE0000000},
  };
  for (const auto &n : nans) expect_from_float(n.x, INT32_MIN, 0x80000000, n.widened);
}

TEST(IntegerToFloating, ExactOrRoundedOnce) {
  const struct {
    int32_t i;
    double d;
    float f;
  } signed_table[] = {
      {INT32_MIN, -0x1p31, -0x1p31f},
      {-16777219, -16777219.0, -16777220.0f},
      {-16777217, -16777217.0, -0x1p24f},
      {-1, -1.0, -1.0f},
      {0, 0.0, 0.0f},
      {16777217, 16777217.0, 0x1p24f},
      {16777219, 16777219.0, 16777220.0f},
      {INT32_MAX, 2147483647.0, 0x1p31f},
  };
  for (const auto &r : signed_table) {
    EXPECT_EQ(stored(KEL_Int322Double, raw(r.i)), raw(r.d)) << r.i;
    EXPECT_EQ(stored(KEL_Int322Float, raw(r.i)), raw(r.f)) << r.i;
  }
  const struct {
    uint32_t u;
    double d;
    float f;
  } unsigned_table[] = {
      {0, 0.0, 0.0f},
      {16777217, 16777217.0, 0x1p24f},
      {0x80000000, 0x1p31, 0x1p31f},
      {0xFFFFFF7F, 4294967167.0, 0x1.fffffep31f},
      {0xFFFFFF80, 4294967168.0, 0x1p32f},  // a tie, to even
      {0xFFFFFFFF, 4294967295.0, 0x1p32f},
  };
  for (const auto &r : unsigned_table) {
    EXPECT_EQ(stored(KEL_Uint322Double, r.u), raw(r.d)) << r.u;
    EXPECT_EQ(stored(KEL_Uint322Float, r.u), raw(r.f)) << r.u;
  }
  for (int16_t s : {int16_t{INT16_MIN}, int16_t{-1}, int16_t{0}, int16_t{INT16_MAX}})
    EXPECT_EQ(stored(KEL_Short2Double, raw(s)), raw(double(s))) << s;
  for (uint16_t s : {uint16_t{0}, uint16_t{0x8000}, uint16_t{UINT16_MAX}})
    EXPECT_EQ(stored(KEL_Ushort2Double, s), raw(double(s))) << s;
}

TEST(Int64ToDouble, RoundedOnceToNearestEven) {
  constexpr int64_t k53 = int64_t{1} << 53, k54 = int64_t{1} << 54;
  const struct {
    int64_t i;
    double d;
  } signed_table[] = {
      {k53 + 1, 0x1p53},      {k53 + 3, 0x1p53 + 4},    {-(k53 + 1), -0x1p53},
      {-(k53 + 3), -0x1p53 - 4}, {k54 + 2, 0x1p54},     {k54 + 6, 0x1p54 + 8},
      {-1, -1.0},             {INT64_MIN, -0x1p63},     {INT64_MIN + 1024, -0x1.fffffffffffffp62},
      {INT64_MAX, 0x1p63},
  };
  for (const auto &r : signed_table) EXPECT_EQ(stored(KEL_Int642Double, raw(r.i)), raw(r.d)) << r.i;
  const struct {
    uint64_t u;
    double d;
  } unsigned_table[] = {
      {uint64_t(k53) + 1, 0x1p53},
      {0x8000000000000000, 0x1p63},
      {0xFFFFFFFFFFFFF400, 0x1.ffffffffffffep63},  // ties to even, down
      {0xFFFFFFFFFFFFF401, 0x1.fffffffffffffp63},
      {0xFFFFFFFFFFFFFC00, 0x1p64},  // ties to even, up
      {0xFFFFFFFFFFFFFFFF, 0x1p64},
  };
  for (const auto &r : unsigned_table) EXPECT_EQ(stored(KEL_Uint642Double, r.u), raw(r.d)) << r.u;
}

TEST(Int64ToDouble, NativeWordOrder) {
  // Native 64-bit objects: on the big-endian target the high word comes first.
  const double x = 0x1p32 + 2;
  uint64_t out = 0;
  KEL_Double2Uint64(&x, &out);
  uint32_t words[2];
  std::memcpy(words, &out, sizeof words);
  const bool big = std::endian::native == std::endian::big;
  EXPECT_EQ(words[big ? 0 : 1], 1u);
  EXPECT_EQ(words[big ? 1 : 0], 2u);
}

template <typename S, typename D>
void expect_null_tested(void (*fn)(const S *, D *)) {
  using Src = std::conditional_t<std::is_void_v<S>, uint64_t, S>;
  using Dst = std::conditional_t<std::is_void_v<D>, uint64_t, D>;
  const Src src{};
  Dst dst;
  std::memset(&dst, 0xA5, sizeof dst);
  const Dst before = dst;
  fn(nullptr, &dst);
  fn(&src, nullptr);
  fn(nullptr, nullptr);
  EXPECT_EQ(std::memcmp(&dst, &before, sizeof dst), 0);
}

TEST(Conversions, NullAddressesDoNothingWhereTested) {
  expect_null_tested(KEL_Double2Ushort);
  expect_null_tested(KEL_Double2Int32);
  expect_null_tested(KEL_Float2Uint32);
  expect_null_tested(KEL_Int322Double);
  expect_null_tested(KEL_Uint322Double);
  expect_null_tested(KEL_Ushort2Double);
  expect_null_tested(KEL_Uint322Float);
  expect_null_tested(KEL_Buff2Float);
  expect_null_tested(KEL_Buff2Double);
  expect_null_tested(KEL_Float2Buff);
  expect_null_tested(KEL_Double2Buff);
}

// Out to a buffer at every misalignment and back, bit for bit.
template <typename T, typename Bits>
void expect_buffer_round_trips(void (*out)(const T *, void *), void (*in)(const void *, T *),
                               std::initializer_list<Bits> patterns) {
  for (const Bits bits : patterns) {
    for (size_t offset = 0; offset < 8; ++offset) {
      SCOPED_TRACE(testing::Message() << std::hex << bits << " at offset " << offset);
      T value;
      std::memcpy(&value, &bits, sizeof value);
      unsigned char buffer[16];
      std::memset(buffer, 0xA5, sizeof buffer);
      out(&value, buffer + offset);
      EXPECT_EQ(std::memcmp(buffer + offset, &bits, sizeof bits), 0);
      EXPECT_EQ(offset == 0 ? 0xA5 : buffer[offset - 1], 0xA5);
      EXPECT_EQ(buffer[offset + sizeof bits], 0xA5);
      T back;
      in(buffer + offset, &back);
      EXPECT_EQ(std::memcmp(&back, &bits, sizeof bits), 0);
    }
  }
}

TEST(Buffers, BytesCopiedUnchangedAtAnyAlignment) {
  expect_buffer_round_trips<double, uint64_t>(
      KEL_Double2Buff, KEL_Buff2Double,
      {0x8000000000000000, 0x0000000000000001, 0x7FF0000000000001, 0xFFF4000000000ABC, 0x3FF0000000000000});
  expect_buffer_round_trips<float, uint32_t>(KEL_Float2Buff, KEL_Buff2Float,
                                             {0x80000000, 0x00000001, 0x7F800001, 0xFFA00ABC, 0x3F800000});
}

}  // namespace
