// The usage, version and instruction windows as the program builds them: the
// whole usage text, closing the version window from anywhere on its panel,
// and one instruction note however often a new profile is started.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTimer>
#include <QTreeView>

#include <fstream>

#include <memory>
#include <string>

#include "FilePortsFake.h"
#include "TempFolder.h"
#include "app/qt/TovalkWindows.h"
#include "platform/qt/QtPorts.h"
#include "windows/HelpTexts.h"

// Failures print the text, not the bytes.
static void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

void LeftClick(QWidget* widget, QPoint at) {
  ASSERT_NE(widget, nullptr);
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &release);
}

TEST(THowTo, ShowsTheWholeUsageTextAndKeepsWhatWasTyped) {
  THowTo howTo;
  auto* memo = howTo.findChild<QPlainTextEdit*>("Memo1");
  ASSERT_NE(memo, nullptr);
  const QString text = memo->toPlainText();
  EXPECT_EQ(text, QString::fromUtf8(kHowToText));

  // The header, the function and the four sections of the usage, in order.
  const QStringList lines = text.split('\n');
  ASSERT_GE(lines.size(), 2);
  EXPECT_TRUE(lines[0].contains(QStringLiteral("地盤増幅特性解析システム")));
  EXPECT_TRUE(lines[1].contains(QStringLiteral("TOVALK Ver1.0")));
  EXPECT_TRUE(lines[1].contains(QStringLiteral("2004/07/22")));
  qsizetype at = 0;
  for (const char* heading : {"[機能]", "[使い方]", "1. 地盤層構成データの設定", "2. 地層データの編集",
                              "3. 地盤増幅特性　", "4. 地盤増幅特性解析法および書式設定"}) {
    const qsizetype found = lines.indexOf(QString::fromUtf8(heading), at);
    EXPECT_GT(found, at - 1) << heading;
    if (found >= 0) at = found + 1;
  }
  for (const char* topic : {"20層", "新規作成", "ファイル読込", "編集", "深度", "スピンボタン", "右クリック",
                            "「設定」", "減衰比", "終了時に保存", "対数"}) {
    EXPECT_TRUE(text.contains(QString::fromUtf8(topic))) << topic;
  }

  // The area takes typing; what was typed stays until the program ends.
  howTo.show();
  memo->moveCursor(QTextCursor::Start);
  QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("メモ"));
  QApplication::sendEvent(memo, &key);
  LeftClick(howTo.findChild<QLabel*>("Image2"), {32, 32});
  EXPECT_FALSE(howTo.isVisible());
  howTo.show();
  EXPECT_TRUE(memo->toPlainText().startsWith(QStringLiteral("メモ")));
  EXPECT_EQ(howTo.findChild<QLabel*>("Image2")->toolTip(), QStringLiteral("閉じる"));
}

TEST(TVersion, ClosesOnAClickAnywhereOnItsPanel) {
  TVersion version;
  EXPECT_EQ(version.findChild<QLabel*>("Label1")->text(), QStringLiteral("TOVALK Ver1.0"));
  EXPECT_EQ(version.findChild<QLabel*>("Label2")->text(), QStringLiteral("2004/07/31"));
  EXPECT_GE(version.findChild<QLabel*>("Label1")->font().pixelSize(), 24);
  EXPECT_EQ(version.findChild<QLabel*>("Image2")->toolTip(), QStringLiteral("閉じる"));

  auto* panel = version.findChild<QWidget*>("Panel1");
  ASSERT_NE(panel, nullptr);
  // The panel's bottom-right corner, away from the picture and the labels.
  const QPoint corner(panel->width() - 6, panel->height() - 6);
  ASSERT_EQ(panel->childAt(corner), nullptr);
  for (const QPoint at : {corner, QPoint(4, 4)}) {
    version.show();
    LeftClick(panel, at);
    EXPECT_FALSE(version.isVisible()) << at.x() << "," << at.y();
  }
  // The version text passes its click on to the panel, and the picture
  // closes the window itself; a right click closes nothing.
  version.show();
  LeftClick(version.findChild<QLabel*>("Label1"), {5, 5});
  EXPECT_FALSE(version.isVisible());
  version.show();
  LeftClick(version.findChild<QLabel*>("Image2"), {32, 32});
  EXPECT_FALSE(version.isVisible());
  version.show();
  QMouseEvent right(QEvent::MouseButtonPress, QPointF(corner), panel->mapToGlobal(QPointF(corner)), Qt::RightButton,
                    Qt::RightButton, Qt::NoModifier);
  QApplication::sendEvent(panel, &right);
  EXPECT_TRUE(version.isVisible());
}

