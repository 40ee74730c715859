#pragma once
// The profile as the file operations and the editor share it: the current
// profile, the editor's grid, the start-up folder and the name of the last
// file read or written with the label that shows it. Plain data; the main
// window's workspace is one.
#include <string>

#include "profile/ProfileGrid.h"
#include "profile/SoilProfile.h"

struct ProfileDocument {
  SoilProfile profile;  // the current profile (layerCount 0: none yet)
  ProfileGrid grid;     // the editor's working copy, with its file label Label7

  std::string startDir;                                // working directory at start-up: the dialogs' first folder
  std::string fileName;                                // name part of the last profile or result file read or written
  std::string Label3 = ProfileGrid::kFileLabelPrefix;  // the main window's file label
};

// Told each time the editor's grid has been taken over as the current profile.
class ProfileAcceptedListener {
 public:
  virtual ~ProfileAcceptedListener() = default;
  virtual void ProfileAccepted() = 0;
};
