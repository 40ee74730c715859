// The desktop program's windows, built as the entry point builds them and
// driven through their real controls (offscreen), with scripted dialogs and
// recorded message boxes.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "FilePortsFake.h"
#include "TempFolder.h"
#include "app/BatchRun.h"
#include "app/MainWindowController.h"
#include "app/qt/TovalkWindows.h"
#include "graphics/qt/PictureExport.h"
#include "platform/Cp932.h"
#include "platform/qt/QtPorts.h"
#include "windows/SettingsFile.h"

namespace {

const std::string kFiveLayers = std::string(TOVALK_SOURCE_DIR) + "/examples/five-layers.csv";

template <typename T>
T* Find(QWidget& window, const char* name) {
  T* widget = window.findChild<T*>(QString::fromUtf8(name));
  if (!widget) ADD_FAILURE() << "no control " << name;
  return widget;
}

// Types over the field's whole text, as a user's keystrokes do.
void Type(QLineEdit* field, const QString& text) {
  field->selectAll();
  QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
  QApplication::sendEvent(field, &key);
}

void MouseMove(QWidget* widget, int x, int y) {
  QMouseEvent move(QEvent::MouseMove, QPointF(x, y), widget->mapToGlobal(QPointF(x, y)), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(widget, &move);
}

void RightClick(QWidget* widget, int x, int y) {
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(x, y), widget->mapToGlobal(QPointF(x, y)), Qt::RightButton,
                    Qt::RightButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
}

MessageBox StandardError(const std::string& text) {
  return {text, kApplicationTitle, MessageIcon::Stop, MessageButtons::Ok};
}

class MainWindowRoads : public ::testing::Test {
 protected:
  // The windows start in a fresh folder, so tovalk.ini is this test's own.
  void Start() {
    const std::string startDir = folder.path().string();
    windows = std::make_unique<TovalkWindows>(messages, dialogs, clipboard, &startDir);
  }

  void WriteSettingsFile(const AnalysisSettings& settings) {
    std::string bytes;
    ASSERT_TRUE(FormatSettings(settings, bytes));
    folder.Write("tovalk.ini", bytes);
  }

  QWidget& Main() { return windows->Open; }
  Workspace& Work() { return windows->main().workspace(); }
  QString Label(const char* name) { return Find<QLabel>(Main(), name)->text(); }
  void Press(QWidget& window, const char* button) { Find<QPushButton>(window, button)->click(); }

  void Execute(const char* item) {
    Find<QRadioButton>(Main(), item)->click();
    Press(Main(), "Button2");
  }

  void LoadFiveLayers() {
    dialogs.AnswerOpen(FileDialogAnswer{kFiveLayers, kCsvFilter});
    Execute("RadioGroup1Item1");
  }

  void SetCell(int col, int row, const QString& text) {
    Find<QTableWidget>(windows->Profile, "StringGrid1")->item(row, col)->setText(text);
  }

  TempFolder folder;
  RecordingMessages messages;
  ScriptedDialogs dialogs;
  QtClipboardPort clipboard;
  std::unique_ptr<TovalkWindows> windows;
};

TEST_F(MainWindowRoads, NewProfileTypedIntoTheGridIsAnalysedListedAndSavedAsTheBatchWritesIt) {
  Start();
  Execute("RadioGroup1Item0");  // 新規作成
  EXPECT_TRUE(messages.shown.empty()) << "the first new profile clears nothing and asks nothing";
  EXPECT_TRUE(windows->Profile.isVisible());
  EXPECT_TRUE(windows->DataInput.isVisible());
  EXPECT_FALSE(Find<QPushButton>(Main(), "Button3")->isEnabled());
  EXPECT_TRUE(Find<QPushButton>(Main(), "Button7")->isEnabled());

  // The profile of examples/five-layers.csv, typed.
  Type(Find<QLineEdit>(windows->Profile, "EdSite"), QStringLiteral("湾岸地点Ｂ"));
  const char* layers[5][3] = {{"2.00", "1.80", "140"},
                              {"6.00", "1.60", "110"},
                              {"8.00", "1.80", "180"},
                              {"10.00", "1.70", "220"},
                              {"12.00", "1.90", "320"}};
  for (int row = 1; row <= 5; ++row) {
    for (int col = 1; col <= 3; ++col) SetCell(col, row, QString::fromUtf8(layers[row - 1][col - 1]));
  }
  SetCell(2, 6, QStringLiteral("2.10"));
  SetCell(3, 6, QStringLiteral("500"));
  Press(windows->Profile, "Button2");  // 地層図
  ASSERT_TRUE(messages.shown.empty()) << messages.shown.front().text;

  EXPECT_EQ(Work().profile.layerCount, 5);
  for (const char* name : {"Button3", "Button7", "BtnAmplitude", "Button8", "Button4"}) {
    EXPECT_TRUE(Find<QPushButton>(Main(), name)->isEnabled()) << name;
  }
  EXPECT_TRUE(Find<QCheckBox>(Main(), "CheckBox1")->isEnabled());
  EXPECT_EQ(Label("Label4"), QStringLiteral("伝達ﾏﾄﾘｯｸｽ解析"));
  EXPECT_EQ(Label("Label5"), QStringLiteral("履歴型減衰/減衰比　0.05"));
  // Until the settings are first applied the analysis runs at 400 points.
  EXPECT_EQ(Work().result.pointCount, 400);
  EXPECT_EQ(windows->AmpList.RowCount(), 401);
  EXPECT_EQ(windows->AmpList.ColCount(), 7);
  EXPECT_EQ(windows->AmpList.Cell(2, 0), QStringLiteral(" 第 1 層"));
  EXPECT_TRUE(windows->Display.isVisible());
  // The chart's frame: the 2-pixel left edge covers columns 49 and 50.
  const QImage& chart = windows->Open.chartPicture().image();
  EXPECT_EQ(chart.pixel(50, 200), qRgb(0, 0, 0));
  EXPECT_EQ(chart.pixel(49, 200), qRgb(0, 0, 0));
  EXPECT_EQ(chart.pixel(48, 200), qRgb(255, 255, 255));

  // "保 存" with a name typed without extension under the "*.csv" filter.
  dialogs.AnswerSave(FileDialogAnswer{folder / "typed", kCsvFilter});
  Press(Main(), "Button8");
  ASSERT_TRUE(messages.shown.empty()) << messages.shown.front().text;
  ASSERT_EQ(dialogs.saveRequests.size(), 1u);
  EXPECT_EQ(dialogs.saveRequests[0].filter, kSaveDialogFilter);
  EXPECT_EQ(Label("Label3"), QStringLiteral("ﾌｧｲﾙ名 : ")) << "a saved result does not rename the profile";

  AnalysisSettings batchSettings;
  batchSettings.pointChoice = PointChoice::Points400;  // 400 points, as the window analysed
  const std::string batchFile = folder / "batch-result.csv";
  const BatchFileOutcome batch = RunBatchFile(kFiveLayers, batchFile, batchSettings);
  ASSERT_TRUE(batch.ok);
  const std::string saved = TempFolder::Read(folder / "typed.csv");
  EXPECT_FALSE(saved.empty());
  EXPECT_EQ(saved, TempFolder::Read(batchFile));
}

TEST_F(MainWindowRoads, LoadedFileIsDrawnInTheRememberedFormat) {
  AnalysisSettings remembered;
  remembered.method = AnalysisMethod::LumpedMass;
  remembered.dampingForm = DampingForm::Viscous;
  remembered.dampingText = "0.03";
  remembered.xLower = "0.1";
  remembered.xUpper = "10";
  remembered.xDivisions = 2;
  remembered.xSubDivisions = 3;
  remembered.xQuantity = XQuantity::Frequency;
  remembered.xScale = ScaleKind::Logarithmic;
  remembered.yUpper = "10";
  remembered.yDivisions = 5;
  remembered.ySubDivisions = 2;
  remembered.pointChoice = PointChoice::Points100;
  WriteSettingsFile(remembered);
  Start();

  LoadFiveLayers();
  ASSERT_TRUE(messages.shown.empty()) << messages.shown.front().text;
  ASSERT_EQ(dialogs.openRequests.size(), 1u);
  EXPECT_EQ(dialogs.openRequests[0].filter, kOpenDialogFilter);
  EXPECT_EQ(dialogs.openRequests[0].initialFolder, folder.path().string());
  EXPECT_EQ(Label("Label3"), QStringLiteral("ﾌｧｲﾙ名 : five-layers.csv"));
  EXPECT_EQ(Label("Label4"), QStringLiteral("等価質点系解析"));
  EXPECT_EQ(Label("Label5"), QStringLiteral("粘性型減衰/減衰比　0.03"));
  EXPECT_TRUE(Find<QCheckBox>(Main(), "CBTest")->isEnabled());
  EXPECT_TRUE(Find<QRadioButton>(Main(), "RadioGroup1Item2")->isEnabled());
  EXPECT_EQ(Work().result.pointCount, 100);

  const TMyGraph& graph = windows->main().chart();
  EXPECT_FALSE(graph.LinearX);
  EXPECT_EQ(graph.NGridX, 2);
  EXPECT_EQ(graph.SubX, 3);
  EXPECT_EQ(graph.SubY, 2);
  EXPECT_EQ(graph.TitleX, "振動数 (Hz)");

  // Pixel for pixel the picture tovalk-batch draws for the same file and settings.
  QtCanvas expected(kChartPictureWidth, kChartPictureHeight);
  EXPECT_EQ(RenderChartPicture(expected, {Work().profile, Work().result, remembered}), "");
  EXPECT_TRUE(expected.image() == windows->Open.chartPicture().image());

  // The tables of natural periods come with the check box.
  Find<QCheckBox>(Main(), "CBTest")->click();
  auto* periods = Find<QTableWidget>(Main(), "MatGrid2");
  EXPECT_TRUE(periods->isVisibleTo(&Main()));
  EXPECT_EQ(periods->rowCount(), 6);
  EXPECT_EQ(periods->item(0, 1)->text(), QStringLiteral(" 固有周期(s)"));
  EXPECT_GE(periods->columnWidth(1), periods->fontMetrics().horizontalAdvance(periods->item(0, 1)->text()))
      << "a heading or value is never cut short";

  // The copy buttons put the pictures themselves on the clipboard.
  Press(Main(), "Button4");
  EXPECT_TRUE(QGuiApplication::clipboard()->image() == windows->Open.stratumPicture().image());
  Press(Main(), "Button5");
  EXPECT_TRUE(QGuiApplication::clipboard()->image() == windows->Open.chartPicture().image());
}

TEST_F(MainWindowRoads, ChartReadoutFollowsTheMouseAndTheRightButtonOpensTheSettings) {
  Start();
  LoadFiveLayers();
  auto* chart = Find<QWidget>(Main(), "MyGraph1");
  EXPECT_EQ(chart->size(), QSize(441, 441));
  MouseMove(chart, 230, 210);
  EXPECT_EQ(Label("Label6"), QStringLiteral("2.50(s)"));
  EXPECT_EQ(Label("Label7"), QStringLiteral("10.00"));
  MouseMove(chart, 49, 210);
  EXPECT_EQ(Label("Label6"), QString());
  EXPECT_EQ(Label("Label7"), QString());

  windows->Display.hide();
  RightClick(chart, 100, 100);
  EXPECT_TRUE(windows->Display.isVisible());
}

TEST_F(MainWindowRoads, ApplyRefusesABadAxisWithItsMessageAndChangesNothing) {
  Start();
  LoadFiveLayers();
  ASSERT_TRUE(messages.shown.empty());
  const QImage chartBefore = windows->Open.chartPicture().image().copy();
  const AmplificationResult resultBefore = Work().result;

  Find<QRadioButton>(windows->Display, "RGPointsItem0")->click();  // 100 points
  Type(Find<QLineEdit>(windows->Display, "Edit4"), QStringLiteral("-1"));
  Type(Find<QLineEdit>(windows->Display, "Edit3"), QStringLiteral("30"));  // the y axis is bad too
  Press(windows->Display, "Button2");                                      // 設定

  ASSERT_EQ(messages.shown.size(), 1u) << "only the horizontal axis is reported";
  EXPECT_EQ(messages.shown[0], ErrorBox("縦横軸の目盛りに負の値は設定できません", "軸目盛り設定エラー"));
  EXPECT_EQ(Work().result.pointCount, 200);
  EXPECT_EQ(Work().result.frequency, resultBefore.frequency);
  EXPECT_EQ(windows->main().chart().SValueX, 0.0f);
  EXPECT_TRUE(windows->Open.chartPicture().image() == chartBefore);
  EXPECT_EQ(Work().settings.xLower, "-1") << "the typed text stays in its field";
}

TEST_F(MainWindowRoads, ConversionErrorLeavesTheWindowsUsableAndTheProfileIntact) {
  Start();
  // A file whose first thickness is not a number: the execute action ends at
  // once, so even its common enabling step does not run.
  const std::string bad = Utf8ToCp932(
                              "サイト名,不良\r\n層数,2\r\n層番号,層厚(m),密度,S波速度(m/s)\r\n"
                              "1,abc,1.80,140\r\n2,6.00,1.60,110\r\n,,2.10,500\r\n")
                              .value();
  const std::string badPath = folder.Write("bad.csv", bad);
  dialogs.AnswerOpen(FileDialogAnswer{badPath, kCsvFilter});
  Execute("RadioGroup1Item1");
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], StandardError("ファイル " + badPath + " の 4 行目: 'abc' は浮動小数点数ではありません"));
  EXPECT_EQ(Work().profile.layerCount, 0);
  EXPECT_TRUE(windows->main().firstExecute());
  EXPECT_FALSE(Find<QRadioButton>(Main(), "RadioGroup1Item2")->isEnabled());
  EXPECT_FALSE(windows->Profile.isVisible());

