// Values into text through libtarvex's bounded formatter.
#include "kelsoft.h"
#include "tarvex.h"

namespace {

// The size goes to the formatter as given, zero included: bounding the write
// is its job. A float widens to double exactly, so it prints its own value.
template <typename T>
void format_value(const T *value, char *buffer, size_t size, const char *format) {
  if (value == nullptr || buffer == nullptr || format == nullptr) return;
  snprintf_truncated_s(buffer, size, format, static_cast<double>(*value));
}

}  // namespace

extern "C" {

void KEL_Double2Ascii(const double *v, char *buf, size_t size) { format_value(v, buf, size, "%f"); }
void KEL_Float2String(const float *v, char *buf, size_t size) { format_value(v, buf, size, "%f"); }
void KEL_Double2String(const double *v, char *buf, size_t size) { format_value(v, buf, size, "%.14f"); }
void KEL_Double2String2(const double *v, char *buf, size_t size, const char *format) {
  format_value(v, buf, size, format);
}

}  // extern "C"
