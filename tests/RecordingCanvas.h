#pragma once
// A canvas that draws nothing and lists every operation instead, with the pen,
// brush and font in force when it was called, so that tests can assert exact
// operations and pixel positions.
//
// Text metrics are deterministic and do not depend on any installed font:
//   cell height   h = the font size in points at 96 DPI, rounded to the
//                     nearest pixel: (size * 96 + 36) / 72  (9 pt -> 12 px,
//                     10 pt -> 13 px, 12 pt -> 16 px);
//   half-width    characters (ASCII and the half-width katakana U+FF61 to
//                     U+FF9F) are h / 2 pixels wide (integer division);
//   other         characters (full-width: kanji, kana, full-width forms) are
//                     h pixels wide.
//   TextExtent(text) = { sum of the character widths, h }; the empty text
//   has width 0 and height h. Text is UTF-8; a byte that does not start a
//   valid sequence counts as one half-width character.
#include <string>
#include <vector>

#include "platform/Canvas.h"

struct DrawOp {
  enum class Kind { MoveTo, LineTo, Rectangle, FillRect, Ellipse, Polygon, TextOut };
  Kind kind = Kind::MoveTo;
  // MoveTo: the target. LineTo: the pen position before, then the target.
  // Rectangle, FillRect, Ellipse: the two corners as given. Polygon: the
  // vertices. TextOut: the top-left corner.
  std::vector<Point> points;
  std::string text;  // TextOut only
  Pen pen;
  Brush brush;
  Font font;

  // Geometry only, e.g. "MoveTo 50,390", "LineTo 50,390 50,30",
  // "Rectangle 0,0 300,300", "Polygon 1,2 3,4 5,6", "TextOut 45,395 0".
  std::string ToString() const;
};

class RecordingCanvas : public Canvas {
 public:
  RecordingCanvas(int width = 300, int height = 300) : width_(width), height_(height) {}

  int Width() const override { return width_; }
  int Height() const override { return height_; }

  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Rectangle(int x1, int y1, int x2, int y2) override;
  void FillRect(int x1, int y1, int x2, int y2) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void Polygon(const std::vector<Point>& points) override;
  void TextOut(int x, int y, const std::string& text) override;
  TextSize TextExtent(const std::string& text) override;

  // The metrics above, for any font size.
  static int CellHeight(int fontSize);
  static TextSize ExtentOf(const std::string& text, int fontSize);

  const std::vector<DrawOp>& ops() const { return ops_; }
  // ToString of every operation, in order.
  std::vector<std::string> Log() const;
  // The operations of one kind, in order.
  std::vector<DrawOp> OfKind(DrawOp::Kind kind) const;
  // The drawn texts, in order.
  std::vector<std::string> Texts() const;
  // Forgets the operations (the pen position and the state stay).
  void ClearLog() { ops_.clear(); }

  Point penPosition() const { return position_; }

 private:
  void Record(DrawOp::Kind kind, std::vector<Point> points, std::string text = {});

  int width_;
  int height_;
  Point position_;
  std::vector<DrawOp> ops_;
};