  // The same window then reads a good file.
  LoadFiveLayers();
  ASSERT_EQ(messages.shown.size(), 1u) << messages.shown.back().text;
  ASSERT_EQ(Work().profile.layerCount, 5);
  const QImage chartBefore = windows->Open.chartPicture().image().copy();

  // A bad cell typed in edit mode, taken over by "地層図".
  Execute("RadioGroup1Item2");  // 編集
  SetCell(1, 1, QStringLiteral("x1"));
  Press(Main(), "Button3");
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[1], StandardError("'x1' は浮動小数点数ではありません"));
  EXPECT_EQ(Work().profile.layers[0].thickness, 2.0f);
  EXPECT_EQ(Work().profile.totalDepth, 38.0f);
  EXPECT_TRUE(windows->Open.chartPicture().image() == chartBefore);
  EXPECT_TRUE(Find<QPushButton>(Main(), "Button3")->isEnabled());

  // Mended, the same button goes through.
  SetCell(1, 1, QStringLiteral("3.00"));
  Press(Main(), "Button3");
  EXPECT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(Work().profile.layers[0].thickness, 3.0f);
  EXPECT_EQ(Work().profile.totalDepth, 39.0f);
  EXPECT_FALSE(windows->Open.chartPicture().image() == chartBefore);
}