class InstructionNote : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string startDir = folder.path().string();
    windows = std::make_unique<TovalkWindows>(messages, dialogs, clipboard, &startDir);
  }

  void Execute(const char* item) {
    windows->Open.findChild<QRadioButton*>(item)->click();
    windows->Open.findChild<QPushButton*>("Button2")->click();
  }

  static int Notes() {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (qobject_cast<TDataInput*>(widget) && widget->isVisible()) ++count;
    }
    return count;
  }

  TempFolder folder;
  RecordingMessages messages;
  ScriptedDialogs dialogs;
  QtClipboardPort clipboard;
  std::unique_ptr<TovalkWindows> windows;
};

TEST_F(InstructionNote, SecondNewProfileLeavesOneNote) {
  TDataInput& note = windows->DataInput;
  EXPECT_FALSE(note.isVisible());
  EXPECT_TRUE(note.windowFlags() & Qt::WindowStaysOnTopHint);
  Execute("RadioGroup1Item0");  // 新規作成
  EXPECT_TRUE(note.isVisible());
  EXPECT_EQ(Notes(), 1);

  // Reading a file leaves the note where it is: only its close box hides it.
  dialogs.AnswerOpen(FileDialogAnswer{std::string(TOVALK_SOURCE_DIR) + "/examples/five-layers.csv", kCsvFilter});
  Execute("RadioGroup1Item1");
  EXPECT_TRUE(note.isVisible());

  // A second new profile asks before clearing, then shows the same note
  // again.
  Execute("RadioGroup1Item0");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "地盤構成編集画面の全データをクリアしますか？");
  EXPECT_EQ(Notes(), 1);
  EXPECT_TRUE(note.isVisible());
  EXPECT_TRUE(windows->Profile.isVisible());

  // Closed by its close box, it comes back with the next new profile, once.
  note.close();
  EXPECT_EQ(Notes(), 0);
  Execute("RadioGroup1Item0");
  EXPECT_EQ(Notes(), 1);

  auto* memo = note.findChild<QPlainTextEdit*>("Memo1");
  ASSERT_EQ(memo->document()->blockCount(), 7);
  for (int line = 0; line < 7; ++line) {
    EXPECT_EQ(memo->document()->findBlockByNumber(line).text(), QString::fromUtf8(kDataInputLines[line])) << line;
  }
}

// Boxes and dialogs in Japanese whatever the system's locale: a box as wide as
// its line, so no word is cut; the file list's sizes, dates and folders.
TEST(BoxesAndDialogs, ABoxKeepsItsLineWholeAndTheFileListIsJapanese) {
  QtMessagePort messages;
  int lines = 0;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    lines = label->height() / label->fontMetrics().lineSpacing();
    box->button(QMessageBox::Ok)->click();
  });
  messages.Show({"ファイル /home/user/boreholes/b.csv の基盤層（第4層）のＳ波速度が与えられていません！",
                 "データエラー", MessageIcon::Exclamation, MessageButtons::Ok});
  EXPECT_EQ(lines, 1);

  TempFolder folder;
  std::filesystem::create_directory(folder / "sub");
  std::ofstream(folder / "a.csv") << std::string(162, 'x');
  QtFileDialogPort dialogs;
  QStringList size, type, date, folderType;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    auto* view = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
    QAbstractItemModel* model = view->model();
    QElapsedTimer waited;
    waited.start();
    // The file list is read in the background.
    while (model->rowCount(view->rootIndex()) < 2 && waited.elapsed() < 10000) QCoreApplication::processEvents();
    for (int row = 0; row < model->rowCount(view->rootIndex()); ++row) {
      const QModelIndex name = model->index(row, 0, view->rootIndex());
      const auto cell = [&](int column) { return model->index(row, column, view->rootIndex()).data().toString(); };
      if (name.data().toString() == QStringLiteral("a.csv")) {
        size << cell(1);
        date << cell(3);
      } else {
        folderType << cell(2);
      }
    }
    dialog->reject();
  });
  dialogs.RunOpenDialog({"地層構成/増幅特性ファイル (*.csv)|*.csv", folder.path().string()});
  EXPECT_EQ(size, QStringList{QStringLiteral("162 バイト")});
  ASSERT_EQ(date.size(), 1);
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{4}/\\d{2}/\\d{2} \\d{2}:\\d{2}$")).match(date[0]).hasMatch())
      << date[0].toStdString();
  EXPECT_EQ(folderType, QStringList{QStringLiteral("フォルダー")});
}

}  // namespace
