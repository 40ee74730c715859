// The desktop program started where there is no display: one line in
// Japanese and English pointing to tovalk-batch, and status 1.
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <utility>

TEST(NoDisplay, OneLineThatPointsToTheBatchProgramAndStatusOne) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove(QStringLiteral("DISPLAY"));
  environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
  environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
  for (const char* display : {"", ":999"}) {
    if (*display) environment.insert(QStringLiteral("DISPLAY"), QString::fromUtf8(display));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TOVALK_PROGRAM), {});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << "display '" << display << "'";
    EXPECT_EQ(program.exitCode(), 1) << "display '" << display << "'";
    EXPECT_EQ(QString::fromUtf8(program.readAllStandardError()),
              QStringLiteral("tovalk: 画面（ディスプレイ）がないため起動できません。画面なしの計算には tovalk-batch "
                             "を使ってください。 / tovalk needs a display; use tovalk-batch to analyse profiles "
                             "without one.\n"))
        << "display '" << display << "'";
    EXPECT_TRUE(program.readAllStandardOutput().isEmpty());
  }
}

// An option the program does not know is refused with the usage line and
// status 2, not opened as a profile; "--" lets such a name through as a file
// (which then fails as a missing file would, inside the program).
TEST(CommandLine, AnUnknownOptionIsRefusedWithTheUsageLine) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  const std::pair<QStringList, QString> cases[] = {
      {{QStringLiteral("--bogus")}, QStringLiteral("tovalk: unknown option --bogus\n")},
      {{QStringLiteral("--timing"), QStringLiteral("-x"), QStringLiteral("a.csv")},
       QStringLiteral("tovalk: unknown option -x\n")},
      {{QStringLiteral("--screenshots")}, QStringLiteral("tovalk: --screenshots needs a folder\n")},
  };
  for (const auto& [args, reason] : cases) {
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TOVALK_PROGRAM), args);
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 2) << args.join(' ').toStdString();
    const QString err = QString::fromUtf8(program.readAllStandardError());
    EXPECT_TRUE(err.endsWith(QStringLiteral("usage: tovalk [--timing] [--screenshots DIR] [--] [PROFILE.csv]\n")))
        << err.toStdString();
    // The toolkit may say a word of its own first (XDG_RUNTIME_DIR and the like).
    EXPECT_TRUE(err.contains(reason + QStringLiteral("usage: "))) << err.toStdString();
  }
}