TEST_F(MainWindowRoads, MenuMarksFollowTheProgramAndTheCloseBoxWritesNoSettings) {
  Start();
  auto* multi = windows->Open.findChild<QAction*>(QStringLiteral("MenuMultiColour"));
  auto* single = windows->Open.findChild<QAction*>(QStringLiteral("MenuSingleColour"));
  auto* thin = windows->Open.findChild<QAction*>(QStringLiteral("MenuThin"));
  auto* bold = windows->Open.findChild<QAction*>(QStringLiteral("MenuBold"));
  ASSERT_TRUE(multi && single && thin && bold);
  EXPECT_TRUE(multi->isChecked());
  EXPECT_TRUE(bold->isChecked());

  // Choosing the item already chosen must not take its mark away.
  multi->trigger();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], ErrorBox("地層データが与えられておりません", "データエラー"));
  EXPECT_TRUE(multi->isChecked());
  EXPECT_FALSE(single->isChecked());

  thin->trigger();
  EXPECT_TRUE(thin->isChecked());
  EXPECT_FALSE(bold->isChecked());
  EXPECT_FALSE(Work().settings.boldCurves);
  EXPECT_FALSE(Find<QCheckBox>(windows->Display, "CBBold")->isChecked());

  bool closed = false;
  QObject::connect(&windows->Open, &TOpen::Closed, [&] { closed = true; });
  windows->Open.show();
  windows->Display.show();
  windows->Open.close();
  EXPECT_TRUE(closed);
  EXPECT_FALSE(windows->Display.isVisible()) << "the secondary windows go with the main window";
  EXPECT_EQ(messages.shown.size(), 1u) << "no question";
  EXPECT_FALSE(std::filesystem::exists(folder / "tovalk.ini"));
}

