#pragma once
// printf "%*.*f" of a number, independent of the process locale: the
// number format of every file the program writes.
#include <string>

// Appends the text to text, with no allocation of its own beyond text's growth.
void AppendFixed(std::string& text, double value, int precision, int width = 0);

std::string FormatFixed(double value, int precision, int width = 0);
