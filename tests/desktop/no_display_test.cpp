// The desktop program started where there is no display: one line in
// Japanese and English pointing to tovalk-batch, and status 1.
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

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
