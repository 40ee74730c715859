// The desktop tests run the program's windows on a virtual X display under
// the openbox window manager, started here for the whole run.
#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include <gtest/gtest.h>

#include "DesktopSession.h"
#include "app/qt/DesktopSetUp.h"
#include "app/qt/TovalkWindows.h"

namespace {
const X11Session* session = nullptr;
}

const X11Session* DesktopSession() { return session; }

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  std::unique_ptr<X11Session> x11;
  if (!::testing::GTEST_FLAG(list_tests)) {
    x11 = std::make_unique<X11Session>();
    session = x11.get();
    if (!x11->Running() && !x11->NoServer()) {
      std::fprintf(stderr, "desktop tests: %s\n", x11->Problem().c_str());
      return 1;
    }
  }
  // Without a server the tests skip; the application object still needs a
  // platform.
  setenv("QT_QPA_PLATFORM", session && session->Running() ? "xcb" : "offscreen", 1);
  TovalkApplication app(argc, argv);
  SetUpDesktopApplication(app);
  return RUN_ALL_TESTS();
}
