#pragma once
// printf into a std::string, for the texts the windows and pictures show.
// Numbers follow the process's LC_NUMERIC; the program keeps it "C", so the
// decimal point is '.'. (Files are written with FixedFormat, which needs no
// locale at all.) The text is never cut short, however long it is.
#include <string>

[[gnu::format(printf, 1, 2)]] std::string Printf(const char* format, ...);
