// The program's windows under a real window manager: message boxes, dialogs
// and the windows the user asks for open in front of the stay-on-top editor
// and settings window, visible and with the focus; the instruction note
// leaves the editor free. Visibility is read from the window manager's
// stack, not inferred from timing.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableWidget>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ProgramOnDesktop.h"
#include "app/MainWindowController.h"
#include "app/qt/TovalkWindows.h"
#include "platform/qt/QtPorts.h"

namespace {

bool OnTop(const QWidget* window) {
  const std::vector<XWindow> stack = StackBottomToTop();
  return !stack.empty() && stack.back() == Id(window);
}

// Where a modal box or dialog stands when it has opened.
struct Seen {
  QString text;
  bool viewable = false;
  bool onTop = false;
  bool active = false;
  bool focusInside = false;
  QStringList buttons;
};

// Watches for the program's modal boxes and file dialogs; each one is looked
// at once it has settled, then answered by `answer`.
class ModalWatcher : public ModalHook {
 public:
  std::function<void(QWidget*)> answer;
  std::vector<Seen> seen;

 protected:
  void Opened(QPointer<QWidget> modal) override {
    if (!modal) return;
    SettleUntil([&] {
      return modal && OnTop(modal) && ActiveWindow() == Id(modal) && IsViewable(Id(modal)) &&
             QApplication::activeWindow() == modal.data();
    });
    if (!modal) return;
    Seen box;
    if (auto* message = qobject_cast<QMessageBox*>(modal.data())) box.text = message->text();
    box.viewable = IsViewable(Id(modal));
    box.onTop = OnTop(modal);
    box.active = ActiveWindow() == Id(modal);
    QWidget* focus = QApplication::focusWidget();
    box.focusInside = focus && focus->window() == modal.data();
    for (QAbstractButton* button : modal->findChildren<QAbstractButton*>()) {
      if (button->isVisible()) box.buttons << button->text();
    }
    seen.push_back(box);
    // A box or dialog the answer left open (a fault under test) is closed
    // later, so the run reports it instead of waiting for ever.
    QTimer::singleShot(20000, modal.data(), [modal] {
      if (modal && modal->isVisible()) {
        ADD_FAILURE() << "a box or dialog stayed open";
        modal->close();
      }
    });
    if (answer) answer(modal);
  }
};

class WindowsInFront : public ProgramOnDesktop {
 protected:
  // Reads a profile as the command line does: editor, diagram, analysis, and
  // the settings window shown last.
  void OpenExample(const char* name) {
    windows->Open.Run([&] { windows->main().OpenFromCommandLine(kExamples + name); });
    ASSERT_TRUE(SettleUntil([&] { return IsViewable(Id(&windows->Display)) && IsViewable(Id(&windows->Profile)); }));
  }

  // Answers every box with its default button, as the Enter key does.
  void AnswerBoxesWithOk() {
    hook = std::make_unique<ModalWatcher>();
    watcher = static_cast<ModalWatcher*>(hook.get());
    watcher->answer = [](QWidget* modal) {
      if (auto* box = qobject_cast<QMessageBox*>(modal)) box->button(QMessageBox::Ok)->click();
    };
  }

