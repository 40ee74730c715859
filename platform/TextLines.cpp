#include "platform/TextLines.h"

#include <algorithm>

TextLineReader::TextLineReader(std::string_view bytes, std::size_t bufferBytes)
    : room_(std::max<std::size_t>(bufferBytes, 2) - 1) {
  text_.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    text_.push_back(bytes[i]);
  }
}

std::optional<std::string_view> TextLineReader::Next() {
  lastCut_ = false;
  if (position_ >= text_.size()) return std::nullopt;
  const std::size_t room = std::min(room_, text_.size() - position_);
  const std::string_view window(text_.data() + position_, room);
  const std::size_t lf = window.find('\n');
  const std::size_t length = lf == std::string_view::npos ? room : lf + 1;
  position_ += length;
  lastCut_ = lf == std::string_view::npos && position_ < text_.size();
  return window.substr(0, length);
}
