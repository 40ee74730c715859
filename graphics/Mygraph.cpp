#include "graphics/Mygraph.h"

#include <cfloat>
#include <cmath>

#include "analysis/AmplificationResult.h"
#include "platform/Printf.h"

namespace {

// The value at main grid line r: start + r·step on a linear axis,
// start·ratio^r on a logarithmic one; as float32, as the label shows it.
float GridLineValue(bool linear, float start, float step, int r) {
  return linear ? static_cast<float>(static_cast<double>(step) * r + start)
                : static_cast<float>(start * std::pow(static_cast<double>(step), r));
}

// Pixels are truncated toward zero. A pixel farther than this from the
// picture is held at it, so that an absurd value cannot overflow the integer
// (the point is off the picture either way).
constexpr double kPixelLimit = 1e9;

bool ToPixel(double p, int& pixel) {
  if (!std::isfinite(p)) return false;
  if (p > kPixelLimit) p = kPixelLimit;
  if (p < -kPixelLimit) p = -kPixelLimit;
  pixel = static_cast<int>(p);
  return true;
}

// The largest of 0 and the values; a sample without a value never counts.
float LargestValue(int n, const float* values) {
  float m = 0.0f;
  for (int i = 0; i < n; ++i) {
    if (values[i] > m) m = values[i];
  }
  return m;
}

// The unit u steps up by a float32 multiplication, so it is not exactly a
// power of ten; the labels hide that.
float TenTimes(float u) { return static_cast<float>(static_cast<double>(u) * 10.0); }

void ScaleUnit(int n, const float* values, int nGrid, bool linear, float& start, float& step) {
  if (nGrid < 1) return;
  const float m = values ? LargestValue(n, values) : 0.0f;
  float u = 1e-10f;
  if (linear) {
    for (;;) {
      for (const double s : {1.0, 2.0, 2.5, 5.0}) {
        // The 0.001 lets a maximum on the top grid line use that scale.
        if (nGrid * (s + 0.001) * u > m) {
          const double v = s * u;
          if (v > FLT_MAX) return;  // no finite scale: keep the old one
          start = 0.0f;
          step = static_cast<float>(v);
          return;
        }
      }
      u = TenTimes(u);
      if (std::isinf(u)) return;  // an infinite maximum: keep the old scale
    }
  }
  while (m >= u) {
    u = TenTimes(u);
    if (std::isinf(u)) return;
  }
  start = static_cast<float>(u / std::pow(10.0, nGrid));
  step = 10.0f;
}

}  // namespace

TMyGraph::TMyGraph(Canvas& canvas, ClipboardPort* clipboard) : canvas_(canvas), clipboard_(clipboard) {}

std::string TMyGraph::_round_number(float value) {
  if (value == 0.0f) return "0";
  const float a = std::fabs(value);
  if (a < 0.0001 || a > 10000) return std::string(value > 0 ? "" : "-") + Printf("%.1e", static_cast<double>(a));
  std::string s = Printf("%.2f", static_cast<double>(a));
  if (s.back() == '9') s = Printf("%.2f", static_cast<double>(a) + 0.01);
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  if (value < 0) s.insert(s.begin(), '-');
  return s;
}

