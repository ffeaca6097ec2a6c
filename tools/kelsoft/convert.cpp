// convert FUNCTION VALUE: the integer and floating conversions and the byte
// buffer transfers (buffers in the host's own byte order, as the library
// copies them).
#include "kelsoft.h"
#include "values.h"

namespace tool {
namespace {

template <typename Src, typename Dst>
int call(void (*f)(const Src *, Dst *), Args args) {
  return compute<Dst, Src>(args, [f](Dst *d, const Src *s) { f(s, d); });
}

template <typename Dst>
int call(void (*f)(const void *, Dst *), Args args) {
  using Buffer = Bytes<sizeof(Dst)>;
  return compute<Dst, Buffer>(args, [f](Dst *d, const Buffer *s) { f(s->b.data(), d); });
}

template <typename Src>
int call(void (*f)(const Src *, void *), Args args) {
  using Buffer = Bytes<sizeof(Src)>;
  return compute<Buffer, Src>(args, [f](Buffer *d, const Src *s) { f(s, d->b.data()); });
}

template <auto F>
int run(Args args) {
  return call(F, args);
}

#define KEL_CONVERT(name) \
  { #name, run < KEL_##name> }
constexpr Function kTable[] = {
    KEL_CONVERT(Double2Ushort), KEL_CONVERT(Double2Short),  KEL_CONVERT(Double2Int32),  KEL_CONVERT(Float2Int32),
    KEL_CONVERT(Float2Uint32),  KEL_CONVERT(Double2Uint32), KEL_CONVERT(Int322Double),  KEL_CONVERT(Uint322Double),
    KEL_CONVERT(Short2Double),  KEL_CONVERT(Ushort2Double), KEL_CONVERT(Int322Float),   KEL_CONVERT(Uint322Float),
    KEL_CONVERT(Float2Double),  KEL_CONVERT(Buff2Float),    KEL_CONVERT(Buff2Double),   KEL_CONVERT(Float2Buff),
    KEL_CONVERT(Double2Buff),   KEL_CONVERT(Double2Int64),  KEL_CONVERT(Double2Uint64), KEL_CONVERT(Int642Double),
    KEL_CONVERT(Uint642Double),
};
#undef KEL_CONVERT

}  // namespace

const std::span<const Function> kConvertFunctions = kTable;

}  // namespace tool
