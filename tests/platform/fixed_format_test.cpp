#include "platform/FixedFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

namespace {

TEST(FormatFixedTest, MatchesPrintfInTheCLocale) {
  const double values[] = {0.0, -0.0, 0.125, 0.375, 2.5, 3.5, -2.5, 0.05f, 2.555f, 150.6f, 1e-7, 123456.789, 3e38,
                           -1.005, 999.9995, 1e20, 0.0049999,
                           // Around 2^52 once scaled, where every double is a whole number.
                           4503599627370496.0, 4.5035996e12f, 4.5035996e13f, 9.9999993e14f, -8.388607e6f};
  for (const double v : values) {
    for (int precision : {0, 2, 3}) {
      for (int width : {0, 6, 8}) {
        char expected[512];
        std::snprintf(expected, sizeof expected, "%*.*f", width, precision, v);
        EXPECT_EQ(FormatFixed(v, precision, width), expected) << v << " " << precision << " " << width;
      }
    }
  }
}

// Float32 values, as the result file prints them, against printf: random
// bit patterns over the whole range, and the values whose last printed digit
// is an exact tie (which printf rounds to even).
TEST(FormatFixedTest, EveryFloat32KindMatchesPrintf) {
  std::mt19937 random(20261209);
  std::vector<float> values;
  for (int i = 0; i < 200000; ++i) {
    const uint32_t bits = random();
    float v;
    std::memcpy(&v, &bits, sizeof v);
    if (std::isfinite(v)) values.push_back(v);
  }
  for (int i = 0; i < 100000; ++i)
    values.push_back(std::ldexp(static_cast<float>(random() % 2000000), -(int)(random() % 24)) - 1000.0f);
  for (int k = -4000; k <= 4000; ++k) values.push_back(k / 16.0f);  // ties at the fourth decimal
  for (const float v : values) {
    for (int precision : {2, 3}) {
      char expected[512];
      std::snprintf(expected, sizeof expected, "%8.*f", precision, static_cast<double>(v));
      ASSERT_EQ(FormatFixed(v, precision, 8), expected) << v << " at " << precision;
    }
  }
  // The result file's own writer of "%8.3f", around its short route's
  // limit too; what it writes beyond the text's end is not part of it.
  for (float v : {9998.9995f, 9999.0f, -9999.0f, 9998.999f, -0.0f, 0.0f, -0.0004f, 0.0005f, 0.0015f, 1e-45f, 999.9995f,
                  999.9994f, 999.9996f, 1000.0f, std::nextafter(1000.0f, 0.0f), 999.0005f, 0.9995f})
    values.push_back(v);
  // The table's range: every whole part from 0 to 9998, with fractions.
  std::uniform_real_distribution<float> table(0.0f, 9999.0f);
  for (int i = 0; i < 200000; ++i) values.push_back(table(random));
  for (int k = 0; k < 9999; ++k) values.push_back(static_cast<float>(k) + 0.9995f);
  for (const float v : values) {
    char expected[512], got[64];
    std::snprintf(expected, sizeof expected, "%8.3f", static_cast<double>(v));
    std::memset(got, '#', sizeof got);
    const char* end = PutFixed8_3(got, v);
    ASSERT_EQ(std::string(got, static_cast<size_t>(end - got)), expected) << v;
  }
}

}  // namespace
