#pragma once
// The two sides of the settings window's seam. The settings controller asks
// its host (the main window) through SettingsHost; the host reaches the
// settings through SettingsPort. Neither side knows the other's class.
#include <array>
#include <string>

#include "graphics/Mygraph.h"
#include "profile/SoilProfile.h"

class SettingsHost {
 public:
  // The main window's chart, whose axes the apply sets.
  virtual TMyGraph& AmplificationChart() = 0;
  // The point count the apply sets (the result's pointCount).
  virtual int& PointCount() = 0;
  // After the apply: the analysis runs again ("増幅特性").
  virtual void SettingsApplied() = 0;
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
  virtual void Button2Click() = 0;  // "設定"
  virtual void SetBoldCurves(bool bold) = 0;
  // Writes tovalk.ini into the start-up folder; false (and the reason) when
  // it could not be written.
  virtual bool SaveSettings(std::string* error) = 0;

 protected:
  ~SettingsPort() = default;
};