TEST(MainWindowLayout, FixedClientAreaCaptionAndStartState) {
  RecordingMessages messages;
  ScriptedDialogs dialogs;
  QtClipboardPort clipboard;
  TempFolder folder;
  const std::string startDir = folder.path().string();
  TovalkWindows windows(messages, dialogs, clipboard, &startDir);
  TOpen& open = windows.Open;
  EXPECT_EQ(open.windowTitle(), QStringLiteral("地盤増幅特性解析システム　TOVALK Ver1.0"));
  EXPECT_EQ(open.centralWidget()->size(), QSize(849, 524));
  EXPECT_EQ(open.minimumSize(), open.maximumSize());
  EXPECT_EQ(Find<QWidget>(open, "Image2")->size(), QSize(233, 441));
  EXPECT_EQ(Find<QWidget>(open, "MyGraph1")->toolTip(), QStringLiteral("右ｸﾘｯｸで解析法/書式設定"));
  EXPECT_EQ(Find<QWidget>(open, "Image3")->toolTip(), QStringLiteral("バージョン情報"));
  EXPECT_EQ(Find<QRadioButton>(open, "RadioGroup1Item2")->text(), QStringLiteral("編　　集"));
  EXPECT_TRUE(Find<QRadioButton>(open, "RadioGroup1Item1")->isChecked());
  EXPECT_FALSE(Find<QRadioButton>(open, "RadioGroup1Item3")->isEnabled());
  EXPECT_FALSE(Find<QWidget>(open, "MatGrid1")->isVisibleTo(&open));
  EXPECT_EQ(Find<QLabel>(open, "Label4")->text(), QStringLiteral("解析手法"));
  EXPECT_EQ(Find<QLabel>(open, "Label6")->text(), QString());
  EXPECT_TRUE(messages.shown.empty());
}

