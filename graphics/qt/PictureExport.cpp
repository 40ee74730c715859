#include "graphics/qt/PictureExport.h"

#include <clocale>
#include <cstdio>
#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMarginsF>
#include <QPageSize>
#include <QPdfWriter>
#include <QString>
#include <QSvgGenerator>

#include <vector>

#include "graphics/AmplificationChart.h"
#include "graphics/ChartSettings.h"
#include "graphics/Mygraph.h"
#include "graphics/StratumDiagram.h"
#include "platform/qt/QtCanvas.h"
#include "platform/AtomicFile.h"
#include "platform/Errors.h"

namespace {

constexpr const char* kCannotEncode = "画像を作ることができませんでした";

// Draws with `render` on a canvas of the size in the format and puts the
// whole file into `bytes`. `render` returns "" when it drew the picture.
template <typename Render>
std::string Encode(PictureFormat format, int width, int height, std::string& bytes, Render render) {
  if (std::string error = EnsurePictureGraphics(); !error.empty()) return error;
  QByteArray encoded;
  QBuffer buffer(&encoded);
  buffer.open(QIODevice::WriteOnly);
  bool finished = false;
  switch (format) {
    case PictureFormat::Png: {
      QtCanvas canvas(width, height);
      if (std::string error = render(canvas); !error.empty()) return error;
      finished = canvas.image().save(&buffer, "PNG");
      break;
    }
    case PictureFormat::Svg: {
      // One user unit per pixel of the PNG, at the PNG's 96 dots per inch.
      QSvgGenerator svg;
      svg.setOutputDevice(&buffer);
      svg.setSize(QSize(width, height));
      svg.setViewBox(QRect(0, 0, width, height));
      svg.setResolution(96);
      QtCanvas canvas(svg, width, height);
      if (std::string error = render(canvas); !error.empty()) return error;
      finished = canvas.Finish();
      break;
    }
    case PictureFormat::Pdf: {
      // A page of the PNG's size at 96 dots per inch, without margins; the
      // fonts are embedded as subsets, so the texts stay searchable.
      QPdfWriter pdf(&buffer);
      pdf.setResolution(96);
      pdf.setPageSize(QPageSize(QSizeF(width * 72.0 / 96.0, height * 72.0 / 96.0), QPageSize::Point, QString(),
                                QPageSize::ExactMatch));
      pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
      pdf.setCreator(QStringLiteral("TOVALK"));
      QtCanvas canvas(pdf, width, height);
      if (std::string error = render(canvas); !error.empty()) return error;
      finished = canvas.Finish();
      break;
    }
  }
  if (!finished || encoded.isEmpty()) return kCannotEncode;
  bytes.assign(encoded.constData(), static_cast<size_t>(encoded.size()));
  return {};
}

std::string Save(const std::string& path, const std::string& error, const std::string& bytes) {
  if (!error.empty()) return error;
  if (!WriteFileAtomically(path, bytes)) return "'" + path + "' に画像を保存できません";
  return {};
}

}  // namespace

// Text needs a GUI application object. A batch run has none: make one that
// lives until the process ends, on the offscreen platform when there is no
// display to connect to (an explicit QT_QPA_PLATFORM is left alone).
std::string EnsurePictureGraphics() {
  if (QCoreApplication::instance() != nullptr) {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
      return "画像を描くための表示機能がありません";
    }
    return {};
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  // The toolkit's own notices (a missing runtime folder and the like) are not
  // the program's: keep them out of the batch program's error output.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
  });
  static int argc = 1;
  static char name[] = "tovalk";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* application = new QGuiApplication(argc, argv);
  // Qt takes the locale from the environment; the files' numbers use a
  // period whatever it says.
  std::setlocale(LC_NUMERIC, "C");
  (void)application;
  return {};
}

std::string RenderChartPicture(Canvas& canvas, const ChartPictureSources& sources) {
  TMyGraph graph(canvas);
  LayOutAmplificationChart(graph);
  // A fresh chart: the settings' apply as the settings window gives it.
  try {
    ApplySettings(sources.settings, &graph, SubDivisions::FromSettings, nullptr);
  } catch (const UserActionError& e) {
    return e.what();
  }

  std::array<bool, kLayerColourCount> showLayer{};
  const ChartSources chart{sources.profile, sources.result, sources.settings, sources.colours, sources.multiColour};
  try {
    graph.Clear(kWhite);
    const FrameDrawing drawing = DrawAmplificationChart(graph, chart, showLayer);
    if (drawing) return {};
    // The first box the desktop program would have shown.
    return drawing.problems.empty() ? "増幅特性図を描けません" : drawing.problems.front().text;
  } catch (const UserActionError& e) {
    return e.what();
  }
}

void RenderStratumPicture(Canvas& canvas, const SoilProfile& profile, const LayerColours& colours, bool multiColour) {
  DrawStratumDiagram(canvas, profile, colours, multiColour);
}

std::string EncodeChartPicture(const ChartPictureSources& sources, PictureFormat format, std::string& bytes) {
  return Encode(format, kChartPictureWidth, kChartPictureHeight, bytes,
                [&](Canvas& canvas) { return RenderChartPicture(canvas, sources); });
}

std::string EncodeStratumPicture(const SoilProfile& profile, PictureFormat format, std::string& bytes,
                                 const LayerColours& colours, bool multiColour) {
  return Encode(format, kStratumPictureWidth, kStratumPictureHeight, bytes, [&](Canvas& canvas) {
    RenderStratumPicture(canvas, profile, colours, multiColour);
    return std::string();
  });
}

std::string SaveChartPicture(const std::string& path, const ChartPictureSources& sources, PictureFormat format) {
  std::string bytes;
  const std::string error = EncodeChartPicture(sources, format, bytes);
  return Save(path, error, bytes);
}

std::string SaveStratumPicture(const std::string& path, const SoilProfile& profile, const LayerColours& colours,
                               bool multiColour, PictureFormat format) {
  std::string bytes;
  const std::string error = EncodeStratumPicture(profile, format, bytes, colours, multiColour);
  return Save(path, error, bytes);
}
