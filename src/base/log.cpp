#include "base/log.h"

#include <cstdarg>
#include <cstdio>
#include <utility>
#include <vector>

#include "base/never_destroyed.h"

namespace {

LogSink& installedSink = neverDestroyed<LogSink>();

// The text of one call for a sink; standard output is written straight through vprintf, so its
// buffering stays the stream's own.
int formatForSink(const char* format, va_list arguments) {
  va_list measuring;
  va_copy(measuring, arguments);
  const int length = std::vsnprintf(nullptr, 0, format, measuring);
  va_end(measuring);
  if (length < 0) return length;
  std::vector<char> text(static_cast<size_t>(length) + 1);
  std::vsnprintf(text.data(), text.size(), format, arguments);
  installedSink(std::string_view(text.data(), static_cast<size_t>(length)));
  return length;
}

}  // namespace

int logPrint(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const int written =
      installedSink ? formatForSink(format, arguments) : std::vprintf(format, arguments);
  va_end(arguments);
  return written;
}

LogSink setLogSink(LogSink sink) {
  return std::exchange(installedSink, std::move(sink));
}
