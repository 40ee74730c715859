#pragma once
// The toolkit's text-to-number conversions. Values that users type stay text
// until a consumer converts them; a text that is not a number throws a
// ConversionError carrying the system's own message.
#include <cstdint>
#include <optional>
#include <string>

// Decimal conversion with the period as decimal separator; leading and trailing
// blanks are allowed. Throws "'%s' は浮動小数点数ではありません".
double StrToFloat(const std::string& text);

// The same, stored as float32: a value beyond the float32 range is an overflow
// fault, as the store would raise it.
float StrToSingle(const std::string& text);

// Integer conversion (optional sign and digits, leading blanks allowed, 32-bit
// range). Throws "'%s' は整数ではありません".
int32_t StrToInt(const std::string& text);

// A count typed into a spinner's field: the whole number it holds, blanks
// around it allowed, or nothing for a field left blank. Any other text throws
// "'%s' は整数ではありません", quoting the field as it stands.
std::optional<int32_t> TypedCount(const std::string& text);
