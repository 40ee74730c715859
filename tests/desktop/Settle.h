#pragma once
// Waiting on the program and the window manager, for the desktop tests.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QWidget>
#include <QWindow>

#include <functional>

#include "X11Session.h"

// The native window as the window manager sees it now.
inline XWindow Id(const QWidget* window) {
  return XWindow(window->windowHandle() ? window->windowHandle()->winId() : window->winId());
}

// Lets the program and the window manager work until `done` holds (or a
// generous limit passes, when the assertion that follows reports it). A time
// limit, not a count: on a loaded machine the window manager can take
// seconds, and each look at the window stack takes a while itself.
inline bool SettleUntil(const std::function<bool()>& done) {
  QElapsedTimer waited;
  waited.start();
  while (waited.elapsed() < 20000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (done()) return true;
    // Give the X server and the window manager their turn: with nothing
    // pending, processEvents returns at once.
    QThread::msleep(5);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 15);
  }
  return done();
}
