// The system's own pictures: the title picture, the emblem (and the icon made
// from it), checked pixel by pixel, and their places in the seven windows.
#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

#include <string>
#include <vector>

#include "FilePortsFake.h"
#include "TempFolder.h"
#include "app/qt/TovalkWindows.h"
#include "graphics/qt/GraphWidget.h"
#include "platform/qt/QtCanvas.h"
#include "graphics/qt/TitlePictures.h"
#include "platform/qt/QtPorts.h"

namespace {

QImage Rgba(const QImage& image) { return image.convertToFormat(QImage::Format_ARGB32); }

// The box of the pixels in the rows [top, bottom) that the test picks out.
template <typename Inked>
QRect InkBox(const QImage& image, int top, int bottom, Inked inked) {
  QRect box;
  for (int y = top; y < bottom; ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (inked(image.pixel(x, y))) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

// Runs of consecutive inked pixels along one row.
template <typename Inked>
int InkRuns(const QImage& image, int y, Inked inked) {
  int runs = 0;
  bool inside = false;
  for (int x = 0; x < image.width(); ++x) {
    const bool now = inked(image.pixel(x, y));
    if (now && !inside) ++runs;
    inside = now;
  }
  return runs;
}

bool Opaque(QRgb pixel) { return qAlpha(pixel) > 0; }

TEST(SystemTitlePicture, SubtitleAboveTheLargeOutlinedNameOnAClearGround) {
  const QImage title = Rgba(SystemTitlePicture());
  ASSERT_EQ(title.size(), QSize(340, 55));
  EXPECT_EQ(qAlpha(title.pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(title.pixel(339, 54)), 0);
  EXPECT_EQ(qAlpha(title.pixel(0, 30)), 0);

  const QRect subtitle = InkBox(title, 0, kTitleSubtitleHeight, Opaque);
  const QRect tovalk = InkBox(title, kTitleSubtitleHeight, 55, Opaque);
  ASSERT_FALSE(subtitle.isEmpty());
  ASSERT_FALSE(tovalk.isEmpty());
  // Both lines centred; the name far larger than the line above it.
  EXPECT_NEAR(subtitle.center().x(), 170, 3);
  EXPECT_NEAR(tovalk.center().x(), 170, 3);
  EXPECT_GE(tovalk.height(), 2 * subtitle.height() - 4);
  EXPECT_GE(tovalk.width(), 160);
  EXPECT_GE(tovalk.height(), 28);
  EXPECT_GE(tovalk.top(), kTitleSubtitleHeight);

  // Fully covered pixels carry the title's colour.
  bool navy = false;
  for (int x = subtitle.left(); x <= subtitle.right(); ++x) {
    for (int y = subtitle.top(); y <= subtitle.bottom(); ++y) {
      const QRgb pixel = title.pixel(x, y);
      if (qAlpha(pixel) == 255) {
        EXPECT_EQ(pixel, TitleColour().rgb()) << x << "," << y;
        navy = true;
      }
    }
  }
  EXPECT_TRUE(navy);

  // Outlined letters: across the middle every stroke of T, O, V, A, L, K is
  // crossed twice (its two contours) where filled letters give one run each.
  const int middle = tovalk.center().y();
  EXPECT_GE(InkRuns(title, middle, Opaque), 16);
}

TEST(SystemEmblem, NameTraceAndSoilBandsInAFrame) {
  const QImage emblem = Rgba(SystemEmblem());
  ASSERT_EQ(emblem.size(), QSize(64, 64));
  const QRgb frame = EmblemFrame().rgb();
  for (int i = 0; i < 64; ++i) {
    EXPECT_EQ(emblem.pixel(i, 0), frame) << i;
    EXPECT_EQ(emblem.pixel(i, 63), frame) << i;
    EXPECT_EQ(emblem.pixel(0, i), frame) << i;
    EXPECT_EQ(emblem.pixel(63, i), frame) << i;
  }

  // Four soil bands of five rows, the base filling the rest, wall to wall.
  for (int y = kEmblemTraceBottom; y < 63; ++y) {
    const int band = std::min((y - kEmblemTraceBottom) / kEmblemBandHeight, kEmblemBands);
    for (int x = 1; x < 63; ++x) ASSERT_EQ(emblem.pixel(x, y), EmblemBand(band).rgb()) << x << "," << y;
  }
  for (int band = 0; band < kEmblemBands; ++band) EXPECT_NE(EmblemBand(band), EmblemBand(band + 1));

  // The name: ink in the top rows only, centred.
  const auto notWhite = [](QRgb pixel) { return pixel != qRgb(255, 255, 255); };
  const QRect name = InkBox(emblem.copy(1, 1, 62, kEmblemNameHeight - 1), 0, kEmblemNameHeight - 1, notWhite);
  ASSERT_FALSE(name.isEmpty());
  EXPECT_NEAR(name.center().x() + 1, 32, 2);
  EXPECT_GE(name.width(), 40);

  // The trace: one unbroken black line across, quiet at the start, with a
  // strong burst; nothing else in its band.
  const QRgb black = EmblemTrace().rgb();
  int highest = 64, lowest = 0;
  for (int x = 1; x < 63; ++x) {
    bool inked = false;
    for (int y = kEmblemTraceTop; y < kEmblemTraceBottom; ++y) {
      const QRgb pixel = emblem.pixel(x, y);
      if (pixel == qRgb(255, 255, 255)) continue;
      ASSERT_EQ(pixel, black) << x << "," << y;
      inked = true;
      highest = std::min(highest, y);
      lowest = std::max(lowest, y);
      if (x <= 12) {
        EXPECT_LE(std::abs(y - (kEmblemTraceTop + kEmblemTraceBottom) / 2), 2) << x;
      }
    }
    EXPECT_EQ(inked, x >= 3 && x <= 60) << x;
  }
  EXPECT_GE(lowest - highest, 12);
}

TEST(SystemIcon, IsTheEmblem) {
  const QIcon icon = SystemIcon();
  EXPECT_EQ(Rgba(icon.pixmap(64, 64).toImage()), Rgba(SystemEmblem()));
}

TEST(SystemPictures, EveryWindowShowsTheDrawnPicturesNotPlaceholders) {
  TempFolder folder;
  const std::string startDir = folder.path().string();
  RecordingMessages messages;
  ScriptedDialogs dialogs;
  QtClipboardPort clipboard;
  TovalkWindows windows(messages, dialogs, clipboard, &startDir);

  const QImage title = Rgba(SystemTitlePicture());
  const QImage emblem = Rgba(SystemEmblem());
  const auto shown = [](QWidget& window, const char* name) {
    auto* label = window.findChild<QLabel*>(QString::fromUtf8(name));
    EXPECT_NE(label, nullptr) << name;
    return label ? Rgba(label->pixmap().toImage()) : QImage();
  };
  EXPECT_EQ(shown(windows.Display, "Image1"), title);
  EXPECT_EQ(shown(windows.HowTo, "Image1"), title);
  EXPECT_EQ(shown(windows.HowTo, "Image2"), emblem);
  EXPECT_EQ(shown(windows.Version, "Image1"), title);
  EXPECT_EQ(shown(windows.Version, "Image2"), emblem);
  EXPECT_EQ(shown(windows.Profile, "Image1"), Rgba(ProfileTitlePicture()));
  // The emblems are shown whole: no frame eats into them.
  EXPECT_EQ(windows.HowTo.findChild<QLabel*>("Image2")->contentsRect().size(), QSize(64, 64));
  EXPECT_EQ(windows.Version.findChild<QLabel*>("Image2")->contentsRect().size(), QSize(64, 64));

  // The main window's title is the same picture laid on the window's colour.
  auto* image3 = windows.Open.findChild<GraphWidget*>("Image3");
  ASSERT_NE(image3, nullptr);
  ASSERT_NE(image3->canvas(), nullptr);
  QImage expected(title.size(), image3->canvas()->image().format());
  expected.fill(windows.Open.palette().color(QPalette::Window));
  {
    QPainter painter(&expected);
    painter.drawImage(0, 0, SystemTitlePicture());
  }
  EXPECT_EQ(Rgba(image3->canvas()->image()), Rgba(expected));
}

}  // namespace
