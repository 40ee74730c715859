#pragma once
// Small pieces the forms share: window placement and radio groups that may
// show no item chosen.
#include <QMargins>
#include <QRect>
#include <QSize>
#include <QString>

class QButtonGroup;
class QLineEdit;
class QWidget;

// Caption and frame of a window that the user cannot resize: title bar and
// close box, kept above the other windows when `stayOnTop`.
void SetFixedFrame(QWidget* window, const char* caption, bool stayOnTop);

// Moves a top-level window to the middle of the screen it is on.
void CentreOnScreen(QWidget* window);

// Shows a window the user asked for in front of all of the program's
// windows, the stay-on-top ones included, and gives it the focus. A window
// that does not stay on top by itself is above the stay-on-top ones while it
// is the active window: it goes behind them when the user moves on to
// another window, and comes above them again when the user comes back to it.
// A window shown without activating (the instruction note) leaves the focus
// where it is.
void ShowInFront(QWidget* window);

// Where a note of `note`'s size goes beside `owner` so that it covers none
// of it: right of it, else left of it, else below, else above, within the
// screen area `screen`; pressed into the screen when none of them fits.
QRect BesideRect(const QRect& owner, const QSize& note, const QRect& screen);

// The margins of the window manager's frame around `window`; those of
// `framed` stand in while `window` has not been framed yet.
QMargins FrameExtents(const QWidget* window, const QWidget* framed);

// Moves `window` beside `owner` (by BesideRect) when the screen has room for
// it there without covering any of `owner`; false, and not moved, otherwise.
bool PlaceBesideIfRoom(QWidget* window, const QWidget* owner);

// Moves the centred `window` to the left, just far enough that a window of
// `companion`'s size fits beside it on its screen, where the screen is wide
// enough for both; leaves it centred otherwise.
void MakeRoomBeside(QWidget* window, const QSize& companion);

// Makes `window` a transient of `owner` for the window manager: it is
// minimised and restored with it and kept above it.
void TieToOwner(QWidget* window, QWidget* owner);

// Chooses item `index` of the group (its buttons' ids are 0..n-1); an index
// outside them leaves no item chosen.
void SetRadioIndex(QButtonGroup* group, int index);

// Sets the field's text only when it differs, so the cursor and any typing in
// progress are not disturbed by a refresh that changes nothing.
void SetTextIfChanged(QLineEdit* field, const QString& text);
