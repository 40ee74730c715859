#include "graphics/qt/PictureExport.h"

#include <clocale>
#include <cstdio>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QSaveFile>
#include <QString>

#include <vector>

#include "graphics/AmplificationChart.h"
#include "graphics/Mygraph.h"
#include "graphics/StratumDiagram.h"
#include "graphics/qt/QtCanvas.h"
#include "platform/Errors.h"

namespace {

// Keeps the texts of the boxes the desktop program would have shown.
class CollectedMessages : public MessagePort {
 public:
  MessageResult Show(const MessageBox& box) override {
    texts.push_back(box.text);
    return MessageResult::Ok;
  }
  std::vector<std::string> texts;
};

// Written beside the target and renamed over it once complete.
std::string SavePng(const QtCanvas& canvas, const std::string& path) {
  QSaveFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly) || !canvas.image().save(&file, "PNG") || !file.commit()) {
    return "'" + path + "' に画像を保存できません";
  }
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
  CollectedMessages messages;
  TMyGraph graph(canvas, messages);
  LayOutAmplificationChart(graph);
  // The settings' apply hands the sub-divisions over; the chart derives the rest.
  graph.SubX = sources.settings.xSubDivisions;
  graph.SubY = sources.settings.ySubDivisions;

  std::array<bool, kLayerColourCount> showLayer{};
  const ChartSources chart{sources.profile, sources.result, sources.settings, sources.colours,
                           sources.multiColour};
  try {
    graph.Clear(kWhite);
    if (DrawAmplificationChart(graph, chart, showLayer, messages)) return {};
  } catch (const UserActionError& e) {
    return e.what();
  }
  return messages.texts.empty() ? "増幅特性図を描けません" : messages.texts.front();
}

void RenderStratumPicture(Canvas& canvas, const SoilProfile& profile, const LayerColours& colours,
                          bool multiColour) {
  DrawStratumDiagram(canvas, profile, colours, multiColour);
}

std::string SaveChartPicture(const std::string& path, const ChartPictureSources& sources) {
  if (std::string error = EnsurePictureGraphics(); !error.empty()) return error;
  QtCanvas canvas(kChartPictureWidth, kChartPictureHeight);
  if (std::string error = RenderChartPicture(canvas, sources); !error.empty()) return error;
  return SavePng(canvas, path);
}

std::string SaveStratumPicture(const std::string& path, const SoilProfile& profile,
                               const LayerColours& colours, bool multiColour) {
  if (std::string error = EnsurePictureGraphics(); !error.empty()) return error;
  QtCanvas canvas(kStratumPictureWidth, kStratumPictureHeight);
  RenderStratumPicture(canvas, profile, colours, multiColour);
  return SavePng(canvas, path);
}
