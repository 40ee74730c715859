#pragma once
// The two sides of the settings window's seam. The settings controller asks
// its host (the main window) through SettingsHost; the host reaches the
// settings through SettingsPort. Neither side knows the other's class.
#include <array>
#include <string>

#include <optional>

#include "graphics/ChartSettings.h"
#include "profile/SoilProfile.h"

// What "設定" settles the settings into for the main window: its chart's
// axes (with the sub-divisions), its y title, and the point count (none:
// the choice keeps the count).
struct AppliedSettings {
  ChartAxes axes;
  std::string titleY;
  std::optional<int32_t> pointCount;
};

class SettingsHost {
 public:
  // "閉じる".
  virtual void HideSettings() = 0;
  // "太線" changed: the main window's menu marks follow.
  virtual void BoldCurvesChanged(bool bold) = 0;

 protected:
  ~SettingsHost() = default;
};

class SettingsPort {
 public:
  virtual void EnableLayerBoxes(int n) = 0;
  // "設定": the checks and the preview; the values for the main window, or
  // nothing when a check refused them.
  virtual std::optional<AppliedSettings> Button2Click() = 0;
  virtual void SetBoldCurves(bool bold) = 0;
  // Writes tovalk.ini into the start-up folder; false (and the reason) when
  // it could not be written.
  virtual bool SaveSettings(std::string* error) = 0;

 protected:
  ~SettingsPort() = default;
};
