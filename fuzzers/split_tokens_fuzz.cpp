// Feeds arbitrary bytes to SplitTokens with every list size from 0 to 21: no
// overrun, no token beyond its length limit, no more tokens than room.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Mystr.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> tokens;
  const int all = SplitTokens(line, tokens, 1 << 20);
  for (int capacity = 0; capacity <= kTokenListSize + 1; ++capacity) {
    const int count = SplitTokens(line, tokens, capacity);
    if (count < 0 || count > capacity || count != static_cast<int>(tokens.size())) std::abort();
    if (count != (all < capacity ? all : capacity)) std::abort();
    for (const std::string& token : tokens) {
      if (token.size() > kMaxTokenBytes) std::abort();
      if (token.find_first_of(std::string_view(" \t\n,\0", 5)) != std::string::npos) std::abort();
    }
  }
  return 0;
}