// ---------------------------------------------------------------------------
// The Qt ports

TEST(QtPorts, FilterListsKeepTheirTitles) {
  EXPECT_EQ(ToQtNameFilters(kSaveDialogFilter), (QStringList{QStringLiteral("地層構成/増幅特性ﾌｧｲﾙ (*.csv)"),
                                                             QStringLiteral("地層構成/増幅特性ﾌｧｲﾙ (*.*)")}));
  EXPECT_EQ(ToQtNameFilters("Text|*.txt"), QStringList{QStringLiteral("Text (*.txt)")});
}

// Answers the modal dialog the next event-loop turn brings up.
template <typename Dialog, typename Answer>
void WhenShown(Answer answer) {
  QTimer::singleShot(0, [answer] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    if (!dialog) {
      ADD_FAILURE() << "no modal dialog";
      return;
    }
    answer(dialog);
  });
}

TEST(QtPorts, SaveDialogAddsNoSuffixAsksNothingAndReportsTheFilter) {
  TempFolder folder;
  folder.Write("exists", "x");
  QtFileDialogPort port;
  WhenShown<QFileDialog>([&](QFileDialog* dialog) {
    EXPECT_TRUE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(dialog->defaultSuffix(), QString());
    EXPECT_EQ(dialog->directory().absolutePath(), ToQString(folder.path().string()));
    dialog->selectNameFilter(ToQtNameFilters(kSaveDialogFilter)[1]);
    dialog->selectFile(ToQString(folder / "exists"));
    QMetaObject::invokeMethod(dialog, "accept");
  });
  const auto answer = port.RunSaveDialog({kSaveDialogFilter, folder.path().string()});
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->path, folder / "exists");
  EXPECT_EQ(answer->filterIndex, kAllFilesFilter);

  WhenShown<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
  EXPECT_FALSE(port.RunOpenDialog({kOpenDialogFilter, folder.path().string()}));
}

TEST(QtPorts, MessageBoxShowsTheBoxAndReturnsTheButton) {
  QtMessagePort port;
  WhenShown<QMessageBox>([](QMessageBox* box) {
    EXPECT_EQ(box->windowTitle(), QStringLiteral("プログラムの終了"));
    EXPECT_EQ(box->text(), QStringLiteral("プログラムを終了してもよろしいですか？"));
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
    box->button(QMessageBox::Cancel)->click();
  });
  EXPECT_EQ(port.Show(QuestionBox("プログラムを終了してもよろしいですか？", "プログラムの終了")),
            MessageResult::Cancel);

  WhenShown<QMessageBox>([](QMessageBox* box) {
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    box->button(QMessageBox::Ok)->click();
  });
  EXPECT_EQ(port.Show(StandardError("0 による浮動小数点数除算")), MessageResult::Ok);
}

}  // namespace
