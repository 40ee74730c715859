#include "RecordingCanvas.h"

namespace {

const char* KindName(DrawOp::Kind kind) {
  switch (kind) {
    case DrawOp::Kind::MoveTo: return "MoveTo";
    case DrawOp::Kind::LineTo: return "LineTo";
    case DrawOp::Kind::Rectangle: return "Rectangle";
    case DrawOp::Kind::FillRect: return "FillRect";
    case DrawOp::Kind::Ellipse: return "Ellipse";
    case DrawOp::Kind::Polygon: return "Polygon";
    case DrawOp::Kind::TextOut: return "TextOut";
  }
  return "?";
}

// Length of the UTF-8 sequence starting at s[i] and its code point; an
// invalid start byte counts as a single character.
size_t NextChar(const std::string& s, size_t i, char32_t& code) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char b = byte(i);
  size_t length = 1;
  if (b >= 0xF0 && b < 0xF8)
    length = 4;
  else if (b >= 0xE0)
    length = 3;
  else if (b >= 0xC0)
    length = 2;
  if (b >= 0xF8 || (b >= 0x80 && b < 0xC0) || i + length > s.size()) {
    code = b;
    return 1;
  }
  code = length == 1 ? b : b & (0x7F >> length);
  for (size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) {
      code = b;
      return 1;
    }
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  return length;
}

bool IsHalfWidth(char32_t code) { return code < 0x80 || (code >= 0xFF61 && code <= 0xFF9F); }

}  // namespace

std::string DrawOp::ToString() const {
  std::string s = KindName(kind);
  for (const Point& p : points) {
    s += ' ';
    s += std::to_string(p.x);
    s += ',';
    s += std::to_string(p.y);
  }
  if (kind == Kind::TextOut) {
    s += ' ';
    s += text;
  }
  return s;
}

void RecordingCanvas::Record(DrawOp::Kind kind, std::vector<Point> points, std::string text) {
  ops_.push_back({kind, std::move(points), std::move(text), pen, brush, font});
}

void RecordingCanvas::MoveTo(int x, int y) {
  position_ = {x, y};
  Record(DrawOp::Kind::MoveTo, {position_});
}

void RecordingCanvas::LineTo(int x, int y) {
  const Point from = position_;
  position_ = {x, y};
  Record(DrawOp::Kind::LineTo, {from, position_});
}

void RecordingCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  Record(DrawOp::Kind::Rectangle, {{x1, y1}, {x2, y2}});
}

void RecordingCanvas::FillRect(int x1, int y1, int x2, int y2) { Record(DrawOp::Kind::FillRect, {{x1, y1}, {x2, y2}}); }

void RecordingCanvas::Ellipse(int x1, int y1, int x2, int y2) { Record(DrawOp::Kind::Ellipse, {{x1, y1}, {x2, y2}}); }

void RecordingCanvas::Polygon(const std::vector<Point>& points) { Record(DrawOp::Kind::Polygon, points); }

void RecordingCanvas::TextOut(int x, int y, const std::string& text) { Record(DrawOp::Kind::TextOut, {{x, y}}, text); }

int RecordingCanvas::CellHeight(int fontSize) { return (fontSize * 96 + 36) / 72; }

TextSize RecordingCanvas::ExtentOf(const std::string& text, int fontSize) {
  const int h = CellHeight(fontSize);
  int width = 0;
  for (size_t i = 0; i < text.size();) {
    char32_t code = 0;
    i += NextChar(text, i, code);
    width += IsHalfWidth(code) ? h / 2 : h;
  }
  return {width, h};
}

TextSize RecordingCanvas::TextExtent(const std::string& text) { return ExtentOf(text, font.size); }

std::vector<std::string> RecordingCanvas::Log() const {
  std::vector<std::string> log;
  for (const DrawOp& op : ops_) log.push_back(op.ToString());
  return log;
}

std::vector<DrawOp> RecordingCanvas::OfKind(DrawOp::Kind kind) const {
  std::vector<DrawOp> found;
  for (const DrawOp& op : ops_) {
    if (op.kind == kind) found.push_back(op);
  }
  return found;
}

std::vector<std::string> RecordingCanvas::Texts() const {
  std::vector<std::string> texts;
  for (const DrawOp& op : ops_) {
    if (op.kind == DrawOp::Kind::TextOut) texts.push_back(op.text);
  }
  return texts;
}
