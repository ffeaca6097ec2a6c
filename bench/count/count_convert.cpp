// Conversions against the language's own conversion in a plain function of
// this program, on sources where that conversion is defined.
#include <cstring>

#include "count_main.h"
#include "kelsoft.h"

namespace {

using count::Entry;
using count::keep;
using count::loop;

double d_i32[16] = {0.5, -1.5, 123456.75, -2e9, 2.1e9, 3, -7.9, 65535.5, 1e-3, -1e6, 42.42, 7e8, -123, 99.99, 1, -0.25};
double d_u32[16] = {0.5, 1.5, 123456.75, 4e9, 2.1e9, 3, 7.9, 65535.5, 1e-3, 1e6, 42.42, 3.9e9, 123, 99.99, 1, 0.25};
double d_i16[16] = {0.5, -1.5, 12345.75, -32000, 32000, 3, -7.9, 255.5, 1e-3, -1e4, 42.42, 7e3, -123, 99.99, 1, -0.25};
double d_u16[16] = {0.5, 1.5, 12345.75, 65000, 32000, 3, 7.9, 255.5, 1e-3, 1e4, 42.42, 7e3, 123, 99.99, 1, 0.25};
double d_i64[16] = {0.5, -1.5, 1.2e15, -9e18, 9e18, 3, -7.9, 6.5e9, 1e-3, -1e12, 42.42, 7e17, -123, 99.99, 1, -0.25};
double d_u64[16] = {0.5, 1.5, 1.2e15, 1.8e19, 9e18, 3, 7.9, 6.5e9, 1e-3, 1e12, 42.42, 1.5e19, 123, 99.99, 1, 0.25};
float f_i32[16] = {0.5f,  -1.5f, 123456.75f, -2e9f, 2e9f, 3,      -7.9f, 65535.5f,
                   1e-3f, -1e6f, 42.42f,     7e8f,  -123, 99.99f, 1,     -0.25f};
float f_u32[16] = {0.5f,  1.5f, 123456.75f, 4e9f,   2.1e9f, 3,      7.9f, 65535.5f,
                   1e-3f, 1e6f, 42.42f,     3.9e9f, 123,    99.99f, 1,    0.25f};
int32_t i32[16] = {0, -1, 123456, -2000000000, 2100000000, 3, -7, 65535, 1, -1000000, 42, 700000000, -123, 99, 1, 17};
uint32_t u32[16] = {0, 1, 123456, 4000000000u, 2100000000, 3, 7, 65535, 1, 1000000, 42, 3900000000u, 123, 99, 1, 17};
int16_t i16[16] = {0, -1, 12345, -32000, 32000, 3, -7, 255, 1, -10000, 42, 7000, -123, 99, 1, 17};
uint16_t u16[16] = {0, 1, 12345, 65000, 32000, 3, 7, 255, 1, 10000, 42, 7000, 123, 99, 1, 17};
int64_t i64[16] = {0,
                   -1,
                   1234567890123,
                   -9000000000000000000,
                   9000000000000000000,
                   3,
                   -7,
                   6500000000,
                   1,
                   -1000000000000,
                   42,
                   700000000000000000,
                   -123,
                   99,
                   1,
                   9007199254740993};
uint64_t u64[16] = {0,
                    1,
                    1234567890123,
                    18000000000000000000u,
                    9000000000000000000,
                    3,
                    7,
                    6500000000,
                    1,
                    1000000000000,
                    42,
                    15000000000000000000u,
                    123,
                    99,
                    1,
                    9007199254740993};
unsigned char bytes[16][8];

double dr;
float fr;
int32_t ir;
uint32_t ur;
int16_t sr;
uint16_t usr;
int64_t lr;
uint64_t ulr;

template <typename To, typename From>
[[gnu::noinline, gnu::noipa]] void convert(const From *src, To *dst) {
  *dst = static_cast<To>(*src);
}
template <typename T>
[[gnu::noinline, gnu::noipa]] void load(const void *buffer, T *dst) {
  std::memcpy(dst, buffer, sizeof *dst);
}
template <typename T>
[[gnu::noinline, gnu::noipa]] void store(const T *src, void *buffer) {
  std::memcpy(buffer, src, sizeof *src);
}

#define CONVERT(name, src, dst)                                                                                \
  Entry {                                                                                                      \
#name, loop < [](unsigned k) { name(&src[k], &dst); }>, loop < [](unsigned k) { convert(&src[k], &dst); }> \
  }

const Entry kEntries[] = {
    CONVERT(KEL_Double2Ushort, d_u16, usr),
    CONVERT(KEL_Double2Short, d_i16, sr),
    CONVERT(KEL_Double2Int32, d_i32, ir),
    CONVERT(KEL_Float2Int32, f_i32, ir),
    CONVERT(KEL_Float2Uint32, f_u32, ur),
    CONVERT(KEL_Double2Uint32, d_u32, ur),
    CONVERT(KEL_Int322Double, i32, dr),
    CONVERT(KEL_Uint322Double, u32, dr),
    CONVERT(KEL_Short2Double, i16, dr),
    CONVERT(KEL_Ushort2Double, u16, dr),
    CONVERT(KEL_Int322Float, i32, fr),
    CONVERT(KEL_Uint322Float, u32, fr),
    CONVERT(KEL_Float2Double, f_i32, dr),
    {"KEL_Buff2Float", loop<[](unsigned k) { KEL_Buff2Float(bytes[k], &fr); }>,
     loop<[](unsigned k) { load(bytes[k], &fr); }>},
    {"KEL_Buff2Double", loop<[](unsigned k) { KEL_Buff2Double(bytes[k], &dr); }>,
     loop<[](unsigned k) { load(bytes[k], &dr); }>},
    {"KEL_Float2Buff", loop<[](unsigned k) { KEL_Float2Buff(&f_i32[k], bytes[k]); }>,
     loop<[](unsigned k) { store(&f_i32[k], bytes[k]); }>},
    {"KEL_Double2Buff", loop<[](unsigned k) { KEL_Double2Buff(&d_i32[k], bytes[k]); }>,
     loop<[](unsigned k) { store(&d_i32[k], bytes[k]); }>},
    CONVERT(KEL_Double2Int64, d_i64, lr),
    CONVERT(KEL_Double2Uint64, d_u64, ulr),
    CONVERT(KEL_Int642Double, i64, dr),
    CONVERT(KEL_Uint642Double, u64, dr),
};

}  // namespace

int main(int argc, char **argv) {
  return count::run(argc, argv, kEntries, loop<[](unsigned k) { keep(&d_i32[k], &ir); }>);
}
