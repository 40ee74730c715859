#pragma once
// Fake views of the windows and a whole program wired as the desktop program
// wires it, so that controller tests drive the same handlers the forms call.
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "FilePortsFake.h"
#include "graphics/PictureSizes.h"
#include "RecordingCanvas.h"
#include "app/TovalkControllers.h"

class FakeMainView : public MainWindowView {
 public:
  void SetEnabled(MainControl control, bool on) override { enabled[control] = on; }
  void SetLabel(MainLabel label, const std::string& text) override { labels[label] = text; }
  int RadioGroup1Index() const override { return radio; }
  void SetRadioGroup1Index(int index) override { radio = index; }
  bool MenuChecked(MainMenuMark mark) const override { return menu.at(mark); }
  void SetMenuChecked(MainMenuMark mark, bool checked) override { menu[mark] = checked; }
  bool CBTestChecked() const override { return cbTest; }
  bool CheckBox1Checked() const override { return checkBox1; }
  void ShowMatGrids(bool shown) override { matGridsVisible = shown; }
  void SetMatGrids(const TMatGrid& m, const TMatGrid& p) override {
    modes = m;
    periods = p;
  }
  void PicturesChanged() override { ++pictureUpdates; }
  void ShowWindow(SecondaryWindow window) override {
    visible.insert(window);
    shownOrder.push_back(window);
  }
  void HideWindow(SecondaryWindow window) override { visible.erase(window); }
  void CloseMainWindow() override { closed = true; }

  bool On(MainControl control) const { return enabled.at(control); }

  std::map<MainControl, bool> enabled;
  std::map<MainLabel, std::string> labels;
  std::map<MainMenuMark, bool> menu;
  int radio = -1;
  bool cbTest = false;
  bool checkBox1 = false;
  bool matGridsVisible = true;
  TMatGrid modes, periods;
  int pictureUpdates = 0;
  std::set<SecondaryWindow> visible;
  std::vector<SecondaryWindow> shownOrder;
  bool closed = false;
};

class FakeEditorView : public ProfileEditorView {
 public:
  void SetEnabled(EditorControl control, bool on) override { enabled[control] = on; }
  void SetCBEditChecked(bool checked) override { cbEdit = checked; }
  void Refresh() override { ++refreshes; }
  void StartTypingAt(ProfileGrid::CellPosition cell) override { typingAt = cell; }
  std::map<EditorControl, bool> enabled;
  bool cbEdit = false;
  std::optional<ProfileGrid::CellPosition> typingAt;
  int refreshes = 0;
};

class FakeSettingsView : public SettingsView {
 public:
  void Refresh() override { ++refreshes; }
  void SetLayerBoxesEnabled(const std::array<bool, kMaxLayers>& on) override { boxes = on; }
  void PreviewChanged() override { ++previews; }
  int refreshes = 0;
  int previews = 0;
  std::array<bool, kMaxLayers> boxes{};
};

class FakeListView : public AmplificationListView {
 public:
  void ShowTable(const AmplificationTable& t) override {
    table = t;
    ++refreshes;
  }
  AmplificationTable table;
  int refreshes = 0;
};

class FakeClipboard : public ClipboardPort {
 public:
  void SetPicture(const Canvas& picture) override { last = &picture; }
  const Canvas* last = nullptr;
};

// The seven windows' logic in creation order, over fakes.
struct Program {
  explicit Program(const std::string& startDir)
      : controllers({mainView, messages, dialogs, clipboard, stratum, chart, list}, editorView, settingsView, preview,
                    startDir) {
    settings.FormCreate();
  }

  Workspace& ws() { return main.workspace(); }

  // Types a profile into the editor's grid as a user would.
  void TypeProfile(const std::vector<std::array<const char*, 3>>& layers, const char* baseDensity, const char* baseVs) {
    ProfileGrid& grid = ws().grid;
    grid.SetUpDown1Position(static_cast<int>(layers.size()));
    for (size_t i = 0; i < layers.size(); ++i) {
      for (int c = 0; c < 3; ++c) grid.SetCell(c + 1, static_cast<int>(i) + 1, layers[i][c]);
    }
    grid.SetCell(2, static_cast<int>(layers.size()) + 1, baseDensity);
    grid.SetCell(3, static_cast<int>(layers.size()) + 1, baseVs);
  }

  FakeMainView mainView;
  FakeEditorView editorView;
  FakeSettingsView settingsView;
  FakeListView list;
  FakeClipboard clipboard;
  RecordingMessages messages;
  ScriptedDialogs dialogs;
  RecordingCanvas stratum{kStratumPictureWidth, kStratumPictureHeight};
  RecordingCanvas chart{kChartPictureWidth, kChartPictureHeight};
  RecordingCanvas preview{kPreviewWidth, kPreviewHeight};
  TovalkControllers controllers;
  MainWindowController& main = controllers.main();
  ProfileEditorController& editor = controllers.editor();
  SettingsController& settings = controllers.settings();
};
