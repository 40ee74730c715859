#include "platform/Printf.h"

#include <cstdarg>
#include <cstdio>

std::string Printf(const char* format, ...) {
  // Nearly every text fits here, so most calls format once.
  char buffer[128];
  std::va_list values;
  va_start(values, format);
  std::va_list again;
  va_copy(again, values);
  const int length = std::vsnprintf(buffer, sizeof buffer, format, values);
  va_end(values);
  std::string text;
  if (length < 0) {
    text.clear();  // an encoding error: nothing sensible to show
  } else if (static_cast<size_t>(length) < sizeof buffer) {
    text.assign(buffer, static_cast<size_t>(length));
  } else {
    text.resize(static_cast<size_t>(length));
    std::vsnprintf(text.data(), text.size() + 1, format, again);
  }
  va_end(again);
  return text;
}