  // The emblem lies under the centred windows; the click is given to it
  // directly.
  void ClickEmblem() {
    QWidget* emblem = Find<QWidget>(windows->Open, "Image3");
    const QPointF at(10, 10);
    QMouseEvent press(QEvent::MouseButtonPress, at, emblem->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, emblem->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(emblem, &press);
    QApplication::sendEvent(emblem, &release);
  }

  // The hook, as the watcher it is.
  ModalWatcher* watcher = nullptr;
};

TEST_F(WindowsInFront, BoxAfterSettingsWithNoLayerMarkedIsInFrontAndFocused) {
  OpenExample("five-layers.csv");
  ASSERT_TRUE(SettleUntil([&] { return OnTop(&windows->Display); })) << "the settings window is shown last";
  Find<QCheckBox>(windows->Display, "CheckBox1")->click();  // no layer marked now
  AnswerBoxesWithOk();
  Find<QPushButton>(windows->Display, "Button2")->click();  // 設定

  ASSERT_FALSE(watcher->seen.empty()) << "no box was shown";
  for (const Seen& box : watcher->seen) {
    EXPECT_EQ(box.text, QStringLiteral("増幅特性を表示する層番号が指定されておりません"));
    EXPECT_TRUE(box.viewable);
    EXPECT_TRUE(box.onTop) << "the box opened below another window";
    EXPECT_TRUE(box.active) << "the window manager gave the focus elsewhere";
    EXPECT_TRUE(box.focusInside);
  }
  EXPECT_EQ(watcher->seen.size(), 1u);
}

TEST_F(WindowsInFront, QuestionOverTheEditorHasAJapaneseCancelAndTheFocus) {
  OpenExample("five-layers.csv");
  // The editor is left as the stay-on-top window in front.
  windows->Display.hide();
  ASSERT_TRUE(SettleUntil([&] { return OnTop(&windows->Profile); }));
  hook = std::make_unique<ModalWatcher>();
  watcher = static_cast<ModalWatcher*>(hook.get());
  watcher->answer = [](QWidget* modal) {
    if (auto* box = qobject_cast<QMessageBox*>(modal)) box->button(QMessageBox::Cancel)->click();
  };
  Find<QCheckBox>(windows->Profile, "CBEdit")->click();      // edit mode
  Find<QPushButton>(windows->Profile, "BtnClear")->click();  // クリア asks first

  ASSERT_EQ(watcher->seen.size(), 1u);
  const Seen& question = watcher->seen[0];
  EXPECT_EQ(question.text, QStringLiteral("地盤構成編集画面の全データをクリアしますか？"));
  EXPECT_TRUE(question.viewable);
  EXPECT_TRUE(question.onTop);
  EXPECT_TRUE(question.active);
  EXPECT_TRUE(question.focusInside);
  EXPECT_EQ(question.buttons, (QStringList{QStringLiteral("OK"), QStringLiteral("キャンセル")}));
  EXPECT_EQ(Find<QTableWidget>(windows->Profile, "StringGrid1")->item(1, 1)->text(), QStringLiteral("  2.00"))
      << "Cancel keeps the grid";
}

TEST_F(WindowsInFront, RequestedWindowsComeAboveTheStayOnTopWindows) {
  OpenExample("five-layers.csv");
  windows->Profile.show();
  ASSERT_TRUE(SettleUntil([&] { return IsViewable(Id(&windows->Profile)); }));

  struct Request {
    const char* what;
    QWidget* window;
    std::function<void()> ask;
  };
  auto* checkBox1 = Find<QCheckBox>(windows->Open, "CheckBox1");
  const std::vector<Request> requests = {
      {"使い方", &windows->HowTo, [&] { Find<QAction>(windows->Open, "MenuHowTo")->trigger(); }},
      {"バージョン情報 (emblem)", &windows->Version, [&] { ClickEmblem(); }},
      {"バージョン情報 (menu)", &windows->Version, [&] { Find<QAction>(windows->Open, "MenuVersion")->trigger(); }},
      {"増幅率リスト", &windows->AmpList, [&] { checkBox1->click(); }},
  };
  const auto stayOnTopInFront = [&] { return OnTop(&windows->Display) || OnTop(&windows->Profile); };
  for (const Request& request : requests) {
    // With the windows asked for hidden, a stay-on-top window is in front.
    for (QWidget* asked : {(QWidget*)&windows->HowTo, (QWidget*)&windows->Version, (QWidget*)&windows->AmpList}) {
      asked->hide();
    }
    ASSERT_TRUE(SettleUntil(stayOnTopInFront)) << request.what;
    request.ask();
    // Until the program has heard of its activation too: the user's next
    // step comes after the window has opened, not amid its mapping.
    const bool inFront = SettleUntil([&] {
      return request.window->isVisible() && OnTop(request.window) && ActiveWindow() == Id(request.window) &&
             QApplication::activeWindow() == request.window;
    });
    EXPECT_TRUE(inFront) << request.what << " opened under another window";
    EXPECT_TRUE(IsViewable(Id(request.window))) << request.what;
    EXPECT_EQ(ActiveWindow(), Id(request.window)) << request.what;
  }

  // The user moves on to the settings window (as from the task bar): it is
  // in front again, and the list leaves the stay-on-top layer.
  Xdotool({QStringLiteral("windowactivate"), QString::number(Id(&windows->Display))});
  EXPECT_TRUE(SettleUntil([&] { return OnTop(&windows->Display); }));
  // The list hears of its deactivation only after the window manager's
  // restack, so wait for that event rather than read the flag at once.
  EXPECT_TRUE(SettleUntil([&] { return !(windows->AmpList.windowFlags() & Qt::WindowStaysOnTopHint); }))
      << "the list stayed in the stay-on-top layer";
}

TEST_F(WindowsInFront, VersionWindowAskedForAgainAndAgainComesInFrontEachTime) {
  OpenExample("five-layers.csv");
  windows->Profile.show();
  ASSERT_TRUE(SettleUntil([&] { return IsViewable(Id(&windows->Profile)); }));
  QWidget& version = windows->Version;
  const auto inFront = [&] {
    return SettleUntil([&] {
      return version.isVisible() && OnTop(&version) && ActiveWindow() == Id(&version) &&
             QApplication::activeWindow() == &version;
    });
  };

  ClickEmblem();
  EXPECT_TRUE(inFront()) << "from the emblem";
  // Closed (as a click on it does) and asked for again at once.
  version.close();
  Find<QAction>(windows->Open, "MenuVersion")->trigger();
  EXPECT_TRUE(inFront()) << "from the menu, right after closing it";
  // Left open behind the editor: the user works in the editor, then asks
  // for the window again.
  Xdotool({QStringLiteral("windowactivate"), QString::number(Id(&windows->Profile))});
  ASSERT_TRUE(SettleUntil([&] { return OnTop(&windows->Profile) && ActiveWindow() == Id(&windows->Profile); }));
  ClickEmblem();
  EXPECT_TRUE(inFront()) << "from the emblem, while it was open behind the editor";
  version.close();
  ClickEmblem();
  EXPECT_TRUE(inFront()) << "from the emblem, right after closing it";
}

TEST_F(WindowsInFront, SecondaryWindowsAreMinimisedAndRestoredWithTheMainWindow) {
  OpenExample("five-layers.csv");
  Find<QAction>(windows->Open, "MenuVersion")->trigger();
  const std::vector<QWidget*> secondary = {&windows->Profile, &windows->Display, &windows->Version};
  // Opened, and its activation heard, before the user's next step.
  ASSERT_TRUE(SettleUntil(
      [&] { return ActiveWindow() == Id(&windows->Version) && QApplication::activeWindow() == &windows->Version; }));

  Xdotool({QStringLiteral("windowminimize"), QString::number(Id(&windows->Open))});
  EXPECT_TRUE(SettleUntil([&] {
    for (QWidget* window : secondary) {
      if (IsViewable(Id(window))) return false;
    }
    return !IsViewable(Id(&windows->Open));
  })) << "a window stayed on the screen without the main window";

  Xdotool({QStringLiteral("windowactivate"), QString::number(Id(&windows->Open))});
  EXPECT_TRUE(SettleUntil([&] {
    for (QWidget* window : secondary) {
      if (!IsViewable(Id(window))) return false;
    }
    return IsViewable(Id(&windows->Open));
  })) << "a window did not come back with the main window";
}

TEST_F(WindowsInFront, InstructionNoteLeavesTheGridAndButtonsFreeAndTheFocusInTheGrid) {
  Find<QRadioButton>(windows->Open, "RadioGroup1Item0")->click();  // 新規作成
  Find<QPushButton>(windows->Open, "Button2")->click();            // 実 行
  QWidget& editor = windows->Profile;
  QWidget& note = windows->DataInput;
  ASSERT_TRUE(SettleUntil([&] { return IsViewable(Id(&note)) && IsViewable(Id(&editor)); }));
  auto* grid = Find<QTableWidget>(editor, "StringGrid1");
  ASSERT_TRUE(SettleUntil([&] { return ActiveWindow() == Id(&editor) && QApplication::focusWidget() == grid; }))
      << "the focus is not in the editor's grid";

  // Where the window manager put the note, frame and all, once the program
  // has heard of it: the frame it knows holds the window the server shows.
  EXPECT_TRUE(SettleUntil([&] { return note.frameGeometry().contains(ScreenRect(Id(&note))); }));
  const QRect noteFrame = note.frameGeometry();
  auto onScreen = [](QWidget* widget) { return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size()); };
  EXPECT_FALSE(noteFrame.intersects(onScreen(grid))) << "the note covers the grid";
  for (const char* button : {"Button4", "BtnClear", "Button2", "Button1"}) {
    EXPECT_FALSE(noteFrame.intersects(onScreen(Find<QPushButton>(editor, button)))) << "the note covers " << button;
  }
  EXPECT_TRUE(editor.screen()->availableGeometry().contains(noteFrame)) << "the note is off the editor's screen";

