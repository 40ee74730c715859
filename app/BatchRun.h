#pragma once
// tovalk-batch: profile files in, result files out, through the same steps as
// the desktop program (read the file, apply the settings, analyse, save the
// result), without windows.
#include <array>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "analysis/AnalysisSettings.h"
#include "app/BatchFile.h"
#include "app/BatchOptions.h"
#include "graphics/PictureFormat.h"

struct Workspace;

// Draws one picture of an analysed workspace as a whole file of the format;
// "" with the bytes in `bytes`, else the reason. The pictures need the
// toolkit, so the program supplies them; they are drawn on the thread that
// runs RunBatch, one after another.
using BatchPictureDrawer = std::function<std::string(const Workspace& ws, PictureFormat format, std::string& bytes)>;

struct BatchPictures {
  std::function<std::string()> prepare;  // once before any file; "" when drawing can go on
  BatchPictureDrawer chart;              // the main window's chart, 441 × 441
  BatchPictureDrawer diagram;            // the stratum diagram, 233 × 441
  std::string chartPath;                 // where to write them; empty: not asked for
  std::string diagramPath;
  PictureFormat format = PictureFormat::Png;
  std::string modesPath;  // STEM-modes.csv, the natural modes; empty: not asked for
};

// Reads one profile file, analyses it with the settings as the settings
// window's apply does, draws the pictures asked for and writes them and the
// result file to outputPath (replacing files that exist, each only once it is
// complete). Never throws for anything the file or the analysis does.
BatchFileOutcome RunBatchFile(const std::string& input, const std::string& outputPath, const AnalysisSettings& settings,
                              const BatchPictures& pictures = {});

// The whole program. `workingDir` is where ./tovalk.ini is looked for.
// Written files are listed on `out`; failures go to `err` as "FILE: message",
// and a progress line too when `progress` is set and more than one file runs.
// Files are analysed on --jobs threads; everything written and printed comes
// in input order, the same for any number of jobs. Returns the exit status: 0
// when every file was written, 1 when any failed (the summary file included),
// 2 for a usage or settings error (no file is then read or written).
// `pictures` supplies the drawers for --chart and --diagram; without them
// those options are refused.
int RunBatch(const std::vector<std::string>& args, const std::string& workingDir, std::ostream& out, std::ostream& err,
             bool progress, const BatchPictures& pictures = {});

// The drawers of a build with the toolkit (defined in app/qt, linked only
// there); a build without it has none and refuses --chart and --diagram.
BatchPictures ToolkitBatchPictures();
