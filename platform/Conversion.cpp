#include "platform/Conversion.h"

#include <charconv>
#include <cmath>

#include "platform/CheckedFloat.h"
#include "platform/Errors.h"

namespace {

std::string NotAFloat(const std::string& text) { return "'" + text + "' は浮動小数点数ではありません"; }
std::string NotAnInteger(const std::string& text) { return "'" + text + "' は整数ではありません"; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Checks the shape [sign] digits [. digits] [e [sign] digits] with at least
// one mantissa digit; from_chars alone would take "inf", "nan" and hex forms.
bool IsDecimalNumber(const std::string& s) {
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t digits = 0;
  while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t exponentDigits = 0;
    while (i < s.size() && IsDigit(s[i])) ++i, ++exponentDigits;
    if (exponentDigits == 0) return false;
  }
  return i == s.size();
}

// For a well-formed number out of the double range: too large (rather than
// too small)? Judged from the decimal exponent of its first nonzero digit.
bool OverflowsDouble(const std::string& s) {
  long exponent = 0;
  const size_t e = s.find_first_of("eE");
  if (e != std::string::npos) {
    const char* first = s.data() + e + 1;
    if (*first == '+') ++first;
    long parsed = 0;
    const auto [ptr, ec] = std::from_chars(first, s.data() + s.size(), parsed);
    exponent = ec == std::errc::result_out_of_range ? (*first == '-' ? -100000 : 100000) : parsed;
  }
  const std::string mantissa = s.substr(0, e);
  const size_t point = mantissa.find('.');
  const size_t firstNonZero = mantissa.find_first_of("123456789");
  const long intDigits = static_cast<long>(point == std::string::npos ? mantissa.size() : point);
  // The value is about 10^(position - 1 + exponent); the sign shifts both
  // counts alike.
  const long nonZero = static_cast<long>(firstNonZero);
  const long position = nonZero < intDigits ? intDigits - nonZero : intDigits - nonZero + 1;
  return position + exponent > 0;
}

}  // namespace

double StrToFloat(const std::string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && text[begin] == ' ') ++begin;
  while (end > begin && text[end - 1] == ' ') --end;
  std::string number = text.substr(begin, end - begin);
  if (!IsDecimalNumber(number)) throw ConversionError(NotAFloat(text));
  const char* first = number.data();
  if (*first == '+') ++first;
  double value = 0.0;
  const auto [ptr, ec] = std::from_chars(first, number.data() + number.size(), value);
  if (ptr != number.data() + number.size()) throw ConversionError(NotAFloat(text));
  if (ec == std::errc::result_out_of_range) {
    // Too large for a double is not a number the system can hold; too small
    // underflows to zero, as underflow passes silently everywhere.
    if (OverflowsDouble(number)) throw ConversionError(NotAFloat(text));
    return number[0] == '-' ? -0.0 : 0.0;
  }
  if (ec != std::errc()) throw ConversionError(NotAFloat(text));
  return value;
}

float StrToSingle(const std::string& text) { return checked::StoreSingle(StrToFloat(text)); }

int32_t StrToInt(const std::string& text) {
  size_t begin = 0;
  while (begin < text.size() && text[begin] == ' ') ++begin;
  const char* first = text.data() + begin;
  const char* last = text.data() + text.size();
  if (first < last && *first == '+' && first + 1 < last && first[1] != '-') ++first;
  if (first == last || *first == '+') throw ConversionError(NotAnInteger(text));
  int32_t value = 0;
  const auto [ptr, ec] = std::from_chars(first, last, value);
  if (ec != std::errc() || ptr != last) throw ConversionError(NotAnInteger(text));
  return value;
}

std::optional<int32_t> TypedCount(const std::string& text) {
  const size_t last = text.find_last_not_of(' ');
  if (last == std::string::npos) return std::nullopt;
  try {
    return StrToInt(text.substr(0, last + 1));
  } catch (const ConversionError&) {
    throw ConversionError(NotAnInteger(text));
  }
}
