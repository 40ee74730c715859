#pragma once
// The X session of this test run, and the skip its absence calls for.
#include <gtest/gtest.h>

#include "X11Session.h"

const X11Session* DesktopSession();

#define SKIP_WITHOUT_X_SERVER()                                                                      \
  do {                                                                                               \
    if (!DesktopSession() || !DesktopSession()->Running())                                           \
      GTEST_SKIP() << "no virtual X display: "                                                       \
                   << (DesktopSession() ? DesktopSession()->Problem() : std::string("not started")); \
  } while (false)
