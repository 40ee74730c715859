#include "app/MainWindowController.h"

#include <filesystem>
#include <optional>

#include "analysis/ResultFile.h"
#include "graphics/AmplificationChart.h"
#include "graphics/ChartSettings.h"
#include "graphics/StratumDiagram.h"

MainWindowController::MainWindowController(const MainWindowPorts& ports, std::string startDir)
    : view_(ports.view),
      messages_(ports.messages),
      clipboard_(ports.clipboard),
      stratumPicture_(ports.stratumPicture),
      chartPicture_(ports.chartPicture),
      list_(ports.list),
      chart_(ports.chartPicture, &ports.clipboard),
      files_(workspace_, ports.dialogs, ports.messages, this) {
  workspace_.startDir = std::move(startDir);
  LayOutAmplificationChart(chart_);

  // The controls' state at creation.
  for (MainControl control :
       {MainControl::RadioItemEdit, MainControl::RadioItemSave, MainControl::Button3, MainControl::Button7,
        MainControl::BtnAmplitude, MainControl::Button8, MainControl::Button4, MainControl::Button5,
        MainControl::CBTest, MainControl::CheckBox1}) {
    Disable(control);
  }
  for (MainControl control : {MainControl::Button2, MainControl::Button1, MainControl::Button6}) Enable(control);
  view_.SetRadioGroup1Index(kItemLoad);
  view_.SetMenuChecked(MainMenuMark::MultiColour, true);
  view_.SetMenuChecked(MainMenuMark::SingleColour, false);
  view_.SetMenuChecked(MainMenuMark::Thin, false);
  view_.SetMenuChecked(MainMenuMark::Bold, true);
  view_.ShowMatGrids(false);

  workspace_.profile.layerCount = 0;
  ClearStratumPicture();
  chart_.Clear(kWhite);
  workspace_.result.pointCount = kMaxPoints;
  firstExecute_ = true;
  view_.SetLabel(MainLabel::Label3, workspace_.Label3);
  view_.SetLabel(MainLabel::Label4, "解析手法");
  view_.SetLabel(MainLabel::Label5, "解析条件");
  view_.SetLabel(MainLabel::Label6, "");
  view_.SetLabel(MainLabel::Label7, "");
  view_.PicturesChanged();
}

MainWindowController::~MainWindowController() = default;

void MainWindowController::Connect(ProfileEditorPort& editor, SettingsPort& settings) {
  editor_ = &editor;
  settings_ = &settings;
}

// ---------------------------------------------------------------------------
// "実 行"

void MainWindowController::Button2Click() {
  switch (view_.RadioGroup1Index()) {
    case kItemNew: ExecuteNew(); break;
    case kItemLoad: ExecuteLoad(); break;
    case kItemEdit:
      editor_->SetEditMode(true);
      view_.ShowWindow(SecondaryWindow::Profile);
      break;
    case kItemSave: SaveProfileFile(); break;
    default: break;
  }
  // Whatever the item and the outcome; an error that ends the action (a
  // conversion error above all) leaves before this point.
  Enable(MainControl::RadioItemEdit);
  Enable(MainControl::RadioItemSave);
  Enable(MainControl::Button5);
  Enable(MainControl::Button7);
  firstExecute_ = false;
}

void MainWindowController::ExecuteNew() {
  ProfileGrid& grid = workspace_.grid;
  editor_->SetEditMode(true);
  if (!firstExecute_) editor_->BtnClearClick();
  if (grid.DataCleared) grid.Label7 = ProfileGrid::kFileLabelPrefix;
  grid.SetUpDown1Position(5);
  grid.SetRowLabels(5);
  editor_->Refresh();
  settings_->EnableLayerBoxes(5);
  for (MainControl control :
       {MainControl::Button3, MainControl::Button7, MainControl::Button8, MainControl::BtnAmplitude}) {
    Disable(control);
  }
  editor_->SetButtonEnabled(EditorControl::Button4, false);
  view_.ShowWindow(SecondaryWindow::Profile);
  view_.ShowWindow(SecondaryWindow::DataInput);
}