FrameDrawing TMyGraph::DrawWaku() {
  Canvas& c = canvas_;
  // Labels and titles are opaque: their cells cover the grid with white.
  c.brush.colour = kWhite;
  c.brush.style = BrushStyle::Solid;
  if (!OverWrite) c.FillRect(0, 0, Width(), Height());

  // A logarithmic axis cannot start at 0. The drawing is abandoned and the
  // caller tells the user; the program goes on.
  FrameDrawing drawing;
  if (!LinearX && SValueX == 0.0f) {
    drawing.problems.push_back(
        {"X Logarithmic Scale can not be determind.", "X Scale Error", MessageIcon::None, MessageButtons::Ok});
  }
  if (!LinearY && SValueY == 0.0f) {
    drawing.problems.push_back(
        {"Y Logarithmic Scale can not be determind.", "Y Scale Error", MessageIcon::None, MessageButtons::Ok});
  }
  textBoxes_.clear();
  if (!drawing.problems.empty() || NGridX < 1 || NGridY < 1) return drawing;

  const int dx = WidthX / NGridX;
  const int dy = HeightY / NGridY;
  const int right = OriginX + NGridX * dx;
  const int top = OriginY - NGridY * dy;

  for (int r = 0; r <= NGridX; ++r) {
    const int xr = OriginX + r * dx;
    c.pen.colour = kBlack;
    c.pen.style = PenStyle::Solid;
    c.pen.width = (r == 0 || r == NGridX) ? 2 : 1;
    c.MoveTo(xr, OriginY);
    c.LineTo(xr, top);
    c.pen.width = 1;

    const std::string label = _round_number(GridLineValue(LinearX, SValueX, VValueX, r));
    const TextBox box = TextBoxAt(c, xr - c.TextWidth(label) / 2, OriginY + 5, label);
    if (!FirstOverlap(box, textBoxes_)) {
      c.TextOut(box.left, box.top, label);
      textBoxes_.push_back(box);
    }

    c.pen.style = PenStyle::Dot;
    if (r == NGridX) continue;
    const int minor = LinearX ? SubX - 1 : 4;
    for (int j = 1; j <= minor; ++j) {
      const int xj = LinearX ? j * dx / SubX + xr : static_cast<int>(std::log10(2.0 * j) * dx + xr);
      if (SubAxis) {
        c.MoveTo(xj, OriginY);
        c.LineTo(xj, top);
      } else {
        c.pen.style = PenStyle::Solid;
        c.MoveTo(xj, OriginY);
        c.LineTo(xj, OriginY - 7);
      }
    }
  }

  for (int r = 0; r <= NGridY; ++r) {
    const int yr = OriginY - r * dy;
    c.pen.style = PenStyle::Solid;
    c.pen.width = (r == 0 || r == NGridY) ? 2 : 1;
    c.MoveTo(OriginX, yr);
    c.LineTo(right, yr);
    c.pen.width = 1;

    const std::string label = _round_number(GridLineValue(LinearY, SValueY, VValueY, r));
    const TextSize size = c.TextExtent(label);
    const int x = LeftScale ? OriginX - 10 - size.width : OriginX + WidthX + 5;
    TextBox box = TextBoxAt(c, x, yr - size.height / 2, label);
    // At the corner a wide first x label reaches under the lowest y label.
    if (const TextBox* below = FirstOverlap(box, textBoxes_)) box = Moved(box, 0, below->top - box.bottom);
    if (!FirstOverlap(box, textBoxes_)) {
      c.TextOut(box.left, box.top, label);
      textBoxes_.push_back(box);
    }

    c.pen.style = PenStyle::Dot;
    if (r == NGridY) continue;
    const int minor = LinearY ? SubY - 1 : 4;
    for (int j = 1; j <= minor; ++j) {
      const int yj = LinearY ? yr - j * dy / SubY : static_cast<int>(yr - std::log10(2.0 * j) * dy);
      if (SubAxis) {
        c.MoveTo(OriginX, yj);
        c.LineTo(right, yj);
      } else {
        c.pen.style = PenStyle::Solid;
        c.MoveTo(OriginX, yj);
        c.LineTo(OriginX + 7, yj);
      }
    }
  }

  const int hA = c.TextHeight("A");
  TextBox titleX =
      TextBoxAt(c, OriginX + WidthX / 2 - c.TextWidth(TitleX) / 2, static_cast<int>(OriginY + 1.4 * hA), TitleX);
  // A small font leaves less than a line between the labels' row and the
  // title's: the title goes down below the labels.
  while (const TextBox* label = FirstOverlap(titleX, textBoxes_)) titleX = Moved(titleX, 0, label->bottom - titleX.top);
  c.TextOut(titleX.left, titleX.top, TitleX);
  textBoxes_.push_back(titleX);
  const TextBox titleY = TitleYBox();
  c.TextOut(titleY.left, titleY.top, TitleY);
  textBoxes_.push_back(titleY);
  c.pen.style = PenStyle::Solid;
  drawing.drawn = true;
  return drawing;
}

TextBox TMyGraph::TitleYBox() {
  Canvas& c = canvas_;
  const int y = static_cast<int>(OriginY - HeightY - 1.3 * c.TextHeight("A"));
  const int x = LeftScale ? OriginX + 10 : OriginX + WidthX - c.TextWidth(TitleY) - 5;
  return TextBoxAt(c, x, y, TitleY);
}

