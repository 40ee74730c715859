#pragma once
// The drawing port on an off-screen QImage (Format_RGB32), drawn with QPainter
// without antialiasing so that pixels are crisp and exact, as on a toolkit
// canvas:
//   - a 1-pixel line covers its start pixel but not its end pixel;
//   - a wider line has square ends reaching half its width past both end
//     points, so frame corners close: a 2-pixel vertical line at x from y1 to
//     y2 covers columns x - 1 and x, rows min(y1, y2) - 1 to max(y1, y2);
//   - dotted pens draw 1 pixel on, 2 off, starting with a dot at each line's
//     start;
//   - rectangles and ellipses span x1 .. x2 - 1 and y1 .. y2 - 1;
//   - the cross-hatched brush draws 1-pixel horizontal and vertical lines in
//     the brush colour every 8 pixels (columns 4 mod 8, rows 3 mod 8 of the
//     image) and leaves the pixels between them as they were;
//   - text is opaque: its cell (TextExtent at the top-left corner) is filled
//     with the brush colour first, solid, unless the brush is clear; glyphs
//     are drawn in the font colour.
// Font sizes are points at 96 DPI, turned into pixel sizes, so rendering does
// not depend on the screen. "ＭＳゴシック" and "MS Pゴシック" resolve to the IPA
// Gothic fonts.
//
// Text needs a QGuiApplication (or QApplication): callers must have created
// one before drawing text or asking for text extents.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>

#include <memory>

#include "platform/Canvas.h"

class QtCanvas : public Canvas {
 public:
  // A white picture of the given size.
  QtCanvas(int width, int height);
  // Draws on another device (an SVG generator, a PDF writer) whose drawing
  // area is width x height in its own units; texts stay texts there. The
  // device is complete once Finish() has returned true.
  QtCanvas(QPaintDevice& device, int width, int height);
  ~QtCanvas() override;

  int Width() const override { return bounds_.width(); }
  int Height() const override { return bounds_.height(); }

  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void FillRect(int x1, int y1, int x2, int y2) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void Polygon(const std::vector<Point>& points) override;
  void TextOut(int x, int y, const std::string& text) override;
  TextSize TextExtent(const std::string& text) override;

  // Ends the drawing on another device; false when the device failed.
  bool Finish();

  // The picture, for saving as PNG and for the clipboard.
  const QImage& image() const { return image_; }
  QImage& image() { return image_; }

  static QColor ToQColor(Colour colour);  // 0x00BBGGRR
  // Maps the Japanese Windows font names to the installed IPA fonts (once).
  static void InstallFontSubstitutions();
  static QFont ToQFont(const Font& font);
  static int PixelSize(int points) { return (points * 96 + 36) / 72; }

 private:
  template <typename Draw>
  void Paint(Draw draw);

  QImage image_;
  std::unique_ptr<QPainter> device_;  // set when drawing on another device
  QRect bounds_;
  Point position_;
};
