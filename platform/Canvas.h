#pragma once
// The drawing port every picture is drawn through: the chart, the stratum
// diagram and the previews. The Qt canvas renders it on an image; the
// recording canvas lists the operations for the tests.
//
// The canvas keeps the pen, brush and font as plain state, as a toolkit canvas
// does; each drawing operation uses the state in force when it is called.
#include <cstdint>
#include <string>
#include <vector>

using Colour = uint32_t;  // 0x00BBGGRR: red in the low byte

inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kWhite = 0xFFFFFF;

enum class PenStyle { Solid, Dot };
enum class BrushStyle { Solid, Clear, Cross };

struct Pen {
  Colour colour = kBlack;
  int width = 1;
  PenStyle style = PenStyle::Solid;
  bool operator==(const Pen&) const = default;
};

struct Brush {
  Colour colour = kWhite;
  BrushStyle style = BrushStyle::Solid;
  bool operator==(const Brush&) const = default;
};

struct Font {
  std::string name = "ＭＳゴシック";
  int size = 9;  // points
  Colour colour = kBlack;
  bool bold = false;
  bool operator==(const Font&) const = default;
};

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

struct TextSize {
  int width = 0;
  int height = 0;
  bool operator==(const TextSize&) const = default;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual int Width() const = 0;
  virtual int Height() const = 0;

  Pen pen;
  Brush brush;
  Font font;

  // Lines: the pen position moves to the end point; the end pixel itself is
  // not drawn, as on the toolkit canvas.
  virtual void MoveTo(int x, int y) = 0;
  virtual void LineTo(int x, int y) = 0;
  // Filled with the brush and outlined with the pen; right and bottom edges
  // exclusive.
  virtual void Rectangle(int x1, int y1, int x2, int y2) = 0;
  // Filled with the brush, no outline. A clear brush fills nothing.
  virtual void FillRect(int x1, int y1, int x2, int y2) = 0;
  // Inscribed in the rectangle (right and bottom edges exclusive), filled with
  // the brush and outlined with the pen.
  virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
  // Closed, filled with the brush and outlined with the pen.
  virtual void Polygon(const std::vector<Point>& points) = 0;
  // Text with its top-left corner at (x, y), drawn opaque: the text cell is
  // filled with the brush colour first (unless the brush is clear).
  virtual void TextOut(int x, int y, const std::string& text) = 0;
  virtual TextSize TextExtent(const std::string& text) = 0;

  int TextWidth(const std::string& text) { return TextExtent(text).width; }
  int TextHeight(const std::string& text) { return TextExtent(text).height; }
};
