#pragma once
// Which encoding a text file that the program reads is taken in. The program
// writes CP932; profiles made with a modern editor or a script are often
// UTF-8, with or without a byte-order mark. The readers work on CP932 bytes,
// so that their line and field rules count the bytes a file would have in
// CP932, whichever encoding it was saved in.
#include <string>
#include <string_view>

enum class FileEncoding {
  Cp932,  // taken as it stands
  Utf8,   // byte-order mark dropped, converted to CP932
};

struct FileText {
  FileEncoding encoding = FileEncoding::Cp932;
  // False for a UTF-8 file with a character that CP932 cannot hold; `cp932`
  // then holds the UTF-8 bytes after the byte-order mark, unconverted.
  bool representable = true;
  std::string cp932;  // the bytes the reader cuts into lines
};

// A file is taken as UTF-8 when its bytes are valid UTF-8 and either start
// with the byte-order mark or are not valid CP932 (text that is both, such as
// plain ASCII, is taken as CP932, as the program has always read it). Any
// other file is taken as CP932, unchanged.
//
// `head` says the bytes may be only the first part of a longer file, so may
// end inside a character: the tests then look at whole lines only, and a
// UTF-8 file loses its unfinished last line (every line that is read lies
// well before it).
FileText TakeFileText(std::string_view bytes, bool head = false);
