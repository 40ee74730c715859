#include "graphics/qt/TitlePictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QTransform>

#include <algorithm>

#include "graphics/qt/QtCanvas.h"

void DrawOutlinedText(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
                      const QColor& colour, qreal penWidth) {
  QPainterPath path;
  path.addText(0, 0, font, text);
  const QRectF bounds = path.boundingRect();
  if (bounds.isEmpty()) return;
  // Leave room for the pen, so the outermost strokes are not cut off.
  const QRectF room = box.adjusted(penWidth, penWidth, -penWidth, -penWidth);
  const qreal scale = std::min({1.0, room.width() / bounds.width(), room.height() / bounds.height()});
  QTransform placement;
  placement.translate(room.center().x(), room.center().y());
  placement.scale(scale, scale);
  placement.translate(-bounds.center().x(), -bounds.center().y());

  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(QPen(colour, penWidth));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(placement.map(path));
  painter.restore();
}

QImage ProfileTitlePicture() {
  QtCanvas::InstallFontSubstitutions();
  QImage picture(kProfileTitleWidth, kProfileTitleHeight, QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::transparent);
  QFont font(QString::fromUtf8("ＭＳゴシック"));
  font.setPixelSize(30);
  font.setBold(true);
  QPainter painter(&picture);
  DrawOutlinedText(painter, QRectF(0, 0, kProfileTitleWidth, kProfileTitleHeight), QString::fromUtf8("地盤地層構成"),
                   font, QColor(255, 0, 0));
  return picture;
}
