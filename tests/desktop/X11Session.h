#pragma once
// A virtual X display (Xvfb, on a display number of its own choosing) with
// the openbox window manager, for the tests that need stay-on-top, stacking
// and focus to behave as on a desktop. The window manager's view of the
// windows is read back with xprop and xwininfo.
#include <QRect>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

class X11Session {
 public:
  // Starts both; on failure `Running()` is false and `Problem()` says why.
  X11Session();
  ~X11Session();
  X11Session(const X11Session&) = delete;
  X11Session& operator=(const X11Session&) = delete;

  bool Running() const { return problem_.empty(); }
  const std::string& Problem() const { return problem_; }
  // ":N", for DISPLAY.
  const std::string& Display() const { return display_; }
  // True when Xvfb itself could not start (the one reason to skip).
  bool NoServer() const { return noServer_; }

 private:
  void Start();

  std::string display_;
  std::string problem_;
  bool noServer_ = false;
  long xvfb_ = 0;
  long openbox_ = 0;
};

using XWindow = std::uint32_t;

// The managed windows from bottom to top, as the window manager stacks them
// (_NET_CLIENT_LIST_STACKING).
std::vector<XWindow> StackBottomToTop();
// The window the window manager has given the focus (_NET_ACTIVE_WINDOW), 0
// for none.
XWindow ActiveWindow();
// True when xwininfo reports the window "IsViewable".
bool IsViewable(XWindow window);
// The window's rectangle on the screen, frame excluded.
QRect ScreenRect(XWindow window);
// Runs xdotool with the arguments and waits for it.
bool Xdotool(const QStringList& arguments);