bool TMyGraph::MapX(float x, int& px) const {
  if (NGridX < 1 || IsNoValue(x)) return false;
  const int dx = WidthX / NGridX;
  if (LinearX) return ToPixel((static_cast<double>(x) - SValueX) / VValueX * dx + OriginX, px);
  if (!(x > 0.0f) || SValueX == 0.0f) return false;
  return ToPixel(std::log10(static_cast<double>(x) / SValueX) / std::log10(static_cast<double>(VValueX)) * dx + OriginX,
                 px);
}

bool TMyGraph::MapY(float y, int& py) const {
  if (NGridY < 1 || IsNoValue(y)) return false;
  const int dy = HeightY / NGridY;
  if (LinearY) return ToPixel(OriginY - (static_cast<double>(y) - SValueY) / VValueY * dy, py);
  if (!(y > 0.0f) || SValueY == 0.0f) return false;
  return ToPixel(OriginY - std::log10(static_cast<double>(y) / SValueY) / std::log10(static_cast<double>(VValueY)) * dy,
                 py);
}

void TMyGraph::DrawGraph(int n, const float* x, const float* y) {
  if (!x || !y) return;
  bool first = true;  // the next drawn point is a move
  for (int i = 0; i < n; ++i) {
    // A sample without a value is a gap in the curve, not a point to bridge.
    if (IsNoValue(x[i]) || IsNoValue(y[i])) {
      first = true;
      continue;
    }
    int px = 0;
    int py = 0;
    if (!MapX(x[i], px) || !MapY(y[i], py)) continue;
    if (first) {
      canvas_.MoveTo(px, py);
      first = false;
    } else {
      canvas_.LineTo(px, py);
    }
  }
}

void TMyGraph::PlotGraph(int n, const float* x, const float* y, int mark, int size) {
  if (!x || !y) return;
  Canvas& c = canvas_;
  const int s = size;
  for (int i = 0; i < n; ++i) {
    int px = 0;
    int py = 0;
    if (!MapX(x[i], px)) continue;
    if (px > OriginX + WidthX) return;  // the data are in ascending x
    if (!MapY(y[i], py)) continue;
    switch (mark) {
      case 0: c.Ellipse(px - s, py - s, px + s, py + s); break;
      case 1: {
        const int ty = static_cast<int>(py + 0.5 * s);
        c.Polygon({{px, py - s}, {px - s, ty}, {px + s, ty}});
        c.MoveTo(px, py - s);
        c.LineTo(px - s, ty);
        c.LineTo(px + s, ty);
        c.LineTo(px, py - s);
        break;
      }
      case 2:
        c.FillRect(px - s, py - s, px + s, py + s);
        c.MoveTo(px - s, py - s);
        c.LineTo(px - s, py + s);
        c.LineTo(px + s, py + s);
        c.LineTo(px + s, py - s);
        c.LineTo(px - s, py - s);
        break;
      case 3:
        c.Polygon({{px, py - s}, {px - s, py}, {px, py + s}, {px + s, py}});
        c.MoveTo(px, py - s);
        c.LineTo(px - s, py);
        c.LineTo(px, py + s);
        c.LineTo(px + s, py);
        c.LineTo(px, py - s);
        break;
      case 4:
        c.MoveTo(px - s, py - s);
        c.LineTo(px + s, py + s);
        c.MoveTo(px + s, py - s);
        c.LineTo(px - s, py + s);
        break;
      case 5:
        c.MoveTo(px, py - s);
        c.LineTo(px, py + s);
        c.MoveTo(px + s, py);
        c.LineTo(px - s, py);
        break;
      default: break;
    }
  }
}

void TMyGraph::Clear(Colour colour) {
  // A fill needs a solid brush, whatever the owner left.
  canvas_.brush.colour = colour;
  canvas_.brush.style = BrushStyle::Solid;
  canvas_.FillRect(0, 0, Width(), Height());
}

void TMyGraph::XScaleUnit(int n, const float* values) { ScaleUnit(n, values, NGridX, LinearX, SValueX, VValueX); }

void TMyGraph::YScaleUnit(int n, const float* values) { ScaleUnit(n, values, NGridY, LinearY, SValueY, VValueY); }

bool TMyGraph::Copy() {
  if (!clipboard_) return false;
  clipboard_->SetPicture(canvas_);
  return true;
}
