// The picture button rendered offscreen and checked pixel by pixel: the panel
// it falls back to, the stretched picture, the bevels and border, the pressed
// look while the left button is held, and the caption over the picture.
#include "graphics/qt/Tkbtn.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

#include "platform/qt/QtCanvas.h"

namespace {

const QColor kLight(255, 255, 0);  // the palette's highlight, top-left of a raised bevel
const QColor kDark(0, 0, 255);     // the palette's shadow
const QColor kFace(10, 20, 30);    // the button's Color
const QColor kGreen(0, 128, 0);

QRgb Rgb(const QColor& colour) { return colour.rgb(); }

// A button with colours that cannot be mistaken for one another.
void Colour(TTkBtn& button) {
  QPalette palette = button.palette();
  palette.setColor(QPalette::Light, kLight);
  palette.setColor(QPalette::Dark, kDark);
  button.setPalette(palette);
  button.SetColor(kFace);
}

QImage Render(TTkBtn& button) { return button.grab().toImage().convertToFormat(QImage::Format_RGB32); }

QImage Solid(int width, int height, const QColor& colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

void Mouse(TTkBtn& button, QEvent::Type type, Qt::MouseButton which, QPoint at) {
  const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::MouseButtons(which) : Qt::NoButton;
  QMouseEvent event(type, QPointF(at), button.mapToGlobal(QPointF(at)), which, held, Qt::NoModifier);
  QApplication::sendEvent(&button, &event);
}

// The pixels of the column (or row) from `from` for `count` steps.
std::vector<QRgb> Column(const QImage& image, int x, int from, int count) {
  std::vector<QRgb> pixels;
  for (int y = from; y < from + count; ++y) pixels.push_back(image.pixel(x, y));
  return pixels;
}

// The box around every pixel that differs from `ground`, inside the frame.
QRect Ink(const QImage& image, QRgb ground, int frame) {
  QRect box;
  for (int y = frame; y < image.height() - frame; ++y) {
    for (int x = frame; x < image.width() - frame; ++x) {
      if (image.pixel(x, y) != ground) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

QFont CaptionFont() {
  QFont font(QStringLiteral("IPAGothic"));
  font.setPixelSize(12);
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

TEST(TTkBtn, StartsAsARaisedPanelOfSeventyFiveByTwentyFive) {
  TTkBtn button;
  EXPECT_EQ(button.size(), QSize(75, 25));
  EXPECT_TRUE(button.PictureImg().isNull());
  EXPECT_EQ(button.Alignment(), TTkBtn::TAlignment::taCenter);
  EXPECT_EQ(button.BevelOuter(), TTkBtn::TPanelBevel::bvRaised);
  EXPECT_EQ(button.BevelInner(), TTkBtn::TPanelBevel::bvNone);
  EXPECT_EQ(button.BevelWidth(), 1);
  EXPECT_EQ(button.BorderWidth(), 0);
  EXPECT_EQ(button.Color(), button.palette().color(QPalette::Button));
}

TEST(TTkBtn, WithoutAPicturePaintsAPlainPanel) {
  TTkBtn button;
  Colour(button);
  const QImage image = Render(button);
  // Highlight along the top and left, shadow along the right and bottom,
  // the shadow taking the top-right and bottom-left corners.
  EXPECT_EQ(image.pixel(0, 0), Rgb(kLight));
  EXPECT_EQ(image.pixel(73, 0), Rgb(kLight));
  EXPECT_EQ(image.pixel(74, 0), Rgb(kDark));
  EXPECT_EQ(image.pixel(0, 23), Rgb(kLight));
  EXPECT_EQ(image.pixel(0, 24), Rgb(kDark));
  EXPECT_EQ(image.pixel(74, 24), Rgb(kDark));
  EXPECT_EQ(Column(image, 74, 0, 25), std::vector<QRgb>(25, Rgb(kDark)));
  EXPECT_EQ(Column(image, 0, 0, 24), std::vector<QRgb>(24, Rgb(kLight)));
  // The whole face inside the bevel in the button's colour.
  EXPECT_EQ(Ink(image, Rgb(kFace), 1), QRect());
}

TEST(TTkBtn, PictureIsStretchedUnderTheBevelsAndCopiedWhenSet) {
  TTkBtn button;
  Colour(button);
  QImage quarters(2, 2, QImage::Format_RGB32);
  quarters.setPixel(0, 0, qRgb(255, 0, 0));
  quarters.setPixel(1, 0, qRgb(0, 255, 0));
  quarters.setPixel(0, 1, qRgb(0, 0, 128));
  quarters.setPixel(1, 1, qRgb(255, 255, 255));
  button.Set_Picture(quarters);
  quarters.fill(Qt::black);  // the button keeps its own copy

  const QImage image = Render(button);
  EXPECT_EQ(image.pixel(1, 1), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(36, 11), qRgb(255, 0, 0));
  EXPECT_EQ(image.pixel(38, 11), qRgb(0, 255, 0));
  EXPECT_EQ(image.pixel(73, 1), qRgb(0, 255, 0));
  EXPECT_EQ(image.pixel(1, 23), qRgb(0, 0, 128));
  EXPECT_EQ(image.pixel(73, 23), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(0, 0), Rgb(kLight));
  EXPECT_EQ(image.pixel(74, 24), Rgb(kDark));

  // A null picture brings the plain panel back.
  button.Set_Picture(QImage());
  EXPECT_EQ(Ink(Render(button), Rgb(kFace), 1), QRect());
}

TEST(TTkBtn, BevelWidthBorderAndInnerBevelNestFromTheOutside) {
  TTkBtn button;
  Colour(button);
  button.Set_Picture(Solid(1, 1, kGreen));
  button.SetBevelWidth(2);
  button.SetBorderWidth(1);
  button.SetBevelInner(TTkBtn::TPanelBevel::bvLowered);
  const QImage image = Render(button);
  // Left to right across row 10: outer raised (2), border (1), inner lowered
  // (2), then the picture; mirrored on the right.
  const std::vector<QRgb> left = {Rgb(kLight), Rgb(kLight), Rgb(kFace), Rgb(kDark), Rgb(kDark), Rgb(kGreen)};
  const std::vector<QRgb> right = {Rgb(kDark), Rgb(kDark), Rgb(kFace), Rgb(kLight), Rgb(kLight), Rgb(kGreen)};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(image.pixel(i, 10), left[i]) << "x " << i;
    EXPECT_EQ(image.pixel(74 - i, 10), right[i]) << "x " << 74 - i;
  }
  // Each ring gives its top-right corner to its bottom-right colour.
  EXPECT_EQ(image.pixel(73, 1), Rgb(kDark));
  EXPECT_EQ(image.pixel(71, 3), Rgb(kLight));
  EXPECT_EQ(Ink(image, Rgb(kGreen), 5), QRect());
}

TEST(TTkBtn, LooksPressedOnlyWhileTheLeftButtonIsHeld) {
  TTkBtn button;
  Colour(button);
  int clicks = 0;
  QObject::connect(&button, &TTkBtn::Clicked, [&] { ++clicks; });

  Mouse(button, QEvent::MouseButtonPress, Qt::LeftButton, {10, 10});
  EXPECT_EQ(button.BevelOuter(), TTkBtn::TPanelBevel::bvLowered);
  QImage image = Render(button);
  EXPECT_EQ(image.pixel(0, 0), Rgb(kDark));
  EXPECT_EQ(image.pixel(74, 0), Rgb(kLight));
  EXPECT_EQ(image.pixel(74, 24), Rgb(kLight));
  EXPECT_EQ(image.pixel(10, 10), Rgb(kFace));

  Mouse(button, QEvent::MouseButtonRelease, Qt::LeftButton, {10, 10});
  EXPECT_EQ(button.BevelOuter(), TTkBtn::TPanelBevel::bvRaised);
  EXPECT_EQ(Render(button).pixel(0, 0), Rgb(kLight));
  EXPECT_EQ(clicks, 1);

  // The right button changes nothing.
  Mouse(button, QEvent::MouseButtonPress, Qt::RightButton, {10, 10});
  EXPECT_EQ(button.BevelOuter(), TTkBtn::TPanelBevel::bvRaised);
  Mouse(button, QEvent::MouseButtonRelease, Qt::RightButton, {10, 10});
  EXPECT_EQ(clicks, 1);

  // Released away from the button: raised again, but no click.
  Mouse(button, QEvent::MouseButtonPress, Qt::LeftButton, {10, 10});
  Mouse(button, QEvent::MouseButtonRelease, Qt::LeftButton, {200, 10});
  EXPECT_EQ(button.BevelOuter(), TTkBtn::TPanelBevel::bvRaised);
  EXPECT_EQ(clicks, 1);
}

TEST(TTkBtn, CaptionIsDrawnOverThePictureWithoutABackground) {
  QtCanvas::InstallFontSubstitutions();
  TTkBtn button;
  Colour(button);
  button.setFont(CaptionFont());
  button.SetFontColor(Qt::black);
  button.SetCaption(QStringLiteral("W"));
  button.Set_Picture(Solid(1, 1, kGreen));
  const int th = QFontMetrics(CaptionFont()).height();
  const int top = (1 + 24 - th) / 2;

  button.SetAlignment(TTkBtn::TAlignment::taLeftJustify);
  QImage image = Render(button);
  const QRect left = Ink(image, Rgb(kGreen), 1);
  ASSERT_FALSE(left.isEmpty());
  EXPECT_LE(left.left(), 3);
  EXPECT_GE(left.top(), top);
  EXPECT_LT(left.bottom(), top + th);
  // The caption's line is not boxed: the picture shows beside the letter.
  EXPECT_EQ(image.pixel(60, top + th / 2), Rgb(kGreen));
  EXPECT_EQ(image.pixel(left.right() + 2, top), Rgb(kGreen));

  button.SetAlignment(TTkBtn::TAlignment::taRightJustify);
  const QRect right = Ink(Render(button), Rgb(kGreen), 1);
  EXPECT_GE(right.right(), 71);
  EXPECT_EQ(right.width(), left.width());
  EXPECT_EQ(right.top(), left.top());

  button.SetAlignment(TTkBtn::TAlignment::taCenter);
  const QRect centre = Ink(Render(button), Rgb(kGreen), 1);
  EXPECT_NEAR(centre.center().x(), 37, 2);

  // The same caption on the plain panel sits on the panel's face.
  button.Set_Picture(QImage());
  image = Render(button);
  EXPECT_EQ(Ink(image, Rgb(kFace), 1), centre);
}

TEST(TTkBtn, CaptionLineIsCentredInWhatTheFramesLeave) {
  QtCanvas::InstallFontSubstitutions();
  const int th = QFontMetrics(CaptionFont()).height();
  // Where the letter's ink starts within a line of its own.
  QImage line(40, th, QImage::Format_RGB32);
  line.fill(Qt::white);
  {
    QPainter painter(&line);
    painter.setFont(CaptionFont());
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 0, 40, th), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("W"));
  }
  const int glyphTop = Ink(line, qRgb(255, 255, 255), 0).top();

  for (const int height : {25, 30}) {
    for (const int bevel : {1, 3}) {
      TTkBtn button;
      Colour(button);
      button.setFont(CaptionFont());
      button.SetCaption(QStringLiteral("W"));
      button.resize(75, height);
      button.SetBevelWidth(bevel);
      // Integer halving of the space left inside the bevels, as the panel does.
      const int top = (bevel + (height - bevel) - th) / 2;
      EXPECT_EQ(Ink(Render(button), Rgb(kFace), bevel).top(), top + glyphTop)
          << "height " << height << ", bevel " << bevel;
    }
  }
}

}  // namespace