void MainWindowController::ExecuteLoad() {
  if (!LoadProfileFile()) return;
  editor_->SetEditMode(false);
  editor_->SetButtonEnabled(EditorControl::Button4, false);
  editor_->SetButtonEnabled(EditorControl::BtnClear, false);
  editor_->SetButtonEnabled(EditorControl::Button2, false);
  const int n = workspace_.profile.layerCount;
  workspace_.grid.SetRowLabels(n);
  editor_->Refresh();
  settings_->EnableLayerBoxes(n);
  view_.ShowWindow(SecondaryWindow::Profile);
  DrawStratumDiagram();
  Enable(MainControl::Button3);
  SettingsButton2Click();
}

// ---------------------------------------------------------------------------
// Other controls

void MainWindowController::Button3Click() {
  if (workspace_.profile.layerCount == 0) {
    messages_.Show(ErrorBox(kNoProfileText, kDataErrorCaption));
    return;
  }
  view_.HideWindow(SecondaryWindow::Profile);
  editor_->Button2Click();
}

void MainWindowController::Button7Click() {
  editor_->Button2Click();
  view_.ShowWindow(SecondaryWindow::Profile);
}

void MainWindowController::BtnAmplitudeClick() {
  Workspace& ws = workspace_;
  AnalysisOutcome outcome = Analyse(ws.profile, ws.settings, ws.result);
  // Refused before anything changes.
  if (outcome.reach == AnalysisReach::Refused) Raise(*outcome.failure);
  // The chart reports an empty choice itself, once, when it is drawn below.
  const bool anyLayer = ::CollectDisplayLayers(ws.settings.displayLayers, ws.profile.layerCount, ws.showLayer);
  ws.result = std::move(outcome.result);
  // The result file lists the ratio the layers were analysed with.
  if (outcome.dampingRatio) ws.profile = WithDampingRatio(ws.profile, *outcome.dampingRatio);
  ShowAnalysisSteps(ws.settings.method, outcome);
  if (outcome.failure) Raise(*outcome.failure);
  if (outcome.notice) {
    messages_.Show(*outcome.notice);
    view_.SetEnabled(MainControl::CBTest, false);
    return;
  }
  if (ws.settings.method == AnalysisMethod::LumpedMass) view_.SetEnabled(MainControl::CBTest, true);

  // Without a layer to show, the chart keeps what it showed.
  if (anyLayer) ClearChart();
  DrawAmplificationChart();
  Enable(MainControl::CheckBox1);
  RefreshAmplificationList();
  view_.ShowWindow(SecondaryWindow::Display);
}

void MainWindowController::ShowAnalysisSteps(AnalysisMethod method, const AnalysisOutcome& outcome) {
  const AnalysisReach reach = outcome.reach;
  if (reach < AnalysisReach::Samples) return;
  const bool transfer = method == AnalysisMethod::TransferMatrix;
  view_.SetEnabled(MainControl::CBTest, true);
  if (outcome.modes) ShowNaturalModes(*outcome.modes);
  if (reach < AnalysisReach::Modes) return;
  if (transfer) view_.SetEnabled(MainControl::CBTest, false);
  if (reach < AnalysisReach::Captions) return;
  // Each method sets its two captions in its own order.
  if (transfer) view_.SetLabel(MainLabel::Label4, outcome.methodCaption);
  view_.SetLabel(MainLabel::Label5, outcome.dampingCaption);
  if (!transfer) view_.SetLabel(MainLabel::Label4, outcome.methodCaption);
}

void MainWindowController::SettingsButton2Click() {
  if (const std::optional<AppliedSettings> applied = settings_->Button2Click()) SettingsApplied(*applied);
}

void MainWindowController::SettingsApplied(const AppliedSettings& applied) {
  SetAxes(chart_, applied.axes, SubDivisions::FromSettings);
  if (applied.pointCount) workspace_.result.pointCount = *applied.pointCount;
  chart_.TitleY = applied.titleY;
  BtnAmplitudeClick();
}

