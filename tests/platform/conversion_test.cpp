#include "platform/Conversion.h"

#include <gtest/gtest.h>

#include "platform/CheckedFloat.h"
#include "platform/Errors.h"

namespace {

std::string FloatMessage(const std::string& text) {
  try {
    StrToFloat(text);
  } catch (const ConversionError& e) {
    return e.what();
  }
  return "(converted)";
}

std::string IntMessage(const std::string& text) {
  try {
    StrToInt(text);
  } catch (const ConversionError& e) {
    return e.what();
  }
  return "(converted)";
}

TEST(StrToFloat, AcceptsDecimalTextWithBlanksAround) {
  EXPECT_EQ(StrToFloat("0.05"), 0.05);
  EXPECT_EQ(StrToFloat("  2.50"), 2.5);
  EXPECT_EQ(StrToFloat("   151  "), 151.0);
  EXPECT_EQ(StrToFloat("-3"), -3.0);
  EXPECT_EQ(StrToFloat("+.5"), 0.5);
  EXPECT_EQ(StrToFloat("1."), 1.0);
  EXPECT_EQ(StrToFloat("1.5e3"), 1500.0);
  EXPECT_EQ(StrToFloat("2E-1"), 0.2);
  EXPECT_EQ(StrToFloat("1e-999"), 0.0);  // underflow passes silently
  EXPECT_EQ(StrToFloat("-0.0001e-400"), 0.0);
}

TEST(StrToFloat, RefusesEverythingElseWithTheSystemText) {
  EXPECT_EQ(FloatMessage(" "), "' ' は浮動小数点数ではありません");
  EXPECT_EQ(FloatMessage(""), "'' は浮動小数点数ではありません");
  EXPECT_EQ(FloatMessage("　　－"), "'　　－' は浮動小数点数ではありません");
  EXPECT_EQ(FloatMessage("1,5"), "'1,5' は浮動小数点数ではありません");
  EXPECT_EQ(FloatMessage("1 0"), "'1 0' は浮動小数点数ではありません");
  for (const char* text :
       {"abc", ".", "-", "1e", "1e+", "inf", "nan", "0x10", "1.2.3", "1e999", "-1e999", "0.01e311", "--1"}) {
    EXPECT_EQ(FloatMessage(text), std::string("'") + text + "' は浮動小数点数ではありません");
  }
}

TEST(StrToFloat, StoringBeyondFloat32IsAnOverflowFault) {
  EXPECT_EQ(StrToSingle("3.4e38"), 3.4e38f);
  try {
    StrToSingle("1e39");
    FAIL();
  } catch (const FloatingPointFault& e) {
    EXPECT_STREQ(e.what(), "浮動小数点数のオーバーフロー");
  }
}

TEST(StrToInt, AcceptsSignedDigitsAfterBlanks) {
  EXPECT_EQ(StrToInt("20"), 20);
  EXPECT_EQ(StrToInt("  -7"), -7);
  EXPECT_EQ(StrToInt("+3"), 3);
  EXPECT_EQ(StrToInt("2147483647"), 2147483647);
}

TEST(StrToInt, RefusesEverythingElseWithTheSystemText) {
  for (const char* text : {"", "x", "1.0", "5 ", "+", "-", "+-1", "2147483648", "1e3", "３"}) {
    EXPECT_EQ(IntMessage(text), std::string("'") + text + "' は整数ではありません");
  }
}

TEST(CheckedFloat, RaisesTheThreeFaultsWithTheirTexts) {
  auto text = [](auto f) {
    try {
      f();
    } catch (const FloatingPointFault& e) {
      return std::string(e.what());
    }
    return std::string("(no fault)");
  };
  EXPECT_EQ(text([] { checked::Divide(0.0, 0.0); }), "不正な浮動小数点数演算命令");
  EXPECT_EQ(text([] { checked::Divide(1.0, 0.0); }), "0 による浮動小数点数除算");
  EXPECT_EQ(text([] { checked::StoreSingle(1e39); }), "浮動小数点数のオーバーフロー");
  EXPECT_EQ(text([] { checked::Ln(0.0); }), "0 による浮動小数点数除算");
  EXPECT_EQ(text([] { checked::Ln(-1.0); }), "不正な浮動小数点数演算命令");
  EXPECT_EQ(text([] { checked::Sqrt(-1.0); }), "不正な浮動小数点数演算命令");
  EXPECT_EQ(text([] { checked::Exp(100.0); }), "(no fault)");
  EXPECT_EQ(text([] { checked::StoreSingle(checked::Exp(100.0)); }), "浮動小数点数のオーバーフロー");
  // Underflow passes silently.
  EXPECT_EQ(checked::StoreSingle(1e-50), 0.0f);
}

TEST(UserActionError, StandardBoxHasTheApplicationCaptionAndStopIcon) {
  const ConversionError error("'x' は整数ではありません");
  const MessageBox box = error.Box();
  EXPECT_EQ(box.text, "'x' は整数ではありません");
  EXPECT_EQ(box.caption, "地盤増幅特性");
  EXPECT_EQ(box.icon, MessageIcon::Stop);
  EXPECT_EQ(box.buttons, MessageButtons::Ok);
}

}  // namespace
