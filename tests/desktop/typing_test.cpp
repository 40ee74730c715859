// Typing into the profile editor as a user types: real key presses and mouse
// clicks through the X server (xdotool), at a user's speed or faster, judged
// by the profile the program takes over and the file it writes.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "ProgramOnDesktop.h"
#include "app/MainWindowController.h"
#include "app/qt/TovalkWindows.h"
#include "platform/Cp932.h"
#include "platform/qt/QtPorts.h"

namespace {

// Where a widget's point is on the screen, for the mouse.
QStringList At(const QWidget* widget, QPoint point) {
  const QPoint global = widget->mapToGlobal(point);
  return {QStringLiteral("mousemove"), QString::number(global.x()), QString::number(global.y())};
}

QStringList AtCentre(const QWidget* widget) { return At(widget, widget->rect().center()); }

QStringList AtCell(const QTableWidget* grid, int row, int col) {
  return At(grid->viewport(), grid->visualItemRect(grid->item(row, col)).center());
}

const QStringList kClick = {QStringLiteral("click"), QStringLiteral("1")};

// Answers the program's boxes with OK and its file dialogs with a typed name,
// as a user does, and keeps the boxes' texts.
class Answerer : public ModalHook {
 public:
  QStringList texts;
  QString fileName;

 protected:
  void Opened(QPointer<QWidget> modal) override {
    if (auto* box = qobject_cast<QMessageBox*>(modal.data())) {
      texts << box->text();
      box->button(QMessageBox::Ok)->click();
      return;
    }
    // The name is typed once the dialog has the keyboard.
    SettleUntil([&] { return !modal || (ActiveWindow() == Id(modal) && QApplication::activeWindow() == modal); });
    if (!modal) return;
    Xdotool({QStringLiteral("type"), fileName});
    Xdotool({QStringLiteral("key"), QStringLiteral("Return")});
  }
};

class Typing : public ProgramOnDesktop {
 protected:
  void SetUp() override {
    ProgramOnDesktop::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    hook = std::make_unique<Answerer>();
    answerer = static_cast<Answerer*>(hook.get());
    grid = windows->Profile.findChild<QTableWidget*>(QStringLiteral("StringGrid1"));
    edit1 = windows->Profile.findChild<QLineEdit*>(QStringLiteral("Edit1"));
    ASSERT_TRUE(grid && edit1);
  }

  // "実 行" with the main window's item (0 新規作成, 1 ﾌｧｲﾙ読込, 2 編集).
  void Execute(int item) {
    Find<QRadioButton>(windows->Open, ("RadioGroup1Item" + std::to_string(item)).c_str())->click();
    Find<QPushButton>(windows->Open, "Button2")->click();
  }

  // Reads an example as the command line does, closes the settings window
  // that the analysis shows, and switches editing on with "編集", "実 行".
  void EditExample(const char* name) {
    windows->Open.Run([&] { windows->main().OpenFromCommandLine(kExamples + name); });
    // Shown last, it has the keyboard before the user closes it; closed
    // earlier, its activation still on its way would land on a hidden
    // window.
    ASSERT_TRUE(SettleUntil([&] {
      return IsViewable(Id(&windows->Display)) && ActiveWindow() == Id(&windows->Display) &&
             QApplication::activeWindow() == &windows->Display;
    }));
    Find<QPushButton>(windows->Display, "Button1")->click();  // 閉じる
    Execute(2);
    EditorReady();
  }

  // The editor has the keyboard, and the window manager has placed it where
  // the program thinks it is, so that clicks land where they are aimed.
  void EditorReady() {
    QWidget& editor = windows->Profile;
    ASSERT_TRUE(SettleUntil([&] {
      return IsViewable(Id(&editor)) && ActiveWindow() == Id(&editor) && QApplication::activeWindow() == &editor &&
             ScreenRect(Id(&editor)).topLeft() == editor.mapToGlobal(QPoint(0, 0));
    })) << "the editor did not get the keyboard";
  }

  // Keys and clicks through the X server, as fast as xdotool sends them
  // ("type" takes the rest of a command line as its text, so it ends one).
  void User(const QStringList& arguments) {
    ASSERT_TRUE(Xdotool(arguments)) << arguments.join(QLatin1Char(' ')).toStdString();
  }

  // After the awaited outcome, what could still come late (a click's delayed
  // editing, a deferred check) has its time before the judgement.
  static void Linger() {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 2 * QApplication::doubleClickInterval() + 200) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
      QThread::msleep(5);
    }
  }

  // The texts of the boxes shown so far, one " / " between two.
  std::string Boxes() const { return answerer->texts.join(QStringLiteral(" / ")).toStdString(); }
  std::string Cell(int col, int row) { return windows->editor().grid().Cell(col, row); }
  const SoilProfile& Profile() { return windows->main().workspace().profile; }

  Answerer* answerer = nullptr;
  QTableWidget* grid = nullptr;
  QLineEdit* edit1 = nullptr;
};

