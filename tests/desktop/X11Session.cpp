#include "X11Session.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>

#include <fcntl.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Starts a program with its output thrown away; returns its process id.
pid_t Spawn(const std::vector<std::string>& argv, int keepFd = -1) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  setpgid(0, 0);
  const int null = open("/dev/null", O_WRONLY);
  dup2(null, 1);
  dup2(null, 2);
  for (int fd = 3; fd < 256; ++fd) {
    if (fd != keepFd) close(fd);
  }
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  execvp(args[0], args.data());
  _exit(127);
}

void Stop(long pid) {
  if (pid <= 0) return;
  kill(pid_t(pid), SIGTERM);
  waitpid(pid_t(pid), nullptr, 0);
}

QString Run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(10000)) return {};
  return QString::fromLocal8Bit(process.readAllStandardOutput());
}

std::vector<XWindow> WindowIds(const QString& text) {
  std::vector<XWindow> ids;
  static const QRegularExpression hex(QStringLiteral("0x[0-9a-fA-F]+"));
  for (const QRegularExpressionMatch& match : hex.globalMatch(text.section(QLatin1Char('#'), 1))) {
    ids.push_back(XWindow(match.captured().toULong(nullptr, 16)));
  }
  return ids;
}

int Field(const QString& info, const char* name) {
  const QRegularExpression field(QString::fromUtf8(name) + QStringLiteral(":\\s+(-?\\d+)"));
  return field.match(info).captured(1).toInt();
}

}  // namespace

X11Session::X11Session() { Start(); }

void X11Session::Start() {
  if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()) {
    noServer_ = true;
    problem_ = "Xvfb is not installed (package xvfb)";
    return;
  }
  // Xvfb writes the display number it found free into the pipe once it
  // accepts connections, so nothing is guessed and nothing waited for.
  int pipeFds[2];
  if (pipe(pipeFds) != 0) {
    noServer_ = true;
    problem_ = "no pipe for Xvfb";
    return;
  }
  xvfb_ = Spawn({"Xvfb", "-displayfd", std::to_string(pipeFds[1]), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                 "-noreset"},
                pipeFds[1]);
  close(pipeFds[1]);
  std::string number;
  char c = 0;
  while (read(pipeFds[0], &c, 1) == 1 && c != '\n') number += c;
  close(pipeFds[0]);
  if (number.empty()) {
    noServer_ = true;
    problem_ = "Xvfb could not start";
    Stop(xvfb_);
    xvfb_ = 0;
    return;
  }
  display_ = ":" + number;
  setenv("DISPLAY", display_.c_str(), 1);

  if (QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty()) {
    problem_ = "openbox is not installed (package openbox; ./test installs it)";
    return;
  }
  openbox_ = Spawn({"openbox", "--sm-disable"});
  // The window manager is ready once it has announced itself on the root.
  for (int i = 0; i < 200; ++i) {
    if (Run(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")})
            .contains(QLatin1Char('#')))
      return;
    usleep(50000);
  }
  problem_ = "openbox did not start";
}

X11Session::~X11Session() {
  Stop(openbox_);
  Stop(xvfb_);
}

std::vector<XWindow> StackBottomToTop() {
  return WindowIds(
      Run(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")}));
}

XWindow ActiveWindow() {
  const std::vector<XWindow> ids =
      WindowIds(Run(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_ACTIVE_WINDOW")}));
  return ids.empty() ? 0 : ids.front();
}

bool IsViewable(XWindow window) {
  return Run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(window)})
      .contains(QLatin1String("IsViewable"));
}

QRect ScreenRect(XWindow window) {
  const QString info = Run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(window)});
  return {Field(info, "Absolute upper-left X"), Field(info, "Absolute upper-left Y"), Field(info, "Width"),
          Field(info, "Height")};
}

bool Xdotool(const QStringList& arguments) {
  QProcess process;
  process.start(QStringLiteral("xdotool"), arguments);
  return process.waitForFinished(10000) && process.exitCode() == 0;
}
