#pragma once
// printf "%*.*f" of a number, independent of the process locale: the
// number format of every file the program writes.
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>

// Appends the text to text, with no allocation of its own beyond text's growth.
void AppendFixed(std::string& text, double value, int precision, int width = 0);

// Writes the same text at out when it comes from one exact integer (a
// float32 value below 1e15, precision 0 to 3) and returns its end; nullptr,
// with nothing written, for any other value. out needs room for
// max(width, 0) + 32 chars.
inline constexpr int kPutFixedRoom = 96;
char* PutFixed(char* out, double value, int precision, int width);

// The parts of "%8.3f" below 1000: the whole part right-aligned in four
// places ("   0" to " 999"), and the point with the thousandths (".000" to
// ".999").
struct FixedParts {
  char paddedWholes[1000][4];
  char pointThousandths[1000][4];
};
extern const FixedParts kFixedParts;

// PutFixed8_3 of any other value: negative, -0, 999.9995 and above.
char* PutFixed8_3Other(char* out, float value);

// printf "%8.3f" of a finite float32 at out, which has room for 48 chars
// whatever the text's length; returns the end of the text. The result
// file's sample columns: inline for the values of a table, 0 to 999.999.
inline char* PutFixed8_3(char* out, float value) {
  // The bits of +0 up to below 1000.0f; -0, negatives and NaN are above.
  if (std::bit_cast<uint32_t>(value) < 0x447A0000u) {
    // The thousandths, rounded half to even as printf does: the product is
    // exact, and adding and taking away 2^52 leaves its nearest integer.
    constexpr double kTwo52 = 4503599627370496.0;
    const auto units = static_cast<uint32_t>((static_cast<double>(value) * 1000.0 + kTwo52) - kTwo52);
    if (units < 1000000u) {
      std::memcpy(out, kFixedParts.paddedWholes[units / 1000], 4);
      std::memcpy(out + 4, kFixedParts.pointThousandths[units % 1000], 4);
      return out + 8;
    }
  }
  return PutFixed8_3Other(out, value);
}

std::string FormatFixed(double value, int precision, int width = 0);
