#pragma once
// What the main window holds and the file operations read and write: the
// current profile, the last result, the editor's grid, the settings, and the
// name of the last file read or written with the two labels that show it.
// Plain data; the main-window controller owns one.
#include <array>
#include <string>

#include "analysis/AmplificationResult.h"
#include "profile/ProfileGrid.h"
#include "profile/SoilProfile.h"
#include "windows/AnalysisSettings.h"

struct Workspace {
  SoilProfile profile;         // the current profile (layerCount 0: none yet)
  AmplificationResult result;  // the last analysis; result.pointCount is the point count
  ProfileGrid grid;            // the editor's working copy, with its file label Label7
  AnalysisSettings settings;   // the settings window's controls
  std::array<bool, 20> showLayer{};  // display flags, copied from the settings before each analysis

  std::string startDir;  // working directory at start-up: the open dialog's first folder
  std::string fileName;  // name part of the last profile or result file read or written
  std::string Label3 = ProfileGrid::kFileLabelPrefix;  // the main window's file label
};
