#include "platform/Cp932.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

// Opening a descriptor loads glibc's conversion module each time, which
// costs more than converting a whole result file; each thread keeps the
// few it uses. A descriptor is never shared between threads.
class Descriptors {
 public:
  ~Descriptors() {
    for (Entry& e : entries_) iconv_close(e.cd);
  }
  iconv_t Get(const char* to, const char* from) {
    for (Entry& e : entries_) {
      if (std::strcmp(e.to, to) == 0 && std::strcmp(e.from, from) == 0) {
        iconv(e.cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
        return e.cd;
      }
    }
    iconv_t cd = iconv_open(to, from);
    if (cd != reinterpret_cast<iconv_t>(-1)) entries_.push_back({to, from, cd});
    return cd;
  }

 private:
  struct Entry {
    const char* to;
    const char* from;
    iconv_t cd;
  };
  std::vector<Entry> entries_;
};

// One conversion through glibc iconv without transliteration, so any byte
// sequence that does not map exactly is refused rather than replaced.
std::optional<std::string> Convert(const char* to, const char* from, std::string_view input) {
  thread_local Descriptors descriptors;
  iconv_t cd = descriptors.Get(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;

  std::string output;
  std::vector<char> chunk(4 * input.size() + 16);
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  bool ok = true;
  while (ok && inLeft > 0) {
    char* out = chunk.data();
    std::size_t outLeft = chunk.size();
    const std::size_t rc = iconv(cd, &in, &inLeft, &out, &outLeft);
    output.append(chunk.data(), static_cast<std::size_t>(out - chunk.data()));
    // E2BIG only means the chunk is full; EILSEQ is an invalid or
    // unconvertible sequence, EINVAL a character cut off at the end.
    if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) ok = false;
  }
  if (ok) {
    // Flush any pending state at the end of the input.
    char* out = chunk.data();
    std::size_t outLeft = chunk.size();
    if (iconv(cd, nullptr, nullptr, &out, &outLeft) == static_cast<std::size_t>(-1)) ok = false;
    output.append(chunk.data(), static_cast<std::size_t>(out - chunk.data()));
  }
  if (!ok) return std::nullopt;
  return output;
}

}  // namespace

// ASCII reads the same in CP932 and UTF-8 (the library's tables agree,
// which a test checks): most fields of a file need no conversion at all.
std::optional<std::string> Cp932ToUtf8(std::string_view cp932) {
  if (IsAscii(cp932)) return std::string(cp932);
  return Convert("UTF-8", "CP932", cp932);
}

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  return Convert("CP932", "UTF-8", utf8);
}

bool IsUtf8(std::string_view bytes) { return IsAscii(bytes) || Convert("UTF-32LE", "UTF-8", bytes).has_value(); }
