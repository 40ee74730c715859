#pragma once
// tovalk-batch's command line: the options, the settings they lay over the
// settings file, and the names of the files written for each input.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "analysis/AnalysisSettings.h"
#include "graphics/PictureFormat.h"

struct BatchOptions {
  std::vector<std::string> inputs;
  std::optional<std::string> settingsFile;  // else ./tovalk.ini when present
  std::optional<std::string> outputDir;     // else beside each input
  bool help = false;
  bool version = false;                            // --version: the program name and version
  bool chart = false;                              // --chart: also STEM-chart.png
  bool diagram = false;                            // --diagram: also STEM-stratum.png
  PictureFormat chartFormat = PictureFormat::Png;  // --chart-format png|svg|pdf
  bool chartFormatGiven = false;                   // said only when no picture is asked for
  std::optional<std::string> summaryFile;          // --summary FILE
  std::optional<unsigned> jobs;                    // --jobs N; else the number of cores
  bool modes = false;                              // --modes: also STEM-modes.csv

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
std::optional<BatchOptions> ParseBatchArguments(const std::vector<std::string>& args, std::string& error);

// Lays the command-line settings over `settings`.
void ApplyBatchOverrides(const BatchOptions& options, AnalysisSettings& settings);

// STEM-result.csv for STEM.csv (or another suffix), in outputDir or beside
// the input.
std::string BatchOutputPath(const std::string& input, const std::optional<std::string>& outputDir,
                            const std::string& suffix = "-result.csv");

extern const char* const kBatchUsage;
