#include "platform/qt/QtCanvas.h"

#include <QBrush>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {

// The raster engine works in fixed point; coordinates far beyond the picture
// are clipped before they reach it.
constexpr double kCoordinateLimit = 32767.0;

// A 1-pixel line stops short of its end pixel; a wider line has square ends
// reaching half its width past both end points, as the toolkit's wide pens
// have, so that the corners of a frame close.
QPen ToQPen(const Pen& pen) {
  const int width = std::max(pen.width, 1);
  return QPen(QtCanvas::ToQColor(pen.colour), width, pen.style == PenStyle::Dot ? Qt::DotLine : Qt::SolidLine,
              width > 1 ? Qt::SquareCap : Qt::FlatCap, Qt::MiterJoin);
}

QBrush ToQBrush(const Brush& brush) {
  switch (brush.style) {
    case BrushStyle::Solid: return QBrush(QtCanvas::ToQColor(brush.colour), Qt::SolidPattern);
    case BrushStyle::Cross: return QBrush(QtCanvas::ToQColor(brush.colour), Qt::CrossPattern);
    case BrushStyle::Clear: break;
  }
  return QBrush(Qt::NoBrush);
}

// The rectangle x1 .. x2 - 1, y1 .. y2 - 1 with the corners in any order.
QRect Span(int x1, int y1, int x2, int y2) {
  return QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2) - 1, std::max(y1, y2) - 1));
}

// Clips the segment to the square of half-size kCoordinateLimit (Liang-Barsky);
// false if nothing of it is left.
bool ClipSegment(double& x1, double& y1, double& x2, double& y2) {
  double t0 = 0.0;
  double t1 = 1.0;
  const double dx = x2 - x1;
  const double dy = y2 - y1;
  const double p[] = {-dx, dx, -dy, dy};
  const double q[] = {x1 + kCoordinateLimit, kCoordinateLimit - x1, y1 + kCoordinateLimit, kCoordinateLimit - y1};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0.0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
    if (t0 > t1) return false;
  }
  const double ox = x1;
  const double oy = y1;
  x1 = ox + t0 * dx;
  y1 = oy + t0 * dy;
  x2 = ox + t1 * dx;
  y2 = oy + t1 * dy;
  return true;
}

}  // namespace

QtCanvas::QtCanvas(int width, int height) : image_(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32) {
  image_.fill(Qt::white);
  bounds_ = image_.rect();
  InstallFontSubstitutions();
}

QtCanvas::QtCanvas(QPaintDevice& device, int width, int height)
    : device_(std::make_unique<QPainter>(&device)), bounds_(0, 0, std::max(width, 1), std::max(height, 1)) {
  InstallFontSubstitutions();
  device_->fillRect(bounds_, Qt::white);
}

QtCanvas::~QtCanvas() = default;

bool QtCanvas::Finish() { return device_ && device_->isActive() && device_->end(); }

// One painter per operation on the image, as the pixel rules above are
// stated; on another device its one painter, with the state of each
// operation kept to that operation.
template <typename Draw>
void QtCanvas::Paint(Draw draw) {
  if (device_) {
    if (!device_->isActive()) return;
    device_->save();
    draw(*device_);
    device_->restore();
    return;
  }
  QPainter p(&image_);
  draw(p);
}

QColor QtCanvas::ToQColor(Colour colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

void QtCanvas::InstallFontSubstitutions() {
  static std::once_flag once;
  std::call_once(once, [] {
    const QStringList gothic = {QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック")};
    const QStringList pGothic = {QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック")};
    QFont::insertSubstitutions(QStringLiteral("ＭＳゴシック"), gothic);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), gothic);
    QFont::insertSubstitutions(QStringLiteral("MS ゴシック"), gothic);
    QFont::insertSubstitutions(QStringLiteral("MS Pゴシック"), pGothic);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), pGothic);
  });
}

QFont QtCanvas::ToQFont(const Font& font) {
  QFont q(QString::fromStdString(font.name));
  q.setPixelSize(std::max(PixelSize(font.size), 1));
  q.setBold(font.bold);
  // Crisp glyphs, the same on every machine.
  q.setStyleStrategy(QFont::NoAntialias);
  q.setHintingPreference(QFont::PreferFullHinting);
  return q;
}

void QtCanvas::MoveTo(int x, int y) { position_ = {x, y}; }

