#include "platform/FileText.h"

#include <optional>

#include "platform/Cp932.h"

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The whole lines of a head: up to and including its last line feed. A head
// without any line feed is taken whole.
std::string_view WholeLines(std::string_view bytes) {
  const std::size_t lf = bytes.rfind('\n');
  return lf == std::string_view::npos ? bytes : bytes.substr(0, lf + 1);
}

}  // namespace

FileText TakeFileText(std::string_view bytes, bool head) {
  FileText text;
  const bool bom = bytes.starts_with(kUtf8Bom);
  std::string_view utf8 = bom ? bytes.substr(kUtf8Bom.size()) : bytes;
  if (head) utf8 = WholeLines(utf8);
  const bool asUtf8 = IsUtf8(utf8) && (bom || !Cp932ToUtf8(head ? WholeLines(bytes) : bytes));
  if (!asUtf8) {
    text.cp932 = std::string(bytes);
    return text;
  }
  text.encoding = FileEncoding::Utf8;
  if (std::optional<std::string> converted = Utf8ToCp932(utf8)) {
    text.cp932 = std::move(*converted);
  } else {
    text.representable = false;
    text.cp932 = std::string(utf8);
  }
  return text;
}
