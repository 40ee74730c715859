#include "app/qt/DesktopSetUp.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

#include "platform/MessageBox.h"
#include "platform/FixedTexts.h"
#include "platform/qt/QtCanvas.h"
#include "graphics/qt/TitlePictures.h"

namespace {

constexpr char kNoDisplayLine[] =
    "tovalk: 画面（ディスプレイ）がないため起動できません。画面なしの計算には tovalk-batch を使ってください。"
    " / tovalk needs a display; use tovalk-batch to analyse profiles without one.\n";

QtMessageHandler previousHandler = nullptr;

// While the toolkit looks for a display its own lines about the platform
// are held back: the one line below says it all. Its fatal message ends the
// program here; everything else goes on to the handler that was there before.
void NoDisplayHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type != QtFatalMsg && context.category && QLatin1String(context.category).startsWith(QLatin1String("qt.qpa")))
    return;
  if (type == QtFatalMsg && (message.contains(QLatin1String("platform plugin")) ||
                             message.contains(QLatin1String("could not connect to display")))) {
    std::fputs(kNoDisplayLine, stderr);
    std::_Exit(1);
  }
  if (previousHandler) {
    previousHandler(type, context, message);
  } else {
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
  }
}

}  // namespace

bool InstallQtJapanese(QApplication& app) {
  // The program is Japanese whatever the desktop's language is.
  auto* translator = new QTranslator(&app);
  if (!translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

void SetUpDesktopApplication(QApplication& app) {
  // The application title goes to the error boxes and the task bar, not into
  // the window captions: a display name would be appended to every caption.
  QCoreApplication::setApplicationName(QString::fromUtf8(kApplicationTitle));
  // The emblem in the title bars and task bar; the desktop entry tovalk.desktop
  // (installed) names the same icon.
  QApplication::setWindowIcon(SystemIcon());
  QGuiApplication::setDesktopFileName(QStringLiteral("tovalk"));
  // Dates, sizes and file types in the dialogs are Japanese too, whatever
  // the system's locale.
  QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
  InstallQtJapanese(app);
  QtCanvas::InstallFontSubstitutions();
  QFont font(QString::fromUtf8(kPGothicFont));
  font.setPixelSize(QtCanvas::PixelSize(9));
  QApplication::setFont(font);
}

void ExitWithoutDisplayLine() { previousHandler = qInstallMessageHandler(NoDisplayHandler); }

void DisplayFound() { qInstallMessageHandler(previousHandler); }
