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

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates
// or truncated characters).
bool IsUtf8(std::string_view bytes);

// A CP932 lead byte starts a double-byte character.
constexpr bool IsCp932LeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Text of bytes below 0x80 only reads the same in CP932 and UTF-8.
inline bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}
