#include "platform/qt/QtCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include <QFontInfo>
#include <QRgb>

#include <string>

namespace {

// The pixels of one image row (or column) as characters: '#' for the colour,
// '.' for white, '?' for anything else.
std::string Row(const QImage& image, int y, int x0, int x1, QRgb colour) {
  std::string s;
  for (int x = x0; x <= x1; ++x) {
    const QRgb p = image.pixel(x, y);
    s += p == colour ? '#' : p == qRgb(255, 255, 255) ? '.' : '?';
  }
  return s;
}

std::string Column(const QImage& image, int x, int y0, int y1, QRgb colour) {
  std::string s;
  for (int y = y0; y <= y1; ++y) {
    const QRgb p = image.pixel(x, y);
    s += p == colour ? '#' : p == qRgb(255, 255, 255) ? '.' : '?';
  }
  return s;
}

const QRgb kBlackRgb = qRgb(0, 0, 0);

TEST(QtCanvas, StartsAsAWhiteRgb32Picture) {
  QtCanvas canvas(441, 209);
  EXPECT_EQ(canvas.Width(), 441);
  EXPECT_EQ(canvas.Height(), 209);
  EXPECT_EQ(canvas.image().format(), QImage::Format_RGB32);
  EXPECT_EQ(canvas.image().pixel(0, 0), qRgb(255, 255, 255));
  EXPECT_EQ(canvas.image().pixel(440, 208), qRgb(255, 255, 255));
}

TEST(QtCanvas, LinesLeaveTheirEndPixelAndWidePensCoverTwoPixels) {
  QtCanvas canvas(40, 40);
  canvas.pen = {0x0000FF, 1, PenStyle::Solid};  // red in the low byte
  const QRgb red = qRgb(255, 0, 0);
  canvas.MoveTo(2, 3);
  canvas.LineTo(10, 3);
  EXPECT_EQ(Row(canvas.image(), 3, 0, 12, red), "..########...");
  EXPECT_EQ(Row(canvas.image(), 2, 0, 12, red), ".............");
  EXPECT_EQ(Row(canvas.image(), 4, 0, 12, red), ".............");

  // A diagonal ends one pixel short as well.
  canvas.MoveTo(20, 20);
  canvas.LineTo(24, 24);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(canvas.image().pixel(20 + i, 20 + i), red) << i;
  EXPECT_EQ(canvas.image().pixel(24, 24), qRgb(255, 255, 255));

  // The frame's 2-pixel vertical edge at x = 30 covers columns 29 and 30,
  // and one pixel beyond both ends, so that frame corners close.
  canvas.pen = {kBlack, 2, PenStyle::Solid};
  canvas.MoveTo(30, 35);
  canvas.LineTo(30, 10);
  EXPECT_EQ(Row(canvas.image(), 20, 27, 32, kBlackRgb), "..##..");
  EXPECT_EQ(Column(canvas.image(), 30, 8, 36, kBlackRgb), ".###########################.");
  EXPECT_EQ(Column(canvas.image(), 29, 8, 36, kBlackRgb), ".###########################.");
  canvas.MoveTo(30, 35);
  canvas.LineTo(38, 35);
  EXPECT_EQ(Row(canvas.image(), 34, 27, 39, kBlackRgb), "..##########.");
  EXPECT_EQ(Row(canvas.image(), 35, 27, 39, kBlackRgb), "..##########.");
  EXPECT_EQ(Row(canvas.image(), 36, 27, 39, kBlackRgb), ".............");
}

TEST(QtCanvas, DottedPensDrawOneOnTwoOff) {
  QtCanvas canvas(40, 10);
  canvas.pen = {kBlack, 1, PenStyle::Dot};
  canvas.MoveTo(1, 5);
  canvas.LineTo(20, 5);
  EXPECT_EQ(Row(canvas.image(), 5, 0, 21, kBlackRgb), ".#..#..#..#..#..#..#..");
}

TEST(QtCanvas, FillsAndRectanglesUseTheBrushWithExclusiveRightAndBottomEdges) {
  QtCanvas canvas(20, 20);
  canvas.brush = {0x00336699, BrushStyle::Solid};
  const QRgb fill = qRgb(0x99, 0x66, 0x33);
  canvas.FillRect(2, 3, 6, 5);
  EXPECT_EQ(Row(canvas.image(), 3, 0, 7, fill), "..####..");
  EXPECT_EQ(Row(canvas.image(), 4, 0, 7, fill), "..####..");
  EXPECT_EQ(Row(canvas.image(), 5, 0, 7, fill), "........");
  EXPECT_EQ(Row(canvas.image(), 2, 0, 7, fill), "........");

  // Outlined with the pen, filled inside, ending before x2 and y2.
  canvas.pen = {kBlack, 1, PenStyle::Solid};
  canvas.Rectangle(10, 10, 15, 14);
  EXPECT_EQ(Row(canvas.image(), 10, 9, 16, kBlackRgb), ".#####..");
  EXPECT_EQ(Row(canvas.image(), 11, 9, 16, fill), ".?###?..");
  EXPECT_EQ(Row(canvas.image(), 11, 9, 16, kBlackRgb), ".#???#..");
  EXPECT_EQ(Row(canvas.image(), 13, 9, 16, kBlackRgb), ".#####..");
  EXPECT_EQ(Row(canvas.image(), 14, 9, 16, kBlackRgb), "........");

  // A clear brush fills nothing.
  canvas.brush.style = BrushStyle::Clear;
  canvas.FillRect(0, 0, 20, 20);
  EXPECT_EQ(canvas.image().pixel(0, 0), qRgb(255, 255, 255));
}

TEST(QtCanvas, CrossHatchDrawsAGridOfLinesOverWhatIsThere) {
  QtCanvas canvas(24, 24);
  canvas.brush = {0x00C0C0C0, BrushStyle::Solid};
  canvas.FillRect(0, 0, 24, 24);
  const QRgb grey = qRgb(0xC0, 0xC0, 0xC0);
  canvas.brush = {0x00FF0000, BrushStyle::Cross};  // blue
  const QRgb blue = qRgb(0, 0, 255);
  canvas.FillRect(0, 0, 20, 20);
  for (int y = 0; y < 24; ++y) {
    std::string expected;
    for (int x = 0; x < 24; ++x) {
      const bool inside = x < 20 && y < 20;
      expected += inside && (x % 8 == 4 || y % 8 == 3) ? 'b' : 'g';
    }
    std::string actual;
    for (int x = 0; x < 24; ++x) {
      const QRgb p = canvas.image().pixel(x, y);
      actual += p == blue ? 'b' : p == grey ? 'g' : '?';
    }
    EXPECT_EQ(actual, expected) << "row " << y;
  }
}

TEST(QtCanvas, TextIsOpaqueUnlessTheBrushIsClear) {
  QtCanvas canvas(120, 40);
  canvas.font = {"ＭＳゴシック", 9, 0x000000FF, false};
  const QRgb red = qRgb(255, 0, 0);
  const QRgb yellow = qRgb(255, 255, 0);
  canvas.brush = {0x0000FFFF, BrushStyle::Solid};
  const TextSize size = canvas.TextExtent("1.25");
  ASSERT_GT(size.width, 0);
  ASSERT_GT(size.height, 0);
  canvas.TextOut(10, 5, "1.25");
  int glyph = 0;
  for (int y = 5; y < 5 + size.height; ++y) {
    for (int x = 10; x < 10 + size.width; ++x) {
      const QRgb p = canvas.image().pixel(x, y);
      ASSERT_TRUE(p == yellow || p == red) << x << "," << y;
      glyph += p == red;
    }
  }
  EXPECT_GT(glyph, 10);
  EXPECT_EQ(canvas.image().pixel(9, 5), qRgb(255, 255, 255));
  EXPECT_EQ(canvas.image().pixel(10 + size.width, 5), qRgb(255, 255, 255));
  EXPECT_EQ(canvas.image().pixel(10, 5 + size.height), qRgb(255, 255, 255));

  canvas.brush.style = BrushStyle::Clear;
  canvas.TextOut(60, 5, "1.25");
  int white = 0;
  for (int y = 5; y < 5 + size.height; ++y) {
    for (int x = 60; x < 60 + size.width; ++x) {
      const QRgb p = canvas.image().pixel(x, y);
      ASSERT_TRUE(p == qRgb(255, 255, 255) || p == red) << x << "," << y;
      white += p != red;
    }
  }
  EXPECT_GT(white, 10);
}

TEST(QtCanvas, JapaneseFontNamesResolveToTheIpaGothicFonts) {
  QtCanvas canvas(10, 10);
  EXPECT_EQ(QFontInfo(QtCanvas::ToQFont({"ＭＳゴシック", 9})).family(), "IPAGothic");
  EXPECT_EQ(QFontInfo(QtCanvas::ToQFont({"MS Pゴシック", 10})).family(), "IPAPGothic");
  EXPECT_EQ(QtCanvas::ToQFont({"ＭＳゴシック", 9}).pixelSize(), 12);
  EXPECT_EQ(QtCanvas::ToQFont({"MS Pゴシック", 10}).pixelSize(), 13);
  // The fixed-pitch gothic: a full-width character is two half-width ones.
  canvas.font = {"ＭＳゴシック", 12};
  const TextSize kanji = canvas.TextExtent("増幅率");
  const TextSize ascii = canvas.TextExtent("abcdef");
  EXPECT_EQ(kanji.width, ascii.width);
  EXPECT_EQ(kanji.width, 3 * 16);
}

TEST(QtCanvas, TextCellsKeepTheNamedFontsHeightAndInkStaysInside) {
  // The substitute IPA fonts stand a pixel or more taller than the fonts
  // the pictures are laid out for; the cells do not.
  QtCanvas canvas(200, 60);
  for (const auto& [size, height] : {std::pair(9, 12), std::pair(12, 16)}) {
    canvas.font = {"ＭＳゴシック", size};
    EXPECT_EQ(canvas.TextExtent("周期 (s)").height, height) << size;
    canvas.font = {"MS Pゴシック", size};
    EXPECT_EQ(canvas.TextExtent("周期 (s)").height, height) << size;
  }
  // Ink and box of a clear-brush text lie within its 12 rows, and its lower
  // part is drawn too (the descending parentheses reach the cell's last rows).
  canvas.font = {"ＭＳゴシック", 9, 0x00000000, false};
  canvas.brush.style = BrushStyle::Clear;
  canvas.TextOut(10, 20, "周期 (s)");
  int top = 60, bottom = -1;
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 200; ++x) {
      if (canvas.image().pixel(x, y) != qRgb(255, 255, 255)) {
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
  }
  EXPECT_GE(top, 20);
  EXPECT_LE(bottom, 31);
  EXPECT_GE(bottom, 29);
}

TEST(QtCanvas, FarAwayCoordinatesAreClippedNotOverflowed) {
  QtCanvas canvas(20, 20);
  canvas.pen = {kBlack, 1, PenStyle::Solid};
  canvas.MoveTo(5, 10);
  canvas.LineTo(1000000000, 10);
  EXPECT_EQ(Row(canvas.image(), 10, 3, 19, kBlackRgb), "..###############");
  canvas.pen.width = 2;
  canvas.MoveTo(-1000000000, -1000000000);
  canvas.LineTo(1000000000, 1000000000);
  EXPECT_EQ(canvas.image().pixel(12, 12), kBlackRgb);
  canvas.Ellipse(-1000000000, 0, -999999990, 10);
  canvas.Polygon({{0, 0}, {1000000000, 5}, {0, 10}});
  EXPECT_EQ(canvas.image().pixel(2, 5), qRgb(255, 255, 255));
}

}  // namespace
