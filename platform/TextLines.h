#pragma once
// Lines of a text file as a text-mode read into a fixed buffer sees them.
// Both readers of the program (profile files and tovalk.ini) read this way;
// only their buffer sizes differ.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

class TextLineReader {
 public:
  // `bufferBytes` is the size of the line buffer, its terminating zero
  // included: a line holds at most bufferBytes - 1 bytes, its line feed
  // included, and the rest of a longer line is read as the next line.
  // A CR directly before a LF belongs to the line end and is dropped (text
  // mode); any other CR is an ordinary byte. Buffers below 2 bytes count as 2.
  TextLineReader(std::string_view bytes, std::size_t bufferBytes);

  // The next line, keeping its LF (the last line may have none); nothing at
  // the end of the file.
  std::optional<std::string_view> Next();

  // True when the line Next() returned last was cut by the buffer: it has no
  // line feed and more of the file follows it.
  bool LastLineWasCut() const { return lastCut_; }

 private:
  std::string text_;
  std::size_t room_;
  std::size_t position_ = 0;
  bool lastCut_ = false;
};