void QtCanvas::LineTo(int x, int y) {
  const Point from = position_;
  position_ = {x, y};
  const bool inRange = std::abs(from.x) <= kCoordinateLimit && std::abs(from.y) <= kCoordinateLimit &&
                       std::abs(x) <= kCoordinateLimit && std::abs(y) <= kCoordinateLimit;
  double x1 = from.x, y1 = from.y, x2 = x, y2 = y;
  if (!inRange && !ClipSegment(x1, y1, x2, y2)) return;
  Paint([&](QPainter& p) {
    p.setPen(ToQPen(pen));
    if (inRange) {
      p.drawLine(QPoint(from.x, from.y), QPoint(x, y));
    } else {
      p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
    }
  });
}

void QtCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  const QRect r = Span(x1, y1, x2, y2);
  if (!r.isValid() || !r.intersects(bounds_.adjusted(-64, -64, 64, 64))) return;
  Paint([&](QPainter& p) {
    p.setPen(ToQPen(pen));
    p.setBrush(ToQBrush(brush));
    // A pen-outlined rectangle covers one pixel beyond its width: draw it one
    // smaller so the right and bottom edges stay exclusive.
    p.drawRect(r.adjusted(0, 0, -1, -1));
  });
}

void QtCanvas::FillRect(int x1, int y1, int x2, int y2) {
  if (brush.style == BrushStyle::Clear) return;
  const QRect r = Span(x1, y1, x2, y2).intersected(bounds_);
  if (r.isEmpty()) return;
  Paint([&](QPainter& p) { p.fillRect(r, ToQBrush(brush)); });
}

void QtCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  const QRect r = Span(x1, y1, x2, y2);
  if (!r.isValid() || !r.intersects(bounds_.adjusted(-64, -64, 64, 64))) return;
  Paint([&](QPainter& p) {
    p.setPen(ToQPen(pen));
    p.setBrush(ToQBrush(brush));
    p.drawEllipse(r.adjusted(0, 0, -1, -1));
  });
}

void QtCanvas::Polygon(const std::vector<Point>& points) {
  if (points.empty()) return;
  QPolygon polygon;
  for (const Point& pt : points) polygon << QPoint(pt.x, pt.y);
  if (!polygon.boundingRect().intersects(bounds_.adjusted(-64, -64, 64, 64))) return;
  for (const Point& pt : points) {
    if (std::abs(pt.x) > kCoordinateLimit || std::abs(pt.y) > kCoordinateLimit) return;
  }
  Paint([&](QPainter& p) {
    p.setPen(ToQPen(pen));
    p.setBrush(ToQBrush(brush));
    p.drawPolygon(polygon);
  });
}

namespace {

// The pictures are laid out for the cells of the fonts they name: a line of
// "ＭＳゴシック" or "MS Pゴシック" is exactly its pixel size high, 0.859 of it
// above the baseline. The substitute fonts stand taller (IPA Gothic: 13 px
// at 12), which would push titles off the picture and text boxes across the
// lines beside them, so the cells keep the named fonts' measures.
int CellHeight(const QFont& font) { return font.pixelSize(); }
int CellAscent(const QFont& font) { return (font.pixelSize() * 859 + 500) / 1000; }

}  // namespace

void QtCanvas::TextOut(int x, int y, const std::string& text) {
  QFont qfont = ToQFont(font);
  // A vector file names the font actually used, not the Windows name that
  // only this program's substitutions resolve.
  if (device_) qfont.setFamily(QFontInfo(qfont).family());
  const QFontMetrics metrics(qfont);
  const QString qtext = QString::fromStdString(text);
  const QRect cell(x, y, metrics.horizontalAdvance(qtext), CellHeight(qfont));
  if (!cell.intersects(bounds_)) return;
  Paint([&](QPainter& p) {
    if (brush.style != BrushStyle::Clear) p.fillRect(cell, ToQColor(brush.colour));
    p.setClipRect(cell);
    p.setFont(qfont);
    p.setPen(ToQColor(font.colour));
    p.drawText(QPoint(x, y + CellAscent(qfont)), qtext);
  });
}

TextSize QtCanvas::TextExtent(const std::string& text) {
  const QFont qfont = ToQFont(font);
  const QFontMetrics metrics(qfont);
  return {metrics.horizontalAdvance(QString::fromStdString(text)), CellHeight(qfont)};
}
