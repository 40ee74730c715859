#pragma once
// Small pieces the forms share: window placement and radio groups that may
// show no item chosen.
#include <QString>

class QButtonGroup;
class QLineEdit;
class QWidget;

// Caption and frame of a window that the user cannot resize: title bar and
// close box, kept above the other windows when `stayOnTop`.
void SetFixedFrame(QWidget* window, const char* caption, bool stayOnTop);

// Moves a top-level window to the middle of the screen it is on.
void CentreOnScreen(QWidget* window);

// Chooses item `index` of the group (its buttons' ids are 0..n-1); an index
// outside them leaves no item chosen.
void SetRadioIndex(QButtonGroup* group, int index);

// Sets the field's text only when it differs, so the cursor and any typing in
// progress are not disturbed by a refresh that changes nothing.
void SetTextIfChanged(QLineEdit* field, const QString& text);
