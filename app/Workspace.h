#pragma once
// What the main window holds: the profile document (profile, editor grid,
// file names and labels), the last result, the settings and the display
// flags. Plain data; the main-window controller owns one.
#include <array>

#include "analysis/AmplificationResult.h"
#include "analysis/AnalysisSettings.h"
#include "profile/ProfileDocument.h"

struct Workspace : ProfileDocument {
  AmplificationResult result;                // the last analysis; result.pointCount is the point count
  AnalysisSettings settings;                 // the settings window's controls
  std::array<bool, kMaxLayers> showLayer{};  // display flags, copied from the settings before each analysis
};
