#include "platform/Printf.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(PrintfTest, FormatsLikePrintf) {
  EXPECT_EQ(Printf("%6.2f", 2.555), "  2.56");
  EXPECT_EQ(Printf("%4d", 7), "   7");
  EXPECT_EQ(Printf(" 第%2d 層", 12), " 第12 層");
  EXPECT_EQ(Printf("履歴型減衰/減衰比　%.2f", 0.05), "履歴型減衰/減衰比　0.05");
  EXPECT_EQ(Printf("%.1e", 12345.0), "1.2e+04");
  EXPECT_EQ(Printf("100%%"), "100%");
  EXPECT_EQ(Printf("%s", ""), "");
}

// A text that the earlier fixed buffers would have cut short comes out whole,
// both just past the first buffer and far beyond it.
TEST(PrintfTest, LongTextsAreWhole) {
  const std::string a127(127, 'a');
  EXPECT_EQ(Printf("%s", a127.c_str()), a127);
  EXPECT_EQ(Printf("%s!", a127.c_str()), a127 + "!");
  const std::string long1000(1000, 'x');
  EXPECT_EQ(Printf("<%s|%d>", long1000.c_str(), 42), "<" + long1000 + "|42>");

  const std::string max = Printf("%.2f(s)", 1.7976931348623157e308);
  EXPECT_EQ(max.size(), 309u + 3u + 3u);
  EXPECT_EQ(max.substr(0, 10), "1797693134");
  EXPECT_EQ(max.substr(max.size() - 6), ".00(s)");

  const std::string ratio = Printf("粘性型減衰/減衰比　%.2f", static_cast<double>(3.4028235e38f));
  EXPECT_EQ(ratio, "粘性型減衰/減衰比　340282346638528859811704183484516925440.00");
}

}  // namespace
