#pragma once
// The rules of the main window TOpen: the profile workflow of "実 行", the
// enabling of its controls, analysis, saving, clipboard copies and exit. No
// toolkit types: the window is reached through MainWindowView and the
// platform ports. Handlers are named after the control and the event; they
// let a UserActionError pass to the event boundary (RunUserAction).
#include <array>
#include <optional>
#include <string>

#include "analysis/Analysis.h"
#include "app/MainWindowView.h"
#include "app/Workspace.h"
#include "platform/Canvas.h"
#include "graphics/LayerColours.h"
#include "graphics/Matgrid.h"
#include "graphics/Mygraph.h"
#include "platform/Clipboard.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBox.h"
#include "profile/ProfileEditorHost.h"
#include "profile/ProfileFiles.h"
#include "windows/AmplificationList.h"
#include "windows/SettingsHost.h"

inline constexpr const char* kMainCaption = "地盤増幅特性解析システム　TOVALK Ver1.0";
inline constexpr const char* kNoProfileText = "地層データが与えられておりません";

// The ports and pictures the main window works with.
struct MainWindowPorts {
  MainWindowView& view;
  MessagePort& messages;
  FileDialogPort& dialogs;
  ClipboardPort& clipboard;
  Canvas& stratumPicture;  // Image2, 233 × 441
  Canvas& chartPicture;    // MyGraph1, 441 × 441
  AmplificationListView& list;
};

class MainWindowController : public ProfileEditorHost, public SettingsHost {
 public:
  // FormCreate runs here: startDir is the working directory at creation.
  MainWindowController(const MainWindowPorts& ports, std::string startDir);
  ~MainWindowController() override;

  // The editor and the settings window, created after the main window.
  void Connect(ProfileEditorPort& editor, SettingsPort& settings);

  MainWindowView& view() { return view_; }
  Workspace& workspace() { return workspace_; }
  const Workspace& workspace() const { return workspace_; }
  TMyGraph& chart() { return chart_; }
  bool firstExecute() const { return firstExecute_; }
  const LayerColours& layerColours() const { return layerColours_; }

  // Controls.
  void Button2Click();  // "実 行", by the radio group's item
  void Button3Click();  // "地層図"
  void Button7Click();  // "地層ﾃﾞｰﾀ"
  void BtnAmplitudeClick();
  // The settings window's "設定": its values taken, then the analysis again.
  void SettingsButton2Click();
  void SettingsApplied(const AppliedSettings& applied);
  void Button8Click();  // "保 存"
  void Button4Click();  // copy the stratum picture
  void Button5Click();  // copy the chart
  void Button6Click();  // "解析法/書式"
  void Button1Click();  // "終了" with confirmation
  void CBTestClick();
  void CheckBox1Click();
  void MyGraph1MouseDown(bool rightButton);
  void MyGraph1MouseMove(int x, int y);
  void Image3Click();

  // Menu items.
  void MenuNewClick();
  void MenuOpenClick();
  void MenuSaveResultClick();
  void MenuExitClick();
  void MenuMultiColourClick();
  void MenuSingleColourClick();
  void MenuThinClick();
  void MenuBoldClick();
  void MenuCopyStratumClick();
  void MenuCopyChartClick();
  void MenuSettingsClick();
  void MenuHowToClick();
  void MenuVersionClick();

  // Entry points the other windows call.
  void DrawStratumDiagram();
  void ClearStratumPicture();
  bool LoadProfileFile();
  void SaveProfileFile() override;
  void SaveResultFile();
  void EnableAfterProfileAccepted();  // "地層図" enabled once a grid is taken over
  void EnableAfterEditorApply();      // "地層図", "地層ﾃﾞｰﾀ", "増幅特性"

  // A profile file named on the command line, opened as "ファイル読込" would.
  void OpenFromCommandLine(const std::string& path);

  // ProfileEditorHost.
  void ProfileAccepted() override { EnableAfterProfileAccepted(); }
  void EditorLayerCountChanged(int layerCount) override;
  void EditedProfileApplied() override;
  void HideEditor() override { view_.HideWindow(SecondaryWindow::Profile); }

  // SettingsHost.
  void HideSettings() override { view_.HideWindow(SecondaryWindow::Display); }
  void BoldCurvesChanged(bool bold) override;

 private:
  void ExecuteNew();
  void ExecuteLoad();
  void Enable(MainControl control) { view_.SetEnabled(control, true); }
  void Disable(MainControl control) { view_.SetEnabled(control, false); }
  void SetFileLabels();
  // What an analysis shows, step by step as far as it came, in the order the
  // main window has always shown them.
  void ShowAnalysisSteps(AnalysisMethod method, const AnalysisOutcome& outcome);
  void ShowNaturalModes(const NaturalModes& modes);
  void ClearChart();
  void DrawAmplificationChart();
  void RefreshAmplificationList();

  MainWindowView& view_;
  MessagePort& messages_;
  ClipboardPort& clipboard_;
  Canvas& stratumPicture_;
  Canvas& chartPicture_;
  AmplificationListView& list_;

  Workspace workspace_;
  LayerColours layerColours_ = kDefaultLayerColours;
  TMyGraph chart_;
  TMatGrid modeGrid_;                           // MatGrid1
  TMatGrid periodGrid_;                         // MatGrid2
  std::optional<std::string> commandLinePath_;  // read by the next "ファイル読込" instead of the dialog
  ProfileFiles files_;
  bool firstExecute_ = true;

  ProfileEditorPort* editor_ = nullptr;
  SettingsPort* settings_ = nullptr;
};
