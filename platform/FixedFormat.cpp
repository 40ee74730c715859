#include "platform/FixedFormat.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cmath>
#include <cstdint>
#include <cstring>

// printf "%*.*f" of a value by one exact integer: a float32 value times 10^p
// (p <= 3) is exact in double, so rounding that product half to even is
// exactly printf's rounding of the value; the digits then come from one
// integer. Everything else goes through to_chars with a precision, which
// also rounds exactly as printf does.
char* PutFixed(char* out, double value, int precision, int width) {
  static constexpr double kScale[] = {1.0, 10.0, 100.0, 1000.0};
  const double magnitude = std::fabs(value);
  if (!(precision >= 0 && precision <= 3 && magnitude < 1e15 &&
        static_cast<double>(static_cast<float>(value)) == value)) {
    return nullptr;
  }
  // Adding and taking away 2^52 leaves the nearest integer, ties to even,
  // as nearbyint does in the default rounding, without its call; from
  // 2^52 on every double is an integer already.
  constexpr double kTwo52 = 4503599627370496.0;
  double whole = magnitude * kScale[precision];
  if (whole < kTwo52) whole = (whole + kTwo52) - kTwo52;
  auto units = static_cast<unsigned long long>(whole);
  char digits[32];
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
  const auto length = static_cast<int>(end - start);
  if (length < width) {
    std::memset(out, ' ', static_cast<size_t>(width - length));
    out += width - length;
  }
  std::memcpy(out, start, static_cast<size_t>(length));
  return out + length;
}

void AppendFixed(std::string& text, double value, int precision, int width) {
  char room[kPutFixedRoom];
  if (width <= kPutFixedRoom - 32) {
    if (const char* end = PutFixed(room, value, precision, width)) {
      text.append(room, static_cast<size_t>(end - room));
      return;
    }
  } else if (const char* end = PutFixed(room, value, precision, 0)) {
    const auto length = static_cast<size_t>(end - room);
    if (static_cast<int>(length) < width) text.append(width - length, ' ');
    text.append(room, length);
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

namespace {
constexpr FixedParts MakeFixedParts() {
  FixedParts parts{};
  for (int k = 0; k < 1000; ++k) {
    int at = 3;
    for (int v = k;; v /= 10) {
      parts.paddedWholes[k][at--] = static_cast<char>('0' + v % 10);
      if (v < 10) break;
    }
    while (at >= 0) parts.paddedWholes[k][at--] = ' ';
    parts.pointThousandths[k][0] = '.';
    parts.pointThousandths[k][1] = static_cast<char>('0' + k / 100);
    parts.pointThousandths[k][2] = static_cast<char>('0' + k / 10 % 10);
    parts.pointThousandths[k][3] = static_cast<char>('0' + k % 10);
  }
  return parts;
}

// "000" to "999": the thousandths without their point.
const char* ThreeDigits(uint32_t k) { return kFixedParts.pointThousandths[k] + 1; }
}  // namespace

constinit const FixedParts kFixedParts = MakeFixedParts();

char* PutFixed8_3Other(char* out, float value) {
  const double magnitude = std::fabs(static_cast<double>(value));
  if (!(magnitude < 9999.0)) {
    if (char* end = PutFixed(out, value, 3, 8)) return end;
    std::string text;
    AppendFixed(text, value, 3, 8);
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
  }
  // The thousandths, rounded half to even as in PutFixed; below 10^7.
  constexpr double kTwo52 = 4503599627370496.0;
  const auto units = static_cast<uint32_t>((magnitude * 1000.0 + kTwo52) - kTwo52);
  if (!std::signbit(value)) {
    // The values of a result table: always eight characters.
    const uint32_t whole = units / 1000;
    if (whole < 1000) {
      std::memcpy(out, kFixedParts.paddedWholes[whole], 4);
    } else {
      out[0] = static_cast<char>('0' + whole / 1000);
      std::memcpy(out + 1, ThreeDigits(whole % 1000), 3);
    }
    std::memcpy(out + 4, kFixedParts.pointThousandths[units % 1000], 4);
    return out + 8;
  }
  // Right-aligned in a row of spaces, then copied 16 bytes at once: out has
  // room beyond the text, which the next text overwrites.
  char row[40];
  std::memset(row, ' ', 24);
  char* start = row + 24 - 4;
  std::memcpy(start, kFixedParts.pointThousandths[units % 1000], 4);
  uint32_t whole = units / 1000;
  do {
    *--start = static_cast<char>('0' + whole % 10);
    whole /= 10;
  } while (whole > 0);
  if (std::signbit(value)) *--start = '-';
  const auto length = std::max<ptrdiff_t>(8, row + 24 - start);
  std::memcpy(out, row + 24 - length, 16);
  return out + length;
}
