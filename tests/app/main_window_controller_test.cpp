#include "app/MainWindowController.h"

#include <gtest/gtest.h>

#include <cstring>

#include "FakeWindows.h"
#include "TempFolder.h"
#include "platform/Cp932.h"
#include "platform/Errors.h"
#include "windows/SettingsFile.h"

namespace {

using C = MainControl;

std::string ExampleFile(const char* name) { return std::string(TOVALK_SOURCE_DIR) + "/examples/" + name; }

class MainWindowTest : public ::testing::Test {
 protected:
  TempFolder start;
  Program p{start.path().string()};

  void TypeThreeLayers() {
    p.TypeProfile({{"2", "1.8", "150"}, {"3", "1.9", "250"}, {"5", "2.0", "400"}}, "2.1", "700");
  }
  void NewProfile() {
    p.mainView.radio = kItemNew;
    p.main.Button2Click();
  }
};

TEST_F(MainWindowTest, StartStateEnablesOnlyTheProfileEntryPoints) {
  for (C control : {C::RadioItemEdit, C::RadioItemSave, C::Button3, C::Button7, C::BtnAmplitude, C::Button8, C::Button4,
                    C::Button5, C::CBTest, C::CheckBox1}) {
    EXPECT_FALSE(p.mainView.On(control)) << static_cast<int>(control);
  }
  for (C control : {C::Button2, C::Button1, C::Button6}) EXPECT_TRUE(p.mainView.On(control));
  EXPECT_EQ(p.mainView.radio, kItemLoad);
  EXPECT_TRUE(p.mainView.menu[MainMenuMark::MultiColour]);
  EXPECT_TRUE(p.mainView.menu[MainMenuMark::Bold]);
  EXPECT_FALSE(p.mainView.menu[MainMenuMark::Thin]);
  EXPECT_EQ(p.mainView.labels[MainLabel::Label3], "ﾌｧｲﾙ名 : ");
  EXPECT_EQ(p.mainView.labels[MainLabel::Label4], "解析手法");
  EXPECT_EQ(p.mainView.labels[MainLabel::Label5], "解析条件");
  EXPECT_EQ(p.mainView.labels[MainLabel::Label6], "");
  EXPECT_TRUE(p.main.firstExecute());
  EXPECT_EQ(p.ws().result.pointCount, 400);
  EXPECT_EQ(p.ws().profile.layerCount, 0);
  EXPECT_FALSE(p.mainView.matGridsVisible);
}

TEST_F(MainWindowTest, ColourMenuWithoutProfileSaysSoAndChangesNothingElse) {
  p.main.MenuSingleColourClick();
  ASSERT_EQ(p.messages.shown.size(), 1u);
  EXPECT_EQ(p.messages.shown[0], ErrorBox("地層データが与えられておりません", "データエラー"));
  EXPECT_TRUE(p.mainView.menu[MainMenuMark::SingleColour]);
  EXPECT_FALSE(p.mainView.On(C::Button4));
  EXPECT_TRUE(p.mainView.visible.empty());
}

TEST_F(MainWindowTest, OnlyLaterNewProfilesAskToClear) {
  NewProfile();
  EXPECT_TRUE(p.messages.shown.empty());  // no clear question the first time
  EXPECT_TRUE(p.editorView.cbEdit);
  EXPECT_EQ(p.ws().grid.UpDown1Position(), 5);
  EXPECT_EQ(p.ws().grid.Cell(0, 6), "基盤層");
  EXPECT_EQ(p.mainView.shownOrder, (std::vector{SecondaryWindow::Profile, SecondaryWindow::DataInput}));
  EXPECT_FALSE(p.main.firstExecute());
  // The common step re-enables "地層ﾃﾞｰﾀ"; the others wait for a valid profile.
  EXPECT_TRUE(p.mainView.On(C::Button7));
  EXPECT_FALSE(p.mainView.On(C::Button3));
  EXPECT_FALSE(p.mainView.On(C::BtnAmplitude));
  EXPECT_FALSE(p.editorView.enabled[EditorControl::Button4]);
  EXPECT_EQ(p.settingsView.boxes[4], true);
  EXPECT_EQ(p.settingsView.boxes[5], false);
  // The first keys go into the top layer's thickness.
  EXPECT_TRUE(p.editorView.typingAt == ProfileGrid::kFirstTypedCell);
  p.editorView.typingAt.reset();
  p.mainView.radio = kItemEdit;
  p.main.Button2Click();
  EXPECT_TRUE(p.editorView.typingAt == ProfileGrid::kFirstTypedCell);

  TypeThreeLayers();
  p.ws().grid.Label7 = "ﾌｧｲﾙ名 : old.csv";
  p.messages.replies = {MessageResult::Ok};
  NewProfile();
  ASSERT_EQ(p.messages.shown.size(), 1u);
  EXPECT_EQ(p.messages.shown[0].text, "地盤構成編集画面の全データをクリアしますか？");
  EXPECT_EQ(p.ws().grid.Cell(1, 1), "");
  EXPECT_EQ(p.ws().grid.Label7, "ﾌｧｲﾙ名 : ");
}

TEST_F(MainWindowTest, CancelledClearKeepsTheGridAndTheFileLabel) {
  NewProfile();
  TypeThreeLayers();
  p.ws().grid.Label7 = "ﾌｧｲﾙ名 : old.csv";
  p.messages.replies = {MessageResult::Cancel};
  NewProfile();
  EXPECT_EQ(p.ws().grid.Cell(1, 1), "2");
  EXPECT_EQ(p.ws().grid.Label7, "ﾌｧｲﾙ名 : old.csv");
}

TEST_F(MainWindowTest, CancelledOpenDialogStillRunsTheCommonStep) {
  p.main.Button2Click();  // "ﾌｧｲﾙ読込" is selected at start
  ASSERT_EQ(p.dialogs.openRequests.size(), 1u);
  EXPECT_EQ(p.dialogs.openRequests[0].initialFolder, start.path().string());
  for (C control : {C::RadioItemEdit, C::RadioItemSave, C::Button5, C::Button7}) EXPECT_TRUE(p.mainView.On(control));
  EXPECT_FALSE(p.mainView.On(C::Button3));
  EXPECT_FALSE(p.main.firstExecute());
}

TEST_F(MainWindowTest, LoadingAFileDrawsAnalysesAndShowsEverything) {
  p.dialogs.AnswerOpen(FileDialogAnswer{ExampleFile("five-layers.csv"), kCsvFilter});
  p.main.Button2Click();
  EXPECT_EQ(p.ws().profile.layerCount, 5);
  EXPECT_EQ(p.mainView.labels[MainLabel::Label3], "ﾌｧｲﾙ名 : five-layers.csv");
  EXPECT_FALSE(p.editorView.cbEdit);
  EXPECT_FALSE(p.editorView.enabled[EditorControl::Button2]);
  for (C control : {C::Button3, C::Button4, C::BtnAmplitude, C::Button8, C::CheckBox1, C::Button5, C::Button7}) {
    EXPECT_TRUE(p.mainView.On(control)) << static_cast<int>(control);
  }
  EXPECT_FALSE(p.mainView.On(C::CBTest));  // transfer matrix is the default method
  EXPECT_EQ(p.mainView.labels[MainLabel::Label4], "伝達ﾏﾄﾘｯｸｽ解析");
  EXPECT_EQ(p.mainView.labels[MainLabel::Label5], "履歴型減衰/減衰比　0.05");
  EXPECT_EQ(p.ws().result.pointCount, 200);  // the settings' choice, applied
  EXPECT_EQ(p.list.table.columns, 7);
  EXPECT_EQ(p.list.table.rows, 201);
  EXPECT_TRUE(p.mainView.visible.count(SecondaryWindow::Display));
  EXPECT_TRUE(p.mainView.visible.count(SecondaryWindow::Profile));
  EXPECT_EQ(p.mainView.modes.Cell(0, 0), "固有モード");
  EXPECT_EQ(p.mainView.periods.Cell(1, 0), " 固有周期(s)");
  EXPECT_EQ(p.mainView.periods.RowCount(), 6);
  EXPECT_TRUE(p.messages.shown.empty());
}

TEST_F(MainWindowTest, ConversionErrorInTheGridSkipsTheCommonStep) {
  NewProfile();  // firstExecute false from here on
  p.mainView.enabled[C::Button5] = false;
  TypeThreeLayers();
  p.ws().grid.SetCell(2, 2, "1..9");
  p.mainView.radio = kItemSave;
  EXPECT_THROW(p.main.Button2Click(), ConversionError);
  EXPECT_FALSE(p.mainView.On(C::Button5));
  EXPECT_EQ(p.ws().profile.layerCount, 0);
  EXPECT_TRUE(p.dialogs.saveRequests.empty());
}

TEST_F(MainWindowTest, ConversionErrorOnTheFirstExecuteKeepsFirstExecute) {
  TempFolder files;
  const std::string bad = files.Write("bad.csv", "x,a\r\nn,2\r\nh\r\n1,abc,1.8,150\r\n2,1,1,1\r\n,,2,700\r\n");
  p.dialogs.AnswerOpen(FileDialogAnswer{bad, kAllFilesFilter});
  EXPECT_THROW(p.main.Button2Click(), ConversionError);
  EXPECT_TRUE(p.main.firstExecute());
  EXPECT_FALSE(p.mainView.On(C::RadioItemEdit));
  EXPECT_EQ(p.ws().profile.layerCount, 0);
}

TEST_F(MainWindowTest, ProfileDataOnAnEmptyGridWarnsAndStillShowsTheEditor) {
  NewProfile();
  p.mainView.visible.clear();
  p.main.Button7Click();
  ASSERT_EQ(p.messages.shown.size(), 1u);
  EXPECT_EQ(p.messages.shown[0], ErrorBox("数値の入っていないセルがあります！", "データエラー"));
  EXPECT_TRUE(p.mainView.visible.count(SecondaryWindow::Profile));
  EXPECT_FALSE(p.mainView.On(C::Button3));
}

TEST_F(MainWindowTest, StratumButtonWithoutProfileWarns) {
  p.main.Button3Click();
  ASSERT_EQ(p.messages.shown.size(), 1u);
  EXPECT_EQ(p.messages.shown[0].caption, "データエラー");
  EXPECT_EQ(p.messages.shown[0].icon, MessageIcon::Exclamation);
}

TEST_F(MainWindowTest, EditorApplyEnablesDrawsAndAnalyses) {
  NewProfile();
  TypeThreeLayers();
  p.editor.Button2Click();
  EXPECT_EQ(p.ws().profile.layerCount, 3);
  for (C control : {C::Button3, C::Button7, C::BtnAmplitude, C::Button4, C::Button8, C::CheckBox1}) {
    EXPECT_TRUE(p.mainView.On(control)) << static_cast<int>(control);
  }
  EXPECT_TRUE(p.editorView.enabled[EditorControl::Button4]);
  EXPECT_TRUE(p.ws().result.complete);
  EXPECT_FALSE(p.stratum.ops().empty());

  // A count still in the editor's field when the main window saves the
  // profile is applied by the take-over, and the layer boxes follow it.
  p.ws().grid.SetEdit1Text("2");
  p.mainView.radio = kItemSave;
  p.main.Button2Click();  // the dialog is cancelled; the take-over has run
  EXPECT_EQ(p.ws().profile.layerCount, 2);
  EXPECT_TRUE(p.settingsView.boxes[1]);
  EXPECT_FALSE(p.settingsView.boxes[2]);
}

TEST_F(MainWindowTest, ExitByButtonAsksAndWritesSettingsIntoTheStartFolder) {
  const std::filesystem::path ini = start.path() / "tovalk.ini";
  TempFolder elsewhere;
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(elsewhere.path());

  p.messages.replies = {MessageResult::Cancel};
  p.main.Button1Click();
  EXPECT_EQ(p.messages.shown.back(), QuestionBox("プログラムを終了してもよろしいですか？", "プログラムの終了"));
  EXPECT_FALSE(p.mainView.closed);
  EXPECT_FALSE(std::filesystem::exists(ini));

  p.ws().settings.method = AnalysisMethod::LumpedMass;
  p.main.Button1Click();
  EXPECT_TRUE(p.mainView.closed);
  std::filesystem::current_path(before);
  ASSERT_TRUE(std::filesystem::exists(ini));
  EXPECT_FALSE(std::filesystem::exists(elsewhere.path() / "tovalk.ini"));
  AnalysisSettings read;
  LoadSettings(ini, read);
  EXPECT_EQ(read.method, AnalysisMethod::LumpedMass);
}

TEST_F(MainWindowTest, ExitByMenuWritesNothing) {
  p.ws().settings.method = AnalysisMethod::Reflection;
  p.main.MenuExitClick();
  EXPECT_TRUE(p.mainView.closed);
  EXPECT_TRUE(p.messages.shown.empty());
  EXPECT_FALSE(std::filesystem::exists(start.path() / "tovalk.ini"));
}

TEST_F(MainWindowTest, SettingsThatCannotBeWrittenAreReportedAndTheProgramStillEnds) {
  Program q{(start.path() / "no-such-folder").string()};
  q.main.Button1Click();
  EXPECT_TRUE(q.mainView.closed);
  ASSERT_EQ(q.messages.shown.size(), 2u);
  EXPECT_EQ(q.messages.shown[1].caption, "ファイルエラー");
}

TEST_F(MainWindowTest, LineWidthMenuAndBoldBoxAgree) {
  p.main.MenuThinClick();
  EXPECT_FALSE(p.ws().settings.boldCurves);
  EXPECT_TRUE(p.mainView.menu[MainMenuMark::Thin]);
  EXPECT_FALSE(p.mainView.menu[MainMenuMark::Bold]);
  p.ws().settings.boldCurves = true;  // the box ticked in the settings window
  p.settings.CBBoldClick();
  EXPECT_FALSE(p.mainView.menu[MainMenuMark::Thin]);
  EXPECT_TRUE(p.mainView.menu[MainMenuMark::Bold]);
}

TEST_F(MainWindowTest, ThinLinesTakeEffectAtTheNextDrawing) {
  p.dialogs.AnswerOpen(FileDialogAnswer{ExampleFile("single-layer.csv"), kCsvFilter});
  p.main.Button2Click();
  auto curvePenWidth = [&] {
    for (const DrawOp& op : p.chart.ops()) {
      if (op.kind == DrawOp::Kind::LineTo && op.pen.colour == kDefaultLayerColours[0]) return op.pen.width;
    }
    return 0;
  };
  EXPECT_EQ(curvePenWidth(), 2);
  p.main.MenuThinClick();
  EXPECT_EQ(curvePenWidth(), 2);  // nothing redrawn yet
  p.chart.ClearLog();
  p.main.BtnAmplitudeClick();
  EXPECT_EQ(curvePenWidth(), 1);
}

TEST_F(MainWindowTest, ChecksShowAndHideTablesAndList) {
  p.mainView.cbTest = true;
  p.main.CBTestClick();
  EXPECT_TRUE(p.mainView.matGridsVisible);
  p.mainView.cbTest = false;
  p.main.CBTestClick();
  EXPECT_FALSE(p.mainView.matGridsVisible);
  p.mainView.checkBox1 = true;
  p.main.CheckBox1Click();
  EXPECT_TRUE(p.mainView.visible.count(SecondaryWindow::AmpList));
  p.mainView.checkBox1 = false;
  p.main.CheckBox1Click();
  EXPECT_FALSE(p.mainView.visible.count(SecondaryWindow::AmpList));
}

TEST_F(MainWindowTest, CursorReadoutWorksBeforeAnyChart) {
  p.main.MyGraph1MouseMove(50, 390);
  EXPECT_EQ(p.mainView.labels[MainLabel::Label6], "0.00(s)");
  EXPECT_EQ(p.mainView.labels[MainLabel::Label7], "0.00");
  p.main.MyGraph1MouseMove(49, 390);
  EXPECT_EQ(p.mainView.labels[MainLabel::Label6], "");
  p.main.MyGraph1MouseDown(false);
  EXPECT_FALSE(p.mainView.visible.count(SecondaryWindow::Display));
  p.main.MyGraph1MouseDown(true);
  EXPECT_TRUE(p.mainView.visible.count(SecondaryWindow::Display));
}

TEST_F(MainWindowTest, SavingAResultWithoutAnalysisIsRefused) {
  NewProfile();
  TypeThreeLayers();
  p.main.MenuSaveResultClick();
  EXPECT_TRUE(p.mainView.On(C::Button3));  // the grid was taken over
  ASSERT_EQ(p.messages.shown.size(), 1u);
  EXPECT_EQ(p.messages.shown[0].caption, "データエラー");
  EXPECT_TRUE(p.dialogs.saveRequests.empty());
}

TEST_F(MainWindowTest, CommandLineFileIsReadAsTheOpenDialogWouldRead) {
  p.main.OpenFromCommandLine(ExampleFile("twenty-layers.csv"));
  EXPECT_EQ(p.ws().profile.layerCount, 20);
  EXPECT_TRUE(p.dialogs.openRequests.empty());
  EXPECT_TRUE(p.mainView.On(C::Button8));
}

TEST_F(MainWindowTest, AUtf8ProfileLoadedAndSavedGivesTheResultOfItsCp932Twin) {
  // "ﾌｧｲﾙ読込", "実 行", then "保 存" from the menu, once for the CP932 file
  // and once for each UTF-8 twin, starting from the same settings.
  const std::string cp932 = TempFolder::Read(ExampleFile("velocity-inversion.csv"));
  const std::string utf8 = Cp932ToUtf8(cp932).value();
  std::vector<std::string> results;
  for (const std::string& bytes : {cp932, "\xEF\xBB\xBF" + utf8, utf8}) {
    Program run{start.path().string()};
    const std::string name = "in" + std::to_string(results.size());
    run.dialogs.AnswerOpen(FileDialogAnswer{start.Write(name + ".csv", bytes), kCsvFilter});
    run.main.Button2Click();
    run.dialogs.AnswerSave(FileDialogAnswer{start / (name + "-result.csv"), kAllFilesFilter});
    run.main.MenuSaveResultClick();
    EXPECT_TRUE(run.messages.shown.empty());
    results.push_back(TempFolder::Read(start / (name + "-result.csv")));
  }
  ASSERT_GT(results[0].size(), 1000u);
  EXPECT_EQ(results[1], results[0]);
  EXPECT_EQ(results[2], results[0]);
}

TEST_F(MainWindowTest, MistypedFilesAndANegativeRatioAreRefusedAndTheLoadedProfileStays) {
  p.dialogs.AnswerOpen(FileDialogAnswer{ExampleFile("five-layers.csv"), kCsvFilter});
  p.main.Button2Click();
  ASSERT_TRUE(p.messages.shown.empty());
  const SoilProfile profile = p.ws().profile;
  const ProfileGrid grid = p.ws().grid;
  const auto amplification = p.ws().result.amplification;
  const auto chartOps = p.chart.ops().size();
  auto unchanged = [&](const std::string& what) {
    EXPECT_EQ(p.ws().profile.layerCount, 5) << what;
    EXPECT_EQ(std::memcmp(&p.ws().profile.layers, &profile.layers, sizeof profile.layers), 0) << what;
    for (int row = 0; row < ProfileGrid::kRows; ++row)
      for (int col = 0; col < ProfileGrid::kColumns; ++col)
        EXPECT_EQ(p.ws().grid.Cell(col, row), grid.Cell(col, row)) << what << " " << col << "," << row;
    EXPECT_EQ(p.mainView.labels[MainLabel::Label3], "ﾌｧｲﾙ名 : five-layers.csv") << what;
    EXPECT_EQ(p.ws().grid.Label7, "ﾌｧｲﾙ名 : five-layers.csv") << what;
    EXPECT_EQ(p.ws().result.amplification, amplification) << what;
    EXPECT_EQ(p.chart.ops().size(), chartOps) << what;  // nothing drawn
  };

  // The base record of a three-layer file is a layer of the five loaded, so
  // an empty base field must not borrow its values.
  TempFolder files;
  const std::string head = "サイト名,X\r\n層数,3\r\nh\r\n1,2,1.8,150\r\n2,3,1.9,250\r\n";
  const std::pair<std::string, MessageBox> cases[] = {
      {head + "3,5,2.0,400\r\n", ErrorBox(" の基盤層（第4層）のＳ波速度が与えられていません！", "データエラー")},
      {head + "3,5,2.0,400\r\n2.00,400\r\n",
       ErrorBox(" の基盤層（第4層）のＳ波速度が与えられていません！", "データエラー")},
      {head + "3,5,2.0,400\r\n,,,400\r\n", ErrorBox(" の基盤層（第4層）の密度が与えられていません！", "データエラー")},
      {head + "3,5,2.0,400\r\n,,2.0,\r\n",
       ErrorBox(" の基盤層（第4層）のＳ波速度が与えられていません！", "データエラー")},
      {head + "3,5,2.0,0\r\n,,2.1,700\r\n",
       ErrorBox(" の第3層のＳ波速度に0以下の値は設定できません！", "データエラー")},
      {head + "3 ,5,2.0,400\r\n,,2.1,700\r\n",
       ErrorBox(" の 6 行目: '3 ' の後の空白で値が次の欄にずれています（コンマの前に空白は置けません）",
                "ファイルエラー")},
  };
  for (const auto& [utf8, box] : cases) {
    const std::string path = files.Write("typed.csv", Utf8ToCp932(utf8).value());
    p.messages.shown.clear();
    p.dialogs.AnswerOpen(FileDialogAnswer{path, kAllFilesFilter});
    p.main.Button2Click();
    EXPECT_EQ(p.messages.shown, std::vector<MessageBox>{ErrorBox("ファイル " + path + box.text, box.caption)});
    unchanged(box.text);
  }

  // A negative damping ratio is refused by "設定" and by the analysis itself.
  p.ws().settings.dampingText = "-0.05";
  p.ws().settings.pointChoice = PointChoice::Points100;
  p.messages.shown.clear();
  p.settings.Button2Click();
  EXPECT_EQ(p.ws().result.pointCount, 200);  // nothing applied
  const MessageBox negative = ErrorBox("減衰比に負の値は設定できません", "減衰比設定エラー");
  ASSERT_EQ(p.messages.shown.size(), 1u);
  EXPECT_EQ(p.messages.shown[0], negative);
  try {
    p.main.BtnAmplitudeClick();
    ADD_FAILURE() << "a negative ratio was analysed";
  } catch (const UserActionError& e) {
    EXPECT_EQ(e.Box(), negative);
  }
  unchanged("negative ratio");
}

}  // namespace

namespace {

TEST_F(MainWindowTest, NoLayerChosenIsSaidOnceAndTheChartStays) {
  p.dialogs.AnswerOpen(FileDialogAnswer{ExampleFile("five-layers.csv"), kCsvFilter});
  p.main.Button2Click();
  ASSERT_TRUE(p.messages.shown.empty());
  const auto chartBefore = p.chart.ops().size();
  p.ws().settings.displayLayers.fill(false);
  p.main.BtnAmplitudeClick();
  ASSERT_EQ(p.messages.shown.size(), 1u);
  EXPECT_EQ(p.messages.shown[0], ErrorBox("増幅特性を表示する層番号が指定されておりません", "表示層選択エラー"));
  EXPECT_EQ(p.chart.ops().size(), chartBefore);  // nothing cleared, nothing drawn
}

}  // namespace
