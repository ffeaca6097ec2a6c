#include "plain_ops.h"

#include <cstdio>
#include <cstring>

namespace plain {

void dadd(double *r, const double *a, const double *b) { *r = *a + *b; }
void dsub(double *r, const double *a, const double *b) { *r = *a - *b; }
void dmut(double *r, const double *a, const double *b) { *r = *a * *b; }
void ddiv(double *r, const double *a, const double *b) { *r = *a / *b; }
int32_t dcmp(const double *a, const double *b) { return *a > *b ? 1 : *a < *b ? 2 : 0; }
void sadd(float *r, const float *a, const float *b) { *r = *a + *b; }
void ssub(float *r, const float *a, const float *b) { *r = *a - *b; }
void smut(float *r, const float *a, const float *b) { *r = *a * *b; }
void sdiv(float *r, const float *a, const float *b) { *r = *a / *b; }
int32_t scmp(const float *a, const float *b) { return *a > *b ? 1 : *a < *b ? 2 : 0; }

void double2int32(const double *src, int32_t *dst) { *dst = static_cast<int32_t>(*src); }
void int322double(const int32_t *src, double *dst) { *dst = *src; }
void float2double(const float *src, double *dst) { *dst = *src; }
void buff2double(const void *buffer, double *dst) { std::memcpy(dst, buffer, sizeof *dst); }
void int642double(const int64_t *src, double *dst) { *dst = static_cast<double>(*src); }
void double2uint64(const double *src, uint64_t *dst) { *dst = static_cast<uint64_t>(*src); }

void double2ascii(const double *value, char *buffer, size_t size) { std::snprintf(buffer, size, "%f", *value); }

int32_t char_to_upper(int32_t c) { return c >= 'a' && c <= 'z' ? c - 32 : c; }

void str_to_upper(const char *src, char *dst, uint32_t size) {
  uint32_t i = 0;
  for (; src[i] != '\0' && i + 1 < size; ++i)
    dst[i] = static_cast<char>(char_to_upper(static_cast<unsigned char>(src[i])));
  dst[i] = '\0';
}

void str_to_lower(char *str, uint32_t count) {
  for (; *str != '\0' && count != 0; ++str, --count) {
    const unsigned char c = static_cast<unsigned char>(*str);
    if (c >= 'A' && c <= 'Z') *str = static_cast<char>(c + 32);
  }
}

}  // namespace plain
