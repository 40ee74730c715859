// tovalk-icon: writes the program's emblem as a PNG for the desktop's icon
// theme, so the installed icon is the very picture the windows show.
//
//   tovalk-icon OUTPUT.png [SIZE]
//
// SIZE (default 64) scales the 64 × 64 emblem; it is drawn for 64 pixels.
// Runs without a display (the offscreen platform is chosen unless one is set).
#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <cstdlib>

#include "graphics/qt/TitlePictures.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tovalk-icon OUTPUT.png [SIZE]\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const int size = argc > 2 ? std::atoi(argv[2]) : kEmblemSize;
  if (size < 16 || size > 1024) {
    std::fprintf(stderr, "tovalk-icon: the size must lie between 16 and 1024\n");
    return 2;
  }
  QImage icon = SystemEmblem();
  if (size != kEmblemSize) icon = icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  if (!icon.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "tovalk-icon: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