  // Typing goes into the grid at once.
  grid->setCurrentCell(1, 1);
  Xdotool({QStringLiteral("type"), QStringLiteral("2.5")});
  EXPECT_TRUE(SettleUntil([&] { return windows->editor().grid().Cell(1, 1) == "2.5"; }))
      << windows->editor().grid().Cell(1, 1);
}

TEST_F(WindowsInFront, OpenDialogIsJapaneseAndANameTypedWithoutCsvFollowsTheProgramsRule) {
  std::filesystem::copy_file(kExamples + "five-layers.csv", folder / "five-layers.csv");
  hook = std::make_unique<ModalWatcher>();
  watcher = static_cast<ModalWatcher*>(hook.get());
  QStringList typed = {QStringLiteral("five-layers"), QStringLiteral("missing")};
  watcher->answer = [&](QWidget* modal) {
    if (qobject_cast<QFileDialog*>(modal)) {
      // A user's keystrokes, into whatever has the focus.
      Xdotool({QStringLiteral("type"), typed.takeFirst()});
      Xdotool({QStringLiteral("key"), QStringLiteral("Return")});
    } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      box->button(QMessageBox::Ok)->click();
    }
  };
  Find<QRadioButton>(windows->Open, "RadioGroup1Item1")->click();  // ﾌｧｲﾙ読込
  Find<QPushButton>(windows->Open, "Button2")->click();            // 実 行