void MainWindowController::Button8Click() { SaveResultFile(); }
void MainWindowController::Button4Click() { clipboard_.SetPicture(stratumPicture_); }
void MainWindowController::Button5Click() { clipboard_.SetPicture(chartPicture_); }
void MainWindowController::Button6Click() { view_.ShowWindow(SecondaryWindow::Display); }

void MainWindowController::Button1Click() {
  if (messages_.Show(QuestionBox(kExitQuestion, kExitCaption)) != MessageResult::Ok) return;
  std::string error;
  // The program ends in any case; a settings file that could not be written
  // is said, so the user knows the choices were not kept.
  if (!settings_->SaveSettings(&error)) messages_.Show(ErrorBox(error, kFileErrorCaption));
  view_.CloseMainWindow();
}

void MainWindowController::CBTestClick() { view_.ShowMatGrids(view_.CBTestChecked()); }

void MainWindowController::CheckBox1Click() {
  if (view_.CheckBox1Checked()) {
    view_.ShowWindow(SecondaryWindow::AmpList);
  } else {
    view_.HideWindow(SecondaryWindow::AmpList);
  }
}

void MainWindowController::MyGraph1MouseDown(bool rightButton) {
  if (rightButton) view_.ShowWindow(SecondaryWindow::Display);
}

void MainWindowController::MyGraph1MouseMove(int x, int y) {
  const CursorReadout readout = ::MyGraph1MouseMove(chart_, workspace_.settings.xQuantity, x, y);
  view_.SetLabel(MainLabel::Label6, readout.xText);
  view_.SetLabel(MainLabel::Label7, readout.yText);
}

void MainWindowController::Image3Click() { view_.ShowWindow(SecondaryWindow::Version); }

// ---------------------------------------------------------------------------
// Menu

void MainWindowController::MenuNewClick() {
  view_.SetRadioGroup1Index(kItemNew);
  Button2Click();
}

void MainWindowController::MenuOpenClick() {
  view_.SetRadioGroup1Index(kItemLoad);
  Button2Click();
}

void MainWindowController::MenuSaveResultClick() { SaveResultFile(); }
void MainWindowController::MenuExitClick() { view_.CloseMainWindow(); }

void MainWindowController::MenuMultiColourClick() {
  view_.SetMenuChecked(MainMenuMark::MultiColour, true);
  view_.SetMenuChecked(MainMenuMark::SingleColour, false);
  Button3Click();
}

void MainWindowController::MenuSingleColourClick() {
  view_.SetMenuChecked(MainMenuMark::MultiColour, false);
  view_.SetMenuChecked(MainMenuMark::SingleColour, true);
  Button3Click();
}

void MainWindowController::MenuThinClick() {
  view_.SetMenuChecked(MainMenuMark::Thin, true);
  view_.SetMenuChecked(MainMenuMark::Bold, false);
  settings_->SetBoldCurves(false);
}

void MainWindowController::MenuBoldClick() {
  view_.SetMenuChecked(MainMenuMark::Thin, false);
  view_.SetMenuChecked(MainMenuMark::Bold, true);
  settings_->SetBoldCurves(true);
}

void MainWindowController::MenuCopyStratumClick() { Button4Click(); }
void MainWindowController::MenuCopyChartClick() { Button5Click(); }
void MainWindowController::MenuSettingsClick() { view_.ShowWindow(SecondaryWindow::Display); }
void MainWindowController::MenuHowToClick() { view_.ShowWindow(SecondaryWindow::HowTo); }
void MainWindowController::MenuVersionClick() { view_.ShowWindow(SecondaryWindow::Version); }

// ---------------------------------------------------------------------------
// Entry points

void MainWindowController::DrawStratumDiagram() {
  ::DrawStratumDiagram(stratumPicture_, workspace_.profile, layerColours_,
                       view_.MenuChecked(MainMenuMark::MultiColour));
  Enable(MainControl::Button4);
  Enable(MainControl::BtnAmplitude);
  view_.PicturesChanged();
}

