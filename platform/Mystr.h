#pragma once
// The line tokenizer shared by the profile reader and the settings reader.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Room the readers provide for the tokens of one line.
inline constexpr int kTokenListSize = 20;
// Longest token kept, in bytes.
inline constexpr std::size_t kMaxTokenBytes = 1023;

// Cuts one line of raw CP932 bytes, as read from a file (often still ending
// with its line feed), into comma- or blank-separated tokens.
//
// - Blanks, tabs and line feeds outside a token are skipped; a comma outside a
//   token yields an empty token; a blank, tab, comma, line feed or the end of
//   the line ends a token. A carriage return is an ordinary byte ("a,x\r\n"
//   gives "a", "x\r"). A zero byte ends the line, as the end of a C string.
// - Separators are ASCII bytes that never occur as a CP932 trail byte, so
//   double-byte characters always stay whole.
// - At most `capacity` tokens are stored; further tokens of the line are
//   ignored. A token longer than kMaxTokenBytes is cut after its last whole
//   character that fits; the rest of it is skipped up to its separator.
//
// `tokens` is cleared and receives the stored tokens. Returns their number
// (always tokens.size()). A capacity below 0 counts as 0.
int SplitTokens(std::string_view line, std::vector<std::string>& tokens, int capacity = kTokenListSize);
