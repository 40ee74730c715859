#include "platform/FixedFormat.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

// Appends printf "%*.*f" of a value without an allocation of its own.
// A float32 value times 10^p (p <= 3) is exact in double, so rounding that
// product half to even is exactly printf's rounding of the value; the digits
// then come from one integer. Everything else goes through to_chars with a
// precision, which also rounds exactly as printf does.
void AppendFixed(std::string& text, double value, int precision, int width) {
  static constexpr double kScale[] = {1.0, 10.0, 100.0, 1000.0};
  const double magnitude = std::fabs(value);
  if (precision >= 0 && precision <= 3 && magnitude < 1e15 &&
      static_cast<double>(static_cast<float>(value)) == value) {
    // Adding and taking away 2^52 leaves the nearest integer, ties to even,
    // as nearbyint does in the default rounding, without its call; from
    // 2^52 on every double is an integer already.
    constexpr double kTwo52 = 4503599627370496.0;
    double whole = magnitude * kScale[precision];
    if (whole < kTwo52) whole = (whole + kTwo52) - kTwo52;
    auto units = static_cast<unsigned long long>(whole);
    char digits[48];
    char* const end = digits + sizeof digits;
    char* start = end;
    for (int place = 0; place < precision; ++place) {
      *--start = static_cast<char>('0' + units % 10);
      units /= 10;
    }
    if (precision > 0) *--start = '.';
    // Most numbers of a result file have a small whole part: 32-bit steps.
    if (units <= 0xffffffffu) {
      auto small = static_cast<uint32_t>(units);
      do {
        *--start = static_cast<char>('0' + small % 10);
        small /= 10;
      } while (small > 0);
    } else {
      do {
        *--start = static_cast<char>('0' + units % 10);
        units /= 10;
      } while (units > 0);
    }
    // printf keeps the sign of a negative value that rounds to zero, and of -0.
    if (std::signbit(value)) *--start = '-';
    const auto length = static_cast<size_t>(end - start);
    if (static_cast<int>(length) < width) {
      const size_t pad = static_cast<size_t>(width) - length;
      if (pad <= static_cast<size_t>(start - digits)) {
        start -= pad;
        std::memset(start, ' ', pad);
      } else {
        text.append(pad, ' ');
      }
    }
    text.append(start, static_cast<size_t>(end - start));
    return;
  }
  char buffer[512];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
  const size_t length = ec == std::errc() ? static_cast<size_t>(end - buffer) : 0;
  if (static_cast<int>(length) < width) text.append(width - length, ' ');
  text.append(buffer, length);
}

std::string FormatFixed(double value, int precision, int width) {
  std::string text;
  AppendFixed(text, value, precision, width);
  return text;
}

