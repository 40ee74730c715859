#include "platform/Cp932.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

namespace {

TEST(Cp932, ConvertsTheProgramsTextBothWays) {
  struct Case {
    const char* utf8;
    std::string cp932;
  };
  const Case cases[] = {
      {"減衰比", "\x8c\xb8\x90\x8a\x94\xe4"},
      {"ﾌｧｲﾙ名 : ", "\xcc\xa7\xb2\xd9\x96\xbc : "},  // half-width katakana stay single bytes
      {"　　－", "\x81\x40\x81\x40\x81\x7c"},        // full-width spaces and minus
      {"～", "\x81\x60"},                            // the Windows mapping of 0x8160
      {"①", "\x87\x40"},                             // NEC row 13 (circled digits)
      {"a\\b", "a\\b"},                              // 0x5C is the backslash, not the yen sign
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8ToCp932(c.utf8), c.cp932) << c.utf8;
    EXPECT_EQ(Cp932ToUtf8(c.cp932), std::string(c.utf8)) << c.utf8;
  }
  // Long input runs through the converter in more than one piece.
  std::string many;
  std::string manyBytes;
  for (int i = 0; i < 5000; ++i) many += "層", manyBytes += "\x91\x77";
  EXPECT_EQ(Utf8ToCp932(many), manyBytes);
  EXPECT_EQ(Cp932ToUtf8(manyBytes), many);
}

TEST(Cp932, RefusesWhatItCannotConvert) {
  EXPECT_EQ(Cp932ToUtf8("abc\x8c"), std::nullopt);   // lead byte cut off at the end
  EXPECT_EQ(Cp932ToUtf8("\x81\x7f"), std::nullopt);  // no character there
  EXPECT_EQ(Cp932ToUtf8("\x80"), std::nullopt);
  EXPECT_EQ(Cp932ToUtf8("\xfd"), std::nullopt);
  EXPECT_EQ(Utf8ToCp932("\xff"), std::nullopt);      // not UTF-8
  EXPECT_EQ(Utf8ToCp932("\xe6\xb8"), std::nullopt);  // truncated UTF-8
  EXPECT_EQ(Utf8ToCp932("地点😀"), std::nullopt);     // no CP932 code
  EXPECT_EQ(Utf8ToCp932("\xc3\xa9"), std::nullopt);  // é
}

// ASCII is passed through unconverted: the library's own tables must give
// every byte below 0x80 (NUL included) unchanged in both directions.
TEST(Cp932, AsciiPassesThroughAsTheLibraryConvertsIt) {
  std::string ascii;
  for (int c = 0; c < 0x80; ++c) ascii += static_cast<char>(c);
  for (const auto& [to, from] : {std::pair{"UTF-8", "CP932"}, std::pair{"CP932", "UTF-8"}}) {
    iconv_t cd = iconv_open(to, from);
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    std::string in = ascii, out(4 * ascii.size(), '\0');
    char* inAt = in.data();
    char* outAt = out.data();
    size_t inLeft = in.size(), outLeft = out.size();
    ASSERT_NE(iconv(cd, &inAt, &inLeft, &outAt, &outLeft), static_cast<size_t>(-1));
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    EXPECT_EQ(out, ascii) << from << " to " << to;
  }
  EXPECT_EQ(Cp932ToUtf8(ascii), ascii);
  EXPECT_EQ(Utf8ToCp932(ascii), ascii);
  EXPECT_TRUE(IsUtf8(ascii));
  // One byte above ASCII still goes through the converter and its checks.
  EXPECT_EQ(Cp932ToUtf8(ascii + "\x80"), std::nullopt);
  EXPECT_FALSE(IsUtf8(ascii + "\xc0\x80"));  // an overlong NUL
}

}  // namespace
