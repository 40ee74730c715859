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

#include "graphics/PictureFormat.h"
#include "analysis/AnalysisSettings.h"

struct BatchOptions {
  std::vector<std::string> inputs;
  std::optional<std::string> settingsFile;  // else ./tovalk.ini when present
  std::optional<std::string> outputDir;     // else beside each input
  bool help = false;
  bool version = false;  // --version: the program name and version
  bool chart = false;    // --chart: also STEM-chart.png
  bool diagram = false;  // --diagram: also STEM-stratum.png
  PictureFormat chartFormat = PictureFormat::Png;  // --chart-format png|svg|pdf
  bool chartFormatGiven = false;                   // said only when no picture is asked for
  std::optional<std::string> summaryFile;          // --summary FILE
  std::optional<unsigned> jobs;                    // --jobs N; else the number of cores
  bool modes = false;    // --modes: also STEM-modes.csv

  // Settings given on the command line; they override the settings file.
  std::optional<AnalysisMethod> method;    // --method transfer|lumped|reflection
  std::optional<DampingForm> dampingForm;  // --damping hysteretic|viscous
  std::optional<std::string> ratio;
  std::optional<XQuantity> xQuantity;  // --x period|frequency
  std::optional<ScaleKind> xScale;     // --x-scale linear|log
  std::optional<std::string> xLower, xUpper;
  std::optional<PointChoice> pointChoice;  // --points 100|200|400
  std::optional<ScaleKind> yScale;
  std::optional<std::string> yLower, yUpper;
  std::optional<std::array<bool, kMaxLayers>> layers;  // --layers all|1,3,5
};

// Parses the arguments after the program name. Nothing, with the reason in
// `error`, for an unknown option, a missing or bad value, or no input file.
std::optional<BatchOptions> ParseBatchArguments(const std::vector<std::string>& args,
                                                std::string& error);

// Lays the command-line settings over `settings`.
void ApplyBatchOverrides(const BatchOptions& options, AnalysisSettings& settings);

// STEM-result.csv for STEM.csv (or another suffix), in outputDir or beside
// the input.
std::string BatchOutputPath(const std::string& input, const std::optional<std::string>& outputDir,
                            const std::string& suffix = "-result.csv");

struct Workspace;

// Draws one picture of an analysed workspace as a whole file of the format;
// "" with the bytes in `bytes`, else the reason. The pictures need the
// toolkit, so the program supplies them; they are drawn on the thread that
// runs RunBatch, one after another.
using BatchPictureDrawer =
    std::function<std::string(const Workspace& ws, PictureFormat format, std::string& bytes)>;

struct BatchPictures {
  std::function<std::string()> prepare;  // once before any file; "" when drawing can go on
  BatchPictureDrawer chart;    // the main window's chart, 441 × 441
  BatchPictureDrawer diagram;  // the stratum diagram, 233 × 441
  std::string chartPath;       // where to write them; empty: not asked for
  std::string diagramPath;
  PictureFormat format = PictureFormat::Png;
  std::string modesPath;       // STEM-modes.csv, the natural modes; empty: not asked for
};

// The outcome of one profile file.
struct BatchFileOutcome {
  bool ok = false;
  std::vector<std::string> messages;  // what the desktop program would have shown
  std::vector<std::string> unwritten; // "FILE: message" for each file that could not be written
  std::string summaryLine;            // the file's summary line (CP932, CR LF) when asked for
};

// Reads one profile file, analyses it with the settings as the settings
// window's apply does, draws the pictures asked for and writes them and the
// result file to outputPath (replacing files that exist, each only once it is
// complete). Never throws for anything the file or the analysis does.
BatchFileOutcome RunBatchFile(const std::string& input, const std::string& outputPath,
                              const AnalysisSettings& settings, const BatchPictures& pictures = {});

// The whole program. `workingDir` is where ./tovalk.ini is looked for.
// Written files are listed on `out`; failures go to `err` as "FILE: message",
// and a progress line too when `progress` is set and more than one file runs.
// Files are analysed on --jobs threads; everything written and printed comes
// in input order, the same for any number of jobs. Returns the exit status: 0
// when every file was written, 1 when any failed (the summary file included),
// 2 for a usage or settings error (no file is then read or written).
// `pictures` supplies the drawers for --chart and --diagram; without them
// those options are refused.
int RunBatch(const std::vector<std::string>& args, const std::string& workingDir, std::ostream& out,
             std::ostream& err, bool progress, const BatchPictures& pictures = {});

extern const char* const kBatchUsage;
