#pragma once
// One input of tovalk-batch, from the profile file to the bytes of the files
// it makes: read, the settings applied, analysed and formatted, as the
// desktop program's "ファイル読込" and "設定" do it. Nothing is written here.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analysis/AnalysisSettings.h"
#include "app/Workspace.h"
#include "platform/StagedGroup.h"

// The outcome of one profile file.
struct BatchFileOutcome {
  bool ok = false;
  std::vector<std::string> messages;   // what the desktop program would have shown
  std::vector<std::string> unwritten;  // "FILE: message" for each file that could not be written
  std::string summaryLine;             // the file's summary line (CP932, CR LF) when asked for
};

// A file read and analysed, with its result file made but not yet written.
struct AnalysedFile {
  BatchFileOutcome outcome;
  std::string resultBytes;
  std::string modesBytes;                // STEM-modes.csv, when asked for
  std::unique_ptr<Workspace> workspace;  // kept only for the pictures
  StagedFile staged;                     // the result file staged by its worker
};

// What every file would fail on, checked once before any file: the settings
// window's checks of the apply, the damping text, and the method that
// computes nothing. The message, or nothing when files may run.
std::optional<std::string> CheckSettings(const AnalysisSettings& settings);

// Reading, analysing and formatting: everything of a file that touches no
// shared state, so that files can run on several threads. `settings` have
// passed CheckSettings.
AnalysedFile AnalyseFile(const std::string& input, const AnalysisSettings& settings, const std::string& startDir,
                         bool keepWorkspace, bool wantsSummary, bool wantsModes);
