#pragma once
// printf "%*.*f" of a number, independent of the process locale: the
// number format of every file the program writes.
#include <string>

// Appends the text to text, with no allocation of its own beyond text's growth.
void AppendFixed(std::string& text, double value, int precision, int width = 0);

// Writes the same text at out when it comes from one exact integer (a
// float32 value below 1e15, precision 0 to 3) and returns its end; nullptr,
// with nothing written, for any other value. out needs room for
// max(width, 0) + 32 chars.
inline constexpr int kPutFixedRoom = 96;
char* PutFixed(char* out, double value, int precision, int width);

// printf "%8.3f" of a finite float32 at out, which has room for 48 chars
// whatever the text's length; returns the end of the text. The result
// file's sample columns.
char* PutFixed8_3(char* out, float value);

std::string FormatFixed(double value, int precision, int width = 0);
