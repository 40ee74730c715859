#pragma once
// What the desktop program sets up on its application object before the
// first window: names, emblem, fonts and Qt's own Japanese texts. The window
// tests on a real display set up the same way.
class QApplication;

// Loads Qt's Japanese translation ("キャンセル", the file dialog's labels).
// Returns false where it is not installed; the program then runs with Qt's
// English texts.
bool InstallQtJapanese(QApplication& app);

void SetUpDesktopApplication(QApplication& app);

// Where the toolkit finds no display it ends the program from inside the
// application's constructor. Installed before that, this says in one line,
// in Japanese and English, that a display is needed and that tovalk-batch
// works without one, and ends the program with status 1.
void ExitWithoutDisplayLine();
// The application object exists: the toolkit's messages go out as before.
void DisplayFound();