  ASSERT_GE(watcher->seen.size(), 1u);
  const Seen& dialog = watcher->seen[0];
  EXPECT_TRUE(dialog.viewable && dialog.onTop && dialog.active && dialog.focusInside);
  EXPECT_TRUE(dialog.buttons.contains(QStringLiteral("開く(&O)")) || dialog.buttons.contains(QStringLiteral("開く")))
      << dialog.buttons.join(QLatin1Char('|')).toStdString();
  EXPECT_TRUE(dialog.buttons.contains(QStringLiteral("キャンセル")))
      << dialog.buttons.join(QLatin1Char('|')).toStdString();
  EXPECT_EQ(Find<QLabel>(windows->Open, "Label3")->text(), QStringLiteral("ﾌｧｲﾙ名 : five-layers.csv"));
  EXPECT_EQ(windows->main().workspace().profile.layerCount, 5);

  // A name that is not there, typed the same way: the program's own message.
  watcher->seen.clear();
  Find<QPushButton>(windows->Open, "Button2")->click();
  ASSERT_EQ(watcher->seen.size(), 2u);
  EXPECT_EQ(watcher->seen[1].text,
            QStringLiteral("ファイル %1 はありません").arg(QString::fromStdString(folder / "missing.csv")));
  EXPECT_TRUE(watcher->seen[1].onTop && watcher->seen[1].active);
  EXPECT_EQ(Find<QLabel>(windows->Open, "Label3")->text(), QStringLiteral("ﾌｧｲﾙ名 : five-layers.csv"));
}

}  // namespace
