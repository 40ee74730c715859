#pragma once
// Conversion between the CP932 (Shift-JIS, Windows variant) bytes of the
// program's files and the UTF-8 text it holds inside.
#include <optional>
#include <string>
#include <string_view>

// CP932 bytes to UTF-8. Returns nothing for bytes that are not valid CP932
// (a lone lead byte, an unassigned code, a truncated character).
std::optional<std::string> Cp932ToUtf8(std::string_view cp932);

// UTF-8 text to CP932 bytes. Returns nothing for invalid UTF-8 or for a
// character that CP932 cannot represent.
std::optional<std::string> Utf8ToCp932(std::string_view utf8);
