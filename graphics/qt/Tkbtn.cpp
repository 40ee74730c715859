#include "graphics/qt/Tkbtn.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {

// A rectangle as the panel's drawing keeps it: right and bottom exclusive.
struct Box {
  int left, top, right, bottom;
};

void Pixels(QPainter& painter, int x, int y, int width, int height, const QColor& colour) {
  if (width > 0 && height > 0) painter.fillRect(QRect(x, y, width, height), colour);
}

// A 3-D frame `width` pixels deep, drawn ring by ring from the outside in: the
// top and left edges in `topColour`, the right and bottom edges in
// `bottomColour`, which also takes the top-right and bottom-left corners (the
// polyline rule of the toolkit's panels). The box shrinks inside the frame.
void Frame3D(QPainter& painter, Box& box, const QColor& topColour, const QColor& bottomColour, int width) {
  int left = box.left, top = box.top, right = box.right - 1, bottom = box.bottom - 1;
  for (; width > 0; --width) {
    if (right < left || bottom < top) break;
    Pixels(painter, left, top, 1, bottom - top, topColour);            // left edge, without its foot
    Pixels(painter, left, top, right - left, 1, topColour);            // top edge, without its right end
    Pixels(painter, right, top, 1, bottom - top, bottomColour);        // right edge, without its foot
    Pixels(painter, left, bottom, right - left + 1, 1, bottomColour);  // bottom edge, both corners
    ++left, ++top, --right, --bottom;
  }
  box = {left, top, right + 1, bottom + 1};
}

}  // namespace

TTkBtn::TTkBtn(QWidget* parent) : QWidget(parent), color_(palette().color(QPalette::Button)) {
  resize(kDefaultWidth, kDefaultHeight);
}

void TTkBtn::Set_Picture(const QImage& picture) {
  pictureImg_ = picture;
  update();
}

void TTkBtn::SetCaption(const QString& caption) {
  caption_ = caption;
  update();
}

void TTkBtn::SetAlignment(TAlignment alignment) {
  alignment_ = alignment;
  update();
}

void TTkBtn::SetBevelOuter(TPanelBevel bevel) {
  bevelOuter_ = bevel;
  update();
}

void TTkBtn::SetBevelInner(TPanelBevel bevel) {
  bevelInner_ = bevel;
  update();
}

void TTkBtn::SetBevelWidth(int width) {
  bevelWidth_ = std::max(width, 1);
  update();
}

void TTkBtn::SetBorderWidth(int width) {
  borderWidth_ = std::max(width, 0);
  update();
}

void TTkBtn::SetColor(const QColor& colour) {
  color_ = colour;
  update();
}

void TTkBtn::SetFontColor(const QColor& colour) {
  fontColor_ = colour;
  update();
}

void TTkBtn::Paint(QPainter& painter) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  const QColor highlight = palette().color(QPalette::Light);
  const QColor shadow = palette().color(QPalette::Dark);
  const auto bevelFrame = [&](Box& box, TPanelBevel bevel) {
    if (bevel == TPanelBevel::bvNone) return;
    const bool lowered = bevel == TPanelBevel::bvLowered;
    Frame3D(painter, box, lowered ? shadow : highlight, lowered ? highlight : shadow, bevelWidth_);
  };

  Box r{0, 0, width(), height()};
  const bool picture = !pictureImg_.isNull();
  if (picture) painter.drawImage(QRect(0, 0, width(), height()), pictureImg_);
  bevelFrame(r, bevelOuter_);
  Frame3D(painter, r, color_, color_, borderWidth_);
  bevelFrame(r, bevelInner_);
  // A plain panel fills its face; over a picture only the frames are drawn.
  if (!picture) Pixels(painter, r.left, r.top, r.right - r.left, r.bottom - r.top, color_);

  // The caption in one line of the height of "W", centred vertically in what
  // the frames leave; no background box, so the picture shows around it.
  painter.setFont(font());
  painter.setPen(fontColor_);
  painter.setBrush(Qt::NoBrush);
  // The height of "W" is the font's line height, whatever the letter.
  const int th = QFontMetrics(font()).height();
  r.top = (r.top + r.bottom - th) / 2;
  r.bottom = r.top + th;
  int align = Qt::AlignHCenter;
  if (alignment_ == TAlignment::taLeftJustify) align = Qt::AlignLeft;
  if (alignment_ == TAlignment::taRightJustify) align = Qt::AlignRight;
  painter.drawText(QRect(r.left, r.top, r.right - r.left, r.bottom - r.top),
                   align | Qt::AlignVCenter | Qt::TextExpandTabs | Qt::TextShowMnemonic, caption_);
  painter.restore();
}

void TTkBtn::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  Paint(painter);
}

void TTkBtn::MouseDown(Qt::MouseButton button) {
  if (button != Qt::LeftButton) return;
  SetBevelOuter(TPanelBevel::bvLowered);
}

void TTkBtn::MouseUp(Qt::MouseButton button) {
  if (button != Qt::LeftButton) return;
  SetBevelOuter(TPanelBevel::bvRaised);
}

void TTkBtn::mousePressEvent(QMouseEvent* event) {
  MouseDown(event->button());
  if (event->button() == Qt::LeftButton) leftHeld_ = true;
  event->accept();
}

void TTkBtn::mouseReleaseEvent(QMouseEvent* event) {
  MouseUp(event->button());
  if (event->button() == Qt::LeftButton && leftHeld_) {
    leftHeld_ = false;
    if (rect().contains(event->position().toPoint())) emit Clicked();
  }
  event->accept();
}
