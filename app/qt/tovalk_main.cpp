// tovalk: the desktop program. Creates the seven windows, opens a profile
// file named on the command line as "ファイル読込" would, and runs the message
// loop until the main window closes.
//
//   tovalk [--timing] [--screenshots DIR] [PROFILE.csv]
//
// --timing reports on stderr how long the start-up took to the first shown
// window and, with a file, the load → analysis → drawn chart road, then ends
// the program (for measurements). --screenshots saves the seven windows as
// main-window.png, editor.png, settings.png, amplist.png, howto.png,
// version.png and datainput.png in DIR once the file is drawn, with the chart
// as chart.png, an open dialog as file-dialog.png and the exit question as
// question.png, then ends the program (for the documentation).
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "app/MainWindowController.h"
#include "app/qt/DesktopSetUp.h"
#include "app/qt/TovalkWindows.h"
#include "platform/FileSystem.h"
#include "platform/qt/QtPorts.h"

namespace {

struct Arguments {
  bool timing = false;
  std::string screenshots;
  std::string file;
};

constexpr const char* kUsage = "usage: tovalk [--timing] [--screenshots DIR] [--] [PROFILE.csv]\n";

// Nothing, with the reason, for an option this program does not know: it
// would otherwise be opened as a profile file. The toolkit has taken its own
// options out of the list already; "--" ends the options.
std::optional<Arguments> ParseArguments(const QStringList& args, std::string& error) {
  Arguments parsed;
  bool options = true;
  for (qsizetype i = 1; i < args.size(); ++i) {
    const QString& arg = args[i];
    if (options && arg == QStringLiteral("--")) {
      options = false;
    } else if (options && arg == QStringLiteral("--timing")) {
      parsed.timing = true;
    } else if (options && arg == QStringLiteral("--screenshots")) {
      if (i + 1 >= args.size()) {
        error = "--screenshots needs a folder";
        return std::nullopt;
      }
      parsed.screenshots = FromQString(args[++i]);
    } else if (options && arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
      error = "unknown option " + FromQString(arg);
      return std::nullopt;
    } else if (parsed.file.empty()) {
      parsed.file = FromQString(arg);
    }
  }
  return parsed;
}

// Calls the action once, in the loop's next turn after the watched window's
// first paint.
class FirstPaint : public QObject {
 public:
  explicit FirstPaint(std::function<void()> action) : action_(std::move(action)) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && action_) {
      QTimer::singleShot(0, this, std::move(action_));
      action_ = nullptr;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> action_;
};

int Run(TovalkApplication& app, QElapsedTimer& clock) {
  std::string error;
  const std::optional<Arguments> parsed = ParseArguments(QCoreApplication::arguments(), error);
  if (!parsed) {
    std::fprintf(stderr, "tovalk: %s\n%s", error.c_str(), kUsage);
    return 2;
  }
  const Arguments& args = *parsed;

  QtMessagePort messages;
  QtFileDialogPort dialogs;
  QtClipboardPort clipboard;
  TovalkWindows windows(messages, dialogs, clipboard);
  messages.SetParent(&windows.Open);
  dialogs.SetParent(&windows.Open);
  QObject::connect(&windows.Open, &TOpen::Closed, &app, &QCoreApplication::quit);

  // Runs once the main window has been painted for the first time.
  const auto firstShown = [&] {
    const qint64 started = clock.elapsed();
    if (args.timing) std::fprintf(stderr, "start-up to first shown window: %lld ms\n", (long long)started);
    if (!args.file.empty()) {
      QElapsedTimer road;
      road.start();
      windows.Open.Run([&] { windows.main().OpenFromCommandLine(args.file); });
      // The chart is drawn on its picture; let the windows paint it.
      QCoreApplication::processEvents();
      if (args.timing) std::fprintf(stderr, "load -> analysis -> drawn chart: %lld ms\n", (long long)road.elapsed());
    }
    if (!args.screenshots.empty()) {
      const QString dir = ToQString(args.screenshots);
      const std::pair<QWidget*, const char*> shots[] = {{&windows.Open, "main-window"},   {&windows.Profile, "editor"},
                                                        {&windows.Display, "settings"},   {&windows.AmpList, "amplist"},
                                                        {&windows.HowTo, "howto"},        {&windows.Version, "version"},
                                                        {&windows.DataInput, "datainput"}};
      // Every window is shown first, so its layout is the one a user sees.
      for (const auto& shot : shots) shot.first->show();
      QCoreApplication::processEvents();
      for (const auto& shot : shots) {
        const QString path = dir + QStringLiteral("/") + QString::fromUtf8(shot.second) + QStringLiteral(".png");
        if (!shot.first->grab().save(path)) std::fprintf(stderr, "could not save %s\n", FromQString(path).c_str());
      }
      // The chart with its inset stratum column, as drawn.
      windows.Open.chartPicture().image().save(dir + QStringLiteral("/chart.png"));
      // A file dialog and a question, as the program opens them: each is
      // saved once shown and then cancelled.
      const auto grabModal = [dir](const char* name) {
        QTimer::singleShot(300, [dir, name] {
          if (QWidget* modal = QApplication::activeModalWidget()) {
            modal->grab().save(dir + QStringLiteral("/") + QString::fromUtf8(name) + QStringLiteral(".png"));
            modal->close();
          }
        });
      };
      grabModal("file-dialog");
      dialogs.RunOpenDialog(
          {kOpenDialogFilter, args.file.empty() ? windows.main().workspace().startDir : ExtractFileDir(args.file)});
      grabModal("question");
      messages.Show(QuestionBox(kExitQuestion, kExitCaption));
    }
    if (args.timing || !args.screenshots.empty()) QCoreApplication::quit();
  };
  FirstPaint watch(firstShown);
  windows.Open.installEventFilter(&watch);
  windows.Open.show();
  return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer clock;
  clock.start();
  ExitWithoutDisplayLine();
  TovalkApplication app(argc, argv);
  DisplayFound();
  SetUpDesktopApplication(app);
  try {
    return Run(app, clock);
  } catch (const std::exception& error) {
    TovalkApplication::ShowStandardError(error.what());
    return 1;
  }
}