TEST_F(Typing, LayerCountTypedBeyondTwentyIsRefusedAndTheFiveLayersStay) {
  EditExample("five-layers.csv");
  auto* button2 = Find<QPushButton>(windows->Profile, "Button2");  // 地層図
  ASSERT_EQ(edit1->text().toStdString(), "5");

  // The count typed over and "地層図" pressed at once, with the mouse.
  User(AtCentre(edit1) + kClick + QStringList{QStringLiteral("key"), QStringLiteral("ctrl+a")});
  User({QStringLiteral("type"), QStringLiteral("21")});
  User(AtCentre(button2) + kClick);
  ASSERT_TRUE(SettleUntil([&] { return !answerer->texts.isEmpty(); }))
      << "taken over without a word: " << Profile().layerCount << " layers";
  Linger();
  EXPECT_EQ(Boxes(), "層数 21 は 1～20 の範囲にありません");
  EXPECT_EQ(edit1->text().toStdString(), "5") << "the field shows a count that is not in effect";
  EXPECT_EQ(windows->editor().grid().UpDown1Position(), 5);
  EXPECT_EQ(Profile().layerCount, 5);
  EXPECT_EQ(Cell(0, 6), "基盤層");
  EXPECT_EQ(Cell(1, 5), " 12.00");

  // Pressed again, "地層図" takes the five layers over without a word.
  answerer->texts.clear();
  ASSERT_FALSE(windows->Display.isVisible());
  User(AtCentre(button2) + kClick);
  // The analysis that follows shows the settings window.
  ASSERT_TRUE(SettleUntil([&] { return windows->Display.isVisible(); }));
  Linger();
  EXPECT_EQ(Boxes(), "");
  EXPECT_EQ(Profile().layerCount, 5);
  EXPECT_EQ(Profile().layers[4].thickness, 12.0f);
  EXPECT_EQ(Profile().layers[5].vs, 500.0f);
}

TEST_F(Typing, ProfileTypedRightAfterNewWithTabsIsSavedExactly) {
  Execute(0);  // 新規作成
  EditorReady();
  // Five layers and the base, Tab after each value; the base row's "－" is
  // no stop of its own.
  User({QStringLiteral("type"),
        QStringLiteral("2.5\t1.7\t120\t8\t1.9\t300\t3\t1.8\t200\t4\t1.85\t250\t6\t2\t400\t2.1\t700")});
  ASSERT_TRUE(SettleUntil([&] { return Cell(3, 6) == "700"; }))
      << "row 1: " << Cell(1, 1) << "|" << Cell(2, 1) << "|" << Cell(3, 1) << "; base Vs: " << Cell(3, 6);
  User(AtCentre(Find<QPushButton>(windows->Profile, "Button2")) + kClick);  // 地層図
  ASSERT_TRUE(SettleUntil([&] { return Profile().layerCount == 5 && windows->Display.isVisible(); })) << Boxes();

  answerer->fileName = QStringLiteral("typed");
  Find<QPushButton>(windows->Profile, "Button4")->click();  // ﾌｧｲﾙ保存
  const std::string saved = folder / "typed.csv";
  ASSERT_TRUE(SettleUntil([&] { return std::filesystem::exists(saved); }));
  EXPECT_EQ(Cp932ToUtf8(TempFolder::Read(saved)).value_or("(not CP932)"),
            "サイト名, 地点名\r\n層数,5\r\n層番号,層厚(m),密度,S波速度(m/s)\r\n"
            "1,2.50,1.70,120\r\n2,8.00,1.90,300\r\n3,3.00,1.80,200\r\n4,4.00,1.85,250\r\n5,6.00,2.00,400\r\n"
            ",,2.10,700\r\n");
  EXPECT_EQ(Boxes(), "");
}

TEST_F(Typing, ClickedCellTakesWhatIsTypedAtAnySpeedAndDeleteClearsIt) {
  EditExample("five-layers.csv");
  const QString typed[] = {QStringLiteral("2.2"), QStringLiteral("3.3"), QStringLiteral("4.4"), QStringLiteral("5.5")};
  const QString pause[] = {QStringLiteral("0"), QStringLiteral("0.1"), QStringLiteral("0.3"), QStringLiteral("0.6")};
  for (int i = 0; i < 4; ++i) {
    // Another cell, then the one to type into: it is the selected cell.
    User(AtCell(grid, 3, 3) + kClick + AtCell(grid, 2, 2) + kClick);
    ASSERT_TRUE(SettleUntil([&] { return grid->currentRow() == 2 && grid->currentColumn() == 2; }));
    Linger();
    // Clicked once more and typed into after a pause.
    User(AtCell(grid, 2, 2) + kClick + QStringList{QStringLiteral("sleep"), pause[i]});
    User({QStringLiteral("type"), typed[i]});
    SettleUntil([&] { return Cell(2, 2) == typed[i].toStdString(); });
    Linger();
    EXPECT_EQ(Cell(2, 2), typed[i].toStdString()) << "typed " << pause[i].toStdString() << " s after the click";
    EXPECT_EQ(grid->item(2, 2)->text().toStdString(), typed[i].toStdString());
  }

  // Delete and BackSpace clear a selected cell.
  User(AtCell(grid, 3, 1) + kClick + QStringList{QStringLiteral("key"), QStringLiteral("Delete")} + AtCell(grid, 4, 3) +
       kClick + QStringList{QStringLiteral("key"), QStringLiteral("BackSpace")});
  EXPECT_TRUE(SettleUntil([&] { return Cell(1, 3).empty() && Cell(3, 4).empty(); }))
      << "'" << Cell(1, 3) << "' '" << Cell(3, 4) << "'";

  // The base row's "－" takes no typing.
  User(AtCell(grid, 6, 1) + kClick);
  User({QStringLiteral("type"), QStringLiteral("9")});
  User(AtCell(grid, 6, 1) + kClick + QStringList{QStringLiteral("key"), QStringLiteral("Delete")});
  Linger();
  EXPECT_EQ(Cell(1, 6), "　　－");
  EXPECT_EQ(grid->item(6, 1)->text().toStdString(), "　　－");
}

}  // namespace
