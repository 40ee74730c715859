#include "platform/Mystr.h"

#include <algorithm>

#include "platform/Cp932.h"

namespace {

bool IsBlank(unsigned char c) { return c == ' ' || c == '\t' || c == '\n'; }

// Collects the bytes of one token, keeping at most kMaxTokenBytes and never
// half a double-byte character.
class TokenBuffer {
 public:
  void Append(unsigned char c) {
    if (full_) return;
    const bool startsPair = !inPair_ && IsCp932LeadByte(c);
    const std::size_t needed = startsPair ? 2 : 1;
    if (text_.size() + needed > kMaxTokenBytes) {
      // Once cut, the rest of the token is dropped, so a later single byte
      // cannot slip in after the cut.
      full_ = true;
      return;
    }
    text_.push_back(static_cast<char>(c));
    inPair_ = startsPair;
  }
  std::string Take() {
    std::string out = std::move(text_);
    text_.clear();
    inPair_ = false;
    full_ = false;
    return out;
  }

 private:
  std::string text_;
  bool inPair_ = false;
  bool full_ = false;
};

}  // namespace

int SplitTokens(std::string_view line, std::vector<std::string>& tokens, int capacity) {
  tokens.clear();
  const std::size_t room = static_cast<std::size_t>(std::max(capacity, 0));
  // A zero byte ends the line as it ends a C string.
  const std::size_t end = std::min(line.find('\0'), line.size());

  TokenBuffer buffer;
  bool inToken = false;
  auto store = [&] {
    std::string token = buffer.Take();
    if (tokens.size() < room) tokens.push_back(std::move(token));
  };

  for (std::size_t i = 0; i < end; ++i) {
    const unsigned char c = static_cast<unsigned char>(line[i]);
    if (c == ',') {
      store();
      inToken = false;
    } else if (IsBlank(c)) {
      if (inToken) store();
      inToken = false;
    } else {
      buffer.Append(c);
      inToken = true;
    }
  }
  if (inToken) store();
  return static_cast<int>(tokens.size());
}
