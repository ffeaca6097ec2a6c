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

constexpr Function kTable[] = {
    KEL_TOOL_ENTRY(Double2Ushort), KEL_TOOL_ENTRY(Double2Short),  KEL_TOOL_ENTRY(Double2Int32),
    KEL_TOOL_ENTRY(Float2Int32),   KEL_TOOL_ENTRY(Float2Uint32),  KEL_TOOL_ENTRY(Double2Uint32),
    KEL_TOOL_ENTRY(Int322Double),  KEL_TOOL_ENTRY(Uint322Double), KEL_TOOL_ENTRY(Short2Double),
    KEL_TOOL_ENTRY(Ushort2Double), KEL_TOOL_ENTRY(Int322Float),   KEL_TOOL_ENTRY(Uint322Float),
    KEL_TOOL_ENTRY(Float2Double),  KEL_TOOL_ENTRY(Buff2Float),    KEL_TOOL_ENTRY(Buff2Double),
    KEL_TOOL_ENTRY(Float2Buff),    KEL_TOOL_ENTRY(Double2Buff),   KEL_TOOL_ENTRY(Double2Int64),
    KEL_TOOL_ENTRY(Double2Uint64), KEL_TOOL_ENTRY(Int642Double),  KEL_TOOL_ENTRY(Uint642Double),
};

}  // namespace

const std::span<const Function> kConvertFunctions = kTable;

}  // namespace tool
