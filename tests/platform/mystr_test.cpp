#include "platform/Mystr.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Tokens = std::vector<std::string>;

Tokens Split(std::string_view line, int capacity = kTokenListSize) {
  Tokens tokens{"left over from an earlier line"};
  const int count = SplitTokens(line, tokens, capacity);
  EXPECT_EQ(count, static_cast<int>(tokens.size()));
  return tokens;
}

TEST(SplitTokens, CutsLinesAsTheReadersExpect) {
  EXPECT_EQ(Split("0,\x89\xf0\x90\xcd\x96\x40\n"), (Tokens{"0", "\x89\xf0\x90\xcd\x96\x40"}));  // 0,解析法
  EXPECT_EQ(Split("1,2.00,1.80,200"), (Tokens{"1", "2.00", "1.80", "200"}));
  EXPECT_EQ(Split("a,,b"), (Tokens{"a", "", "b"}));
  EXPECT_EQ(Split("a ,b"), (Tokens{"a", "", "b"}));
  EXPECT_EQ(Split("a, b"), (Tokens{"a", "b"}));
  EXPECT_EQ(Split("1 0,x"), (Tokens{"1", "0", "x"}));
  EXPECT_EQ(Split("a,"), (Tokens{"a"}));
  EXPECT_EQ(Split(""), Tokens{});
}

TEST(SplitTokens, SeparatorsAndLineEnds) {
  EXPECT_EQ(Split("   \t \n"), Tokens{});
  EXPECT_EQ(Split(",a"), (Tokens{"", "a"}));
  EXPECT_EQ(Split("\t a\tb \n"), (Tokens{"a", "b"}));
  // A carriage return is an ordinary byte: it stays in the last value of a
  // CR LF line, but a value followed by a comma never carries it.
  EXPECT_EQ(Split("a,x\r\n"), (Tokens{"a", "x\r"}));
  EXPECT_EQ(Split("0.05,\x8c\xb8\x90\x8a\x94\xe4\r\n"), (Tokens{"0.05", "\x8c\xb8\x90\x8a\x94\xe4\r"}));
  EXPECT_EQ(Split("\r\n"), (Tokens{"\r"}));
  // A zero byte ends the line, as it ends the C string it was read into.
  EXPECT_EQ(Split(std::string_view("a,b\0,c", 6)), (Tokens{"a", "b"}));
}

TEST(SplitTokens, ShiftJisComesBackByteForByte) {
  // 減衰比, 地点名 and the half-width ﾌｧｲﾙ; trail bytes such as 0x5C (表) and
  // 0x40 never split a character.
  const std::string label = "\x8c\xb8\x90\x8a\x94\xe4";
  const std::string site = "\x92\x6e\x93\x5f\x96\xbc";
  const std::string kana = "\xcc\xa7\xb2\xd9";
  const std::string hyou = "\x95\x5c";
  EXPECT_EQ(Split(label + "," + site + " " + kana + "," + hyou + "\n"), (Tokens{label, site, kana, hyou}));
}

TEST(SplitTokens, StoresNoMoreTokensThanTheListHolds) {
  std::string line;
  for (int i = 1; i <= 25; ++i) line += std::to_string(i) + ",";
  const Tokens all = Split(line);
  ASSERT_EQ(all.size(), 20u);
  EXPECT_EQ(all.front(), "1");
  EXPECT_EQ(all.back(), "20");

  EXPECT_EQ(Split("a,b,c,d", 2), (Tokens{"a", "b"}));
  EXPECT_EQ(Split("a,b", 0), Tokens{});
  EXPECT_EQ(Split("a,b", -4), Tokens{});
}

TEST(SplitTokens, CutsOverlongTokensOnCharacterBoundaries) {
  const Tokens plain = Split(std::string(1500, 'a') + ",b");
  ASSERT_EQ(plain.size(), 2u);
  EXPECT_EQ(plain[0], std::string(1023, 'a'));
  EXPECT_EQ(plain[1], "b");

  // A double-byte character that would straddle the limit is left out whole,
  // and nothing of the rest of the token slips in after it.
  const Tokens wide = Split(std::string(1022, 'a') + "\x8c\xb8" + "zz" + ",b");
  ASSERT_EQ(wide.size(), 2u);
  EXPECT_EQ(wide[0], std::string(1022, 'a'));
  EXPECT_EQ(wide[1], "b");

  const Tokens exact = Split(std::string(1021, 'a') + "\x8c\xb8");
  ASSERT_EQ(exact.size(), 1u);
  EXPECT_EQ(exact[0], std::string(1021, 'a') + "\x8c\xb8");
}

}  // namespace
