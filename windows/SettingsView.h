#pragma once
// The settings window TDisplay as its controller reaches it. Its controls and
// AnalysisSettings never differ: the form writes every change into the
// settings at once and shows them again on Refresh. A sub-division count being
// typed is the one exception: the controller holds it until it is applied.
#include <array>

#include "profile/SoilProfile.h"

// The preview chart's picture.
inline constexpr int kPreviewWidth = 217;
inline constexpr int kPreviewHeight = 209;

class SettingsView {
 public:
  virtual ~SettingsView() = default;
  // The settings changed from outside the form (loaded, CBBold from the menu):
  // show every control again.
  virtual void Refresh() = 0;
  // Enabled state of the 20 layer boxes CheckBox1..CheckBox20.
  virtual void SetLayerBoxesEnabled(const std::array<bool, kMaxLayers>& enabled) = 0;
  // The preview chart was drawn on.
  virtual void PreviewChanged() = 0;
};
