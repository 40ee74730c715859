#include "app/BatchRun.h"

#include <algorithm>
#include <ostream>
#include <thread>

#include "app/BatchOrderedOutput.h"
#include "app/BatchOutput.h"
#include "app/OrderedRun.h"
#include "platform/FileSystem.h"
#include "windows/SettingsFile.h"

BatchFileOutcome RunBatchFile(const std::string& input, const std::string& outputPath, const AnalysisSettings& settings,
                              const BatchPictures& pictures) {
  if (const std::optional<std::string> problem = CheckSettings(settings)) {
    BatchFileOutcome outcome;
    outcome.messages.push_back(*problem);
    return outcome;
  }
  AnalysedFile file =
      AnalyseFile(input, settings, CurrentDirectory(), WantsPictures(pictures), false, !pictures.modesPath.empty());
  WriteFiles(file, outputPath, pictures);
  return std::move(file.outcome);
}

namespace {

// The options that end the program before any file: a usage error, --help,
// --version, pictures this build cannot draw. The exit status then.
std::optional<int> EndsEarly(const std::optional<BatchOptions>& options, const std::string& error, std::ostream& out,
                             std::ostream& err, const BatchPictures& pictures) {
  if (!options) {
    err << "tovalk-batch: " << error << "\n" << kBatchUsage;
    return 2;
  }
  if (options->help) {
    out << kBatchUsage;
    return 0;
  }
  if (options->version) {
    out << "tovalk-batch " << TOVALK_VERSION << "\n";
    return 0;
  }
  const bool wantsPictures = options->chart || options->diagram;
  if (options->chartFormatGiven && !wantsPictures) {
    err << "tovalk-batch: --chart-format has no effect without --chart or --diagram\n";
  }
  if ((options->chart && !pictures.chart) || (options->diagram && !pictures.diagram)) {
    err << "tovalk-batch: this build cannot draw pictures (--chart, --diagram)\n";
    return 2;
  }
  return std::nullopt;
}

// The settings file, the command line laid over it, checked once for every
// file; the output folder made and the toolkit set up. False (with the reason
// on `err`) for a settings or set-up error.
bool PrepareRun(const BatchOptions& options, const std::string& workingDir, std::ostream& err,
                const BatchPictures& pictures, AnalysisSettings& settings) {
  const std::string settingsPath = options.settingsFile
                                       ? *options.settingsFile
                                       : (workingDir.empty() ? std::string() : workingDir + "/") + kSettingsFileName;
  switch (LoadSettings(settingsPath, settings)) {
    case SettingsLoad::Loaded: break;
    case SettingsLoad::Missing:
      if (options.settingsFile) {
        err << "tovalk-batch: settings file " << settingsPath << " not found\n";
        return false;
      }
      break;
    case SettingsLoad::Unreadable:
      err << "tovalk-batch: settings file " << settingsPath << " cannot be read\n";
      return false;
  }
  ApplyBatchOverrides(options, settings);
  if (const std::optional<std::string> problem = CheckSettings(settings)) {
    err << "tovalk-batch: " << *problem << "\n";
    return false;
  }
  if (options.outputDir && !MakeFolders(*options.outputDir)) {
    err << "tovalk-batch: cannot create the folder " << *options.outputDir << "\n";
    return false;
  }
  // The toolkit sets itself up (and the process locale with it) before any
  // worker thread runs.
  if ((options.chart || options.diagram) && pictures.prepare) {
    if (const std::string problem = pictures.prepare(); !problem.empty()) {
      err << "tovalk-batch: " << problem << "\n";
      return false;
    }
  }
  return true;
}

}  // namespace

int RunBatch(const std::vector<std::string>& args, const std::string& workingDir, std::ostream& out, std::ostream& err,
             bool progress, const BatchPictures& pictures) {
  std::string error;
  const std::optional<BatchOptions> options = ParseBatchArguments(args, error);
  if (const std::optional<int> status = EndsEarly(options, error, out, err, pictures)) return *status;
  AnalysisSettings settings;
  if (!PrepareRun(*options, workingDir, err, pictures, settings)) return 2;

  const std::vector<std::string>& inputs = options->inputs;
  const size_t total = inputs.size();
  const bool showProgress = progress && total > 1;
  const bool wantsPictures = options->chart || options->diagram;
  const std::string startDir = CurrentDirectory();
  const unsigned jobs = options->jobs.value_or(std::max(1u, std::thread::hardware_concurrency()));
  OrderedOutput output(*options, pictures, out, err, showProgress);
  RunInOrder<AnalysedFile>(
      total, jobs,
      [&](size_t k) {
        AnalysedFile file =
            AnalyseFile(inputs[k], settings, startDir, wantsPictures, options->summaryFile.has_value(), options->modes);
        if (output.WrittenByWorker(k)) StageResultFile(file, BatchOutputPath(inputs[k], options->outputDir));
        return file;
      },
      [&](size_t k) {
        if (showProgress) err << "\r[" << k + 1 << "/" << total << "] " << inputs[k] << "\033[K" << std::flush;
      },
      [&](size_t k, AnalysedFile file) { output.Take(k, std::move(file)); });
  return output.Finish();
}
