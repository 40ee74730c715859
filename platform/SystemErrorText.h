#pragma once
// The system's error texts in the program's language: what a message the
// program composes says in place of strerror's English.
#include <string>

// The Japanese text for an errno value, in the wording of the C library's
// Japanese catalogue ("ディレクトリです" for EISDIR). An errno without a
// text of its own gives "システムエラー（番号 N）".
std::string SystemErrorText(int error);
