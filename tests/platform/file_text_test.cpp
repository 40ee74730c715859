#include "platform/FileText.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/Cp932.h"

namespace {

// CP932 written out byte by byte, so the expectations do not lean on the codec.
const std::string kSiteCp932 = "\x83\x54\x83\x43\x83\x67\x96\xbc,\x92\x6e\x93\x5f\x41\r\n";  // サイト名,地点A
// "層厚,密度": UTF-8 that is not CP932 (most short Japanese texts in UTF-8 are).
const std::string kHeaderCp932 = "\x91\x77\x8c\xfa,\x96\xa7\x93\x78\r\n";
const std::string kHeaderUtf8 = "層厚,密度\r\n";

TEST(TakeFileText, Utf8WithTheMarkOrNotValidCp932BecomesItsCp932Twin) {
  const std::string utf8 = "サイト名,地点A\r\n" + kHeaderUtf8;
  const std::string cp932 = kSiteCp932 + kHeaderCp932;
  for (const std::string& file : {"\xEF\xBB\xBF" + utf8, utf8}) {
    const FileText text = TakeFileText(file);
    EXPECT_EQ(text.encoding, FileEncoding::Utf8);
    EXPECT_TRUE(text.representable);
    EXPECT_EQ(text.cp932, cp932);
  }
  // The mark alone, and the mark before plain ASCII: the mark is dropped.
  EXPECT_EQ(TakeFileText("\xEF\xBB\xBF").cp932, "");
  EXPECT_EQ(TakeFileText("\xEF\xBB\xBF"
                         "1,2\n")
                .cp932,
            "1,2\n");
}

TEST(TakeFileText, Cp932AndWhatIsNeitherStayAsTheyAre) {
  const std::string cases[] = {
      kSiteCp932 + kHeaderCp932,  // what the program writes
      "1,2.50,1.70,120\r\n",      // ASCII is both; nothing to convert
      "\x83\x54\x83,C\r\n",       // neither: a lead byte without its trail byte
      "\xEF\xBB\xBF\xff\r\n",     // a mark before bytes that are not UTF-8
      "\xEF\xBB\xBF"
      "\x83\x54\r\n",  // a mark before CP932
  };
  for (const std::string& file : cases) {
    const FileText text = TakeFileText(file);
    EXPECT_EQ(text.encoding, FileEncoding::Cp932) << file;
    EXPECT_EQ(text.cp932, file);
  }
  // UTF-8 without the mark that happens to be valid CP932 as well is taken as
  // CP932: the rule never second-guesses a file the program could have written.
  const std::string both = "サイト名,地点A\r\n層番号\r\n";
  ASSERT_TRUE(Cp932ToUtf8(both).has_value());
  EXPECT_EQ(TakeFileText(both).encoding, FileEncoding::Cp932);
  EXPECT_EQ(TakeFileText("\xEF\xBB\xBF" + both).cp932, kSiteCp932 + "\x91\x77\x94\xd4\x8d\x86\r\n");
}

TEST(TakeFileText, Utf8ThatCp932CannotHoldIsMarkedAndKeptWithoutTheMark) {
  const FileText text = TakeFileText(
      "\xEF\xBB\xBF"
      "サイト名,地点😀\r\n");
  EXPECT_EQ(text.encoding, FileEncoding::Utf8);
  EXPECT_FALSE(text.representable);
  EXPECT_EQ(text.cp932, "サイト名,地点😀\r\n");
}

TEST(TakeFileText, AHeadCutInsideACharacterIsJudgedOnItsWholeLines) {
  // A head cut after the first byte of "度": the whole lines decide, and the
  // unfinished last line is left out of a UTF-8 file.
  const std::string utf8 = kHeaderUtf8 + "層厚,密" + std::string("度").substr(0, 1);
  EXPECT_EQ(TakeFileText(utf8).encoding, FileEncoding::Cp932);  // not a head: not UTF-8
  const FileText head = TakeFileText(utf8, true);
  EXPECT_EQ(head.encoding, FileEncoding::Utf8);
  EXPECT_EQ(head.cp932, kHeaderCp932);

  // A CP932 head cut after a lead byte is still CP932, and passed on whole.
  const std::string cp932 = kHeaderCp932 + "\x91\x77\x94";
  const FileText cp932Head = TakeFileText(cp932, true);
  EXPECT_EQ(cp932Head.encoding, FileEncoding::Cp932);
  EXPECT_EQ(cp932Head.cp932, cp932);
}

TEST(IsUtf8, RefusesMalformedSequences) {
  EXPECT_TRUE(IsUtf8(""));
  EXPECT_TRUE(IsUtf8("層😀"));
  EXPECT_FALSE(IsUtf8("\xC0\x80"));      // overlong NUL
  EXPECT_FALSE(IsUtf8("\xED\xA0\x80"));  // a surrogate
  EXPECT_FALSE(IsUtf8("\xE5\xB1"));      // cut off
  EXPECT_FALSE(IsUtf8("\x83\x54"));      // CP932 サ
}

}  // namespace
