#include "graphics/qt/TitlePictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPixmap>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>

#include "platform/qt/QtCanvas.h"
#include "platform/FixedTexts.h"

namespace {

// The glyph contours of the text, scaled down (never up) to fit the box less a
// margin and centred in it; empty for an empty text.
QPainterPath PlacedText(const QRectF& box, const QString& text, const QFont& font, qreal margin) {
  QPainterPath path;
  path.addText(0, 0, font, text);
  const QRectF bounds = path.boundingRect();
  if (bounds.isEmpty()) return {};
  const QRectF room = box.adjusted(margin, margin, -margin, -margin);
  const qreal scale = std::min({1.0, room.width() / bounds.width(), room.height() / bounds.height()});
  QTransform placement;
  placement.translate(room.center().x(), room.center().y());
  placement.scale(scale, scale);
  placement.translate(-bounds.center().x(), -bounds.center().y());
  return placement.map(path);
}

QFont GothicFont(int pixelSize, bool bold) {
  QtCanvas::InstallFontSubstitutions();
  QFont font(QString::fromUtf8(kGothicFont));
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}

// The seismic trace: a quiet start, a strong burst and a decaying coda, one
// point per column. Whole pixels, so the line is drawn without smoothing.
QPolygon TracePoints() {
  constexpr int kLeft = 3;
  constexpr int kRight = kEmblemSize - 4;
  constexpr int kMiddle = (kEmblemTraceTop + kEmblemTraceBottom) / 2;
  constexpr double kAmplitude = 9.0;
  QPolygon points;
  for (int x = kLeft; x <= kRight; ++x) {
    const double t = x - kLeft;
    double envelope = 0.12;
    if (t >= 12 && t < 20) envelope = 0.12 + 0.88 * (t - 12) / 8.0;
    if (t >= 20) envelope = std::exp(-(t - 20) / 11.0);
    const double wave = 0.8 * std::sin(t * 0.95) + 0.2 * std::sin(t * 2.3 + 0.6);
    points << QPoint(x, kMiddle - static_cast<int>(std::lround(kAmplitude * envelope * wave)));
  }
  return points;
}

}  // namespace

void DrawOutlinedText(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
                      const QColor& colour, qreal penWidth) {
  // Leave room for the pen, so the outermost strokes are not cut off.
  const QPainterPath path = PlacedText(box, text, font, penWidth);
  if (path.isEmpty()) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(QPen(colour, penWidth));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(path);
  painter.restore();
}

void DrawFilledText(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
                    const QColor& colour) {
  const QPainterPath path = PlacedText(box, text, font, 0.0);
  if (path.isEmpty()) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.fillPath(path, colour);
  painter.restore();
}

QColor TitleColour() { return QColor(0, 0, 128); }
QColor EmblemGround() { return QColor(255, 255, 255); }
QColor EmblemFrame() { return QColor(64, 64, 64); }
QColor EmblemName() { return QColor(0, 0, 128); }
QColor EmblemTrace() { return QColor(0, 0, 0); }

QColor EmblemBand(int index) {
  // Sand, silt, clay and gravel over the grey base layer.
  static const std::array<QColor, kEmblemBands + 1> bands = {
      QColor(255, 224, 128), QColor(216, 164, 96), QColor(160, 112, 64), QColor(112, 136, 80), QColor(112, 112, 128)};
  return bands[static_cast<size_t>(std::clamp(index, 0, kEmblemBands))];
}

QImage SystemTitlePicture() {
  QImage picture(kSystemTitleWidth, kSystemTitleHeight, QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  // The small line is filled: outlines of 16-pixel kanji would blur.
  DrawFilledText(painter, QRectF(0, 0, kSystemTitleWidth, kTitleSubtitleHeight),
                 QString::fromUtf8("地盤増幅特性解析システム"), GothicFont(16, true), TitleColour());
  QFont large = GothicFont(46, true);
  large.setLetterSpacing(QFont::AbsoluteSpacing, 8);
  DrawOutlinedText(painter,
                   QRectF(0, kTitleSubtitleHeight, kSystemTitleWidth, kSystemTitleHeight - kTitleSubtitleHeight),
                   QStringLiteral("TOVALK"), large, TitleColour(), 1.5);
  return picture;
}

QImage SystemEmblem() {
  QImage picture(kEmblemSize, kEmblemSize, QImage::Format_ARGB32_Premultiplied);
  picture.fill(EmblemGround());
  QPainter painter(&picture);

  // Soil bands from the trace's band down to the frame; the base takes the
  // rows left below the last soil band.
  const int inner = kEmblemSize - 1;
  for (int band = 0; band <= kEmblemBands; ++band) {
    const int top = kEmblemTraceBottom + band * kEmblemBandHeight;
    const int bottom = band < kEmblemBands ? top + kEmblemBandHeight : inner;
    painter.fillRect(QRect(1, top, kEmblemSize - 2, bottom - top), EmblemBand(band));
  }

  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(EmblemTrace(), 1));
  painter.drawPolyline(TracePoints());

  DrawFilledText(painter, QRectF(2, 1, kEmblemSize - 4, kEmblemNameHeight - 1), QStringLiteral("TOVALK"),
                 GothicFont(14, true), EmblemName());

  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(EmblemFrame(), 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRect(0, 0, kEmblemSize - 1, kEmblemSize - 1));
  return picture;
}

QIcon SystemIcon() { return QIcon(QPixmap::fromImage(SystemEmblem())); }

QImage ProfileTitlePicture() {
  QImage picture(kProfileTitleWidth, kProfileTitleHeight, QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  DrawOutlinedText(painter, QRectF(0, 0, kProfileTitleWidth, kProfileTitleHeight), QString::fromUtf8("地盤地層構成"),
                   GothicFont(30, true), QColor(255, 0, 0));
  return picture;
}