void MainWindowController::ClearStratumPicture() {
  stratumPicture_.brush = Brush{kWhite, BrushStyle::Solid};
  stratumPicture_.FillRect(0, 0, stratumPicture_.Width(), stratumPicture_.Height());
}

bool MainWindowController::LoadProfileFile() {
  // A file named on the command line goes through exactly the reader that
  // "ファイル読込" uses, once, without the dialog.
  std::optional<std::string> named = std::move(commandLinePath_);
  commandLinePath_.reset();
  const bool loaded = files_.LoadProfileFile(named);
  SetFileLabels();
  return loaded;
}

void MainWindowController::SaveProfileFile() {
  files_.SaveProfileFile();
  SetFileLabels();
}

void MainWindowController::SaveResultFile() {
  ::SaveResultFile(files_, workspace_.result, workspace_.settings);
  editor_->Refresh();
}

void MainWindowController::SetFileLabels() {
  view_.SetLabel(MainLabel::Label3, workspace_.Label3);
  editor_->Refresh();
}

void MainWindowController::EnableAfterProfileAccepted() {
  Enable(MainControl::Button3);
  // A count typed into the editor may have been applied by the take-over
  // itself; the layer boxes follow the profile's count.
  settings_->EnableLayerBoxes(workspace_.profile.layerCount);
}

void MainWindowController::EnableAfterEditorApply() {
  Enable(MainControl::Button3);
  Enable(MainControl::Button7);
  Enable(MainControl::BtnAmplitude);
}

void MainWindowController::OpenFromCommandLine(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  commandLinePath_ = error ? path : absolute.string();
  view_.SetRadioGroup1Index(kItemLoad);
  Button2Click();
}

// ---------------------------------------------------------------------------
// The other windows' calls

void MainWindowController::EditorLayerCountChanged(int layerCount) { settings_->EnableLayerBoxes(layerCount); }

void MainWindowController::EditedProfileApplied() {
  EnableAfterEditorApply();
  DrawStratumDiagram();
  BtnAmplitudeClick();
}

void MainWindowController::BoldCurvesChanged(bool bold) {
  view_.SetMenuChecked(MainMenuMark::Thin, !bold);
  view_.SetMenuChecked(MainMenuMark::Bold, bold);
}

// ---------------------------------------------------------------------------
// What an analysis shows

void MainWindowController::ShowNaturalModes(const NaturalModes& modes) {
  const int n = modes.n;
  modeGrid_.Display(&modes.shape[0][0], kMaxLayers, n, n, "%10.3f");
  modeGrid_.SetCell(0, 0, kNaturalModesHeading);
  float table[kMaxLayers][2] = {};
  for (int s = 0; s < n; ++s) {
    table[s][0] = modes.period[s];
    table[s][1] = modes.frequency[s];
  }
  periodGrid_.Display(&table[0][0], 2, n, 2, "%10.3f");
  periodGrid_.SetCell(0, 0, "  次数");
  periodGrid_.SetCell(1, 0, " 固有周期(s)");
  periodGrid_.SetCell(2, 0, " 振動数(Hz)");
  view_.SetMatGrids(modeGrid_, periodGrid_);
}

void MainWindowController::ClearChart() {
  chart_.Clear(kWhite);
  view_.PicturesChanged();
}

void MainWindowController::DrawAmplificationChart() {
  const ChartSources sources{workspace_.profile, workspace_.result, workspace_.settings, layerColours_,
                             view_.MenuChecked(MainMenuMark::MultiColour)};
  const FrameDrawing drawing = ::DrawAmplificationChart(chart_, sources, workspace_.showLayer);
  for (const MessageBox& problem : drawing.problems) messages_.Show(problem);
  view_.PicturesChanged();
  if (drawing) Enable(MainControl::Button8);
}

void MainWindowController::RefreshAmplificationList() {
  list_.ShowTable(BuildAmplificationTable(workspace_.result, workspace_.profile.layerCount));
}
