#include "platform/TextLines.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TextLineReader, CutsLinesAsA100ByteBufferWould) {
  const std::string line98(98, 'a');
  TextLineReader reader(line98 + "\r\n" + line98 + "b\r\nlast", 100);
  EXPECT_EQ(reader.Next(), line98 + "\n");
  EXPECT_FALSE(reader.LastLineWasCut());
  EXPECT_EQ(reader.Next(), line98 + "b");
  EXPECT_TRUE(reader.LastLineWasCut());
  EXPECT_EQ(reader.Next(), "\n");
  EXPECT_EQ(reader.Next(), "last");
  EXPECT_FALSE(reader.LastLineWasCut());  // the file ends there: nothing was cut off
  EXPECT_EQ(reader.Next(), std::nullopt);
  EXPECT_EQ(reader.Next(), std::nullopt);
  TextLineReader crs("a\r\rb\r\n\r", 100);
  EXPECT_EQ(crs.Next(), "a\r\rb\n");
  EXPECT_EQ(crs.Next(), "\r");
}

TEST(TextLineReader, TheSettingsBufferHolds199BytesLineEndIncluded) {
  const std::string line198(198, 'x');
  // The CR of a CR LF is dropped before the buffer is filled, so it takes no room.
  TextLineReader reader(line198 + "\r\n" + line198 + "yz\n", 200);
  EXPECT_EQ(reader.Next(), line198 + "\n");
  EXPECT_EQ(reader.Next(), line198 + "y");
  EXPECT_TRUE(reader.LastLineWasCut());
  EXPECT_EQ(reader.Next(), "z\n");
  EXPECT_EQ(reader.Next(), std::nullopt);

  TextLineReader empty("", 200);
  EXPECT_EQ(empty.Next(), std::nullopt);
  TextLineReader tiny("abc", 0);  // no room at all still moves on, one byte a line
  EXPECT_EQ(tiny.Next(), "a");
  EXPECT_EQ(tiny.Next(), "b");
}

}  // namespace
