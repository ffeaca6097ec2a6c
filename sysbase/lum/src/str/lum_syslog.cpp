// The library's one log line. Built fortified, vsyslog becomes __vsyslog_chk.
#include <syslog.h>

#include <cstdarg>

#include "kelsoft.h"

extern "C" void LUM_syslog(const char *format, ...) {
  va_list args;
  va_start(args, format);
  vsyslog(LOG_INFO, format, args);
  va_end(args);
}
