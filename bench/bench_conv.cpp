// Conversions and buffer transfers, with the plain language conversion where
// one is defined for the value measured.
#include "bench_support.h"
#include "plain_ops.h"

namespace {

using kel_bench::add;
using kel_bench::Hook;

double d = -12345.75, big = 1.5e19, dout;
float f = 3.25f, fout;
int32_t i32 = -123456, i32out;
uint32_t u32 = 3000000000u, u32out;
int16_t i16out;
uint16_t u16out;
int64_t i64 = -1234567890123, i64out;
uint64_t u64 = 18000000000000000000u, u64out;
unsigned char buffer[9];

void register_all() {
  add("Double2Int32/plain", Hook::none, [] { plain::double2int32(&d, &i32out); });
  add("Double2Int32/checked", Hook::none, [] { KEL_Double2Int32(&d, &i32out); });
  add("Int322Double/plain", Hook::none, [] { plain::int322double(&i32, &dout); });
  add("Int322Double/checked", Hook::none, [] { KEL_Int322Double(&i32, &dout); });
  add("Float2Double/plain", Hook::none, [] { plain::float2double(&f, &dout); });
  add("Float2Double/checked", Hook::none, [] { KEL_Float2Double(&f, &dout); });
  add("Buff2Double/plain", Hook::none, [] { plain::buff2double(buffer + 1, &dout); });
  add("Buff2Double/checked", Hook::none, [] { KEL_Buff2Double(buffer + 1, &dout); });
  add("Int642Double/plain", Hook::none, [] { plain::int642double(&i64, &dout); });
  add("Int642Double/checked", Hook::none, [] { KEL_Int642Double(&i64, &dout); });

  add("Double2Ushort", Hook::none, [] { KEL_Double2Ushort(&d, &u16out); });
  add("Double2Short", Hook::none, [] { KEL_Double2Short(&d, &i16out); });
  add("Float2Int32", Hook::none, [] { KEL_Float2Int32(&f, &i32out); });
  add("Float2Uint32", Hook::none, [] { KEL_Float2Uint32(&f, &u32out); });
  add("Double2Uint32", Hook::none, [] { KEL_Double2Uint32(&d, &u32out); });
  add("Uint322Double", Hook::none, [] { KEL_Uint322Double(&u32, &dout); });
  add("Int322Float", Hook::none, [] { KEL_Int322Float(&i32, &fout); });
  add("Uint322Float", Hook::none, [] { KEL_Uint322Float(&u32, &fout); });
  add("Float2Buff", Hook::none, [] { KEL_Float2Buff(&f, buffer + 1); });
  add("Double2Int64", Hook::none, [] { KEL_Double2Int64(&d, &i64out); });
  add("Double2Int64/wrapping", Hook::none, [] { KEL_Double2Int64(&big, &i64out); });
  add("Double2Uint64/plain", Hook::none, [] { plain::double2uint64(&big, &u64out); });
  add("Double2Uint64", Hook::none, [] { KEL_Double2Uint64(&big, &u64out); });
  add("Uint642Double", Hook::none, [] { KEL_Uint642Double(&u64, &dout); });
}

const bool registered = (register_all(), true);

}  // namespace
