#pragma once
// TDisplay, the settings window "地盤増幅特性解析法・書式". Its controls and
// AnalysisSettings never differ: every change is written into the settings at
// once, through the controller, and Refresh shows the settings again. Only a sub-division count being
// typed waits in its field until the user is done with it. The preview chart's picture is
// owned here and drawn on by the controller's TMyGraph. Closing only hides.
#include <QWidget>

#include <array>
#include <memory>

#include "platform/qt/QtCanvas.h"
#include "platform/MessageBox.h"
#include "analysis/AnalysisSettings.h"
#include "windows/SettingsView.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class SettingsController;

namespace Ui {
class TDisplay;
}

class TDisplay : public QWidget, public SettingsView {
  Q_OBJECT

 public:
  explicit TDisplay(QWidget* parent = nullptr);
  ~TDisplay() override;

  // The preview chart's picture (217 × 209), for the controller.
  QtCanvas& PreviewCanvas() { return preview_; }

  // The controller and settings the controls are bound to, and the port that
  // shows the errors that end an action. Until then the controls show the
  // defaults and change nothing.
  void Attach(SettingsController& controller, MessagePort& messages);

  // The main window: the settings window opens beside it where the screen
  // has room, else centred on the screen.
  void ShowBeside(QWidget* owner) { owner_ = owner; }

  void Refresh() override;
  void SetLayerBoxesEnabled(const std::array<bool, kMaxLayers>& enabled) override;
  void PreviewChanged() override;

 signals:
  // "設定" was pressed (once a controller is attached).
  void ApplyClicked();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Show(const AnalysisSettings& settings);
  // A click stores the item's index as the field's choice.
  template <typename Choice>
  void BindRadioGroup(QButtonGroup* group, Choice AnalysisSettings::*field);
  void BindText(QLineEdit* field, std::string AnalysisSettings::*text);
  void BindCheck(QCheckBox* box, bool AnalysisSettings::*flag);
  void BindSpinner(class UpDownButtons* spinner, int AnalysisSettings::*count, int low, int high);
  template <typename Action>
  void Run(Action&& action);

  std::unique_ptr<Ui::TDisplay> ui_;
  QtCanvas preview_{kPreviewWidth, kPreviewHeight};
  SettingsController* controller_ = nullptr;
  MessagePort* messages_ = nullptr;
  const AnalysisSettings* settings_ = nullptr;  // shown; changed only through the controller
  std::array<QCheckBox*, kMaxLayers> layerBoxes_{};
  QButtonGroup* GBComp_ = nullptr;
  QButtonGroup* RGDamp_ = nullptr;
  QButtonGroup* RGXValue_ = nullptr;
  QButtonGroup* RGXType_ = nullptr;
  QButtonGroup* RGYType_ = nullptr;
  QButtonGroup* RGPoints_ = nullptr;
  QWidget* owner_ = nullptr;
  bool placed_ = false;
};
