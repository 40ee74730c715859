#include "app/BatchRun.h"

#include <filesystem>
#include <map>
#include <memory>
#include <ostream>
#include <set>
#include <thread>

#include "analysis/AnalysisDriver.h"
#include "analysis/HeadlessWindows.h"
#include "analysis/LumpedMassModel.h"
#include "app/BatchSummary.h"
#include "app/OrderedRun.h"
#include "app/Workspace.h"
#include "graphics/ChartSettings.h"
#include "platform/AtomicFile.h"
#include "platform/FixedTexts.h"
#include "platform/Conversion.h"
#include "platform/Cp932.h"
#include "platform/Errors.h"
#include "platform/FileDialogs.h"
#include "platform/FileSystem.h"
#include "platform/StagedGroup.h"
#include "analysis/ModesFile.h"
#include "analysis/ResultFile.h"
#include "profile/ProfileFiles.h"
#include "windows/SettingsFile.h"
#include "windows/SettingsRules.h"

const char* const kBatchUsage =
    "usage: tovalk-batch [options] PROFILE.csv...\n"
    "  --method transfer|lumped|reflection   --damping hysteretic|viscous\n"
    "  --ratio TEXT      --x period|frequency   --x-scale linear|log\n"
    "  --x-lower TEXT    --x-upper TEXT         --points 100|200|400\n"
    "  --y-scale linear|log  --y-lower TEXT  --y-upper TEXT  --layers all|1,3,5\n"
    "  --settings FILE   a tovalk.ini (default: ./tovalk.ini if present, else the\n"
    "                    settings window's defaults); options override it\n"
    "  --output-dir DIR  where STEM-result.csv goes (default: beside each input)\n"
    "  --chart           also write STEM-chart.png   (the main window's chart, 441x441)\n"
    "  --diagram         also write STEM-stratum.png (the stratum diagram, 233x441)\n"
    "  --chart-format png|svg|pdf   format of --chart and --diagram (default png)\n"
    "  --summary FILE    one line per analysed file: sum H, Vs30, 4H/Vs, T1, peak\n"
    "  --jobs N          files analysed in parallel (default: the number of cores)\n"
    "  --modes           also write STEM-modes.csv   (natural periods and mode shapes)\n"
    "  --version         print the program name and version\n"
    "Exit status: 0 all written, 1 a file failed, 2 bad options or settings.\n";

namespace {

// Keyword options and the index each word stands for.
const std::map<std::string, std::map<std::string, int>> kChoices = {
    {"--method",
     {{"transfer", ChoiceIndex(AnalysisMethod::TransferMatrix)},
      {"lumped", ChoiceIndex(AnalysisMethod::LumpedMass)},
      {"reflection", ChoiceIndex(AnalysisMethod::Reflection)}}},
    {"--damping",
     {{"hysteretic", ChoiceIndex(DampingForm::Hysteretic)}, {"viscous", ChoiceIndex(DampingForm::Viscous)}}},
    {"--x", {{"period", ChoiceIndex(XQuantity::Period)}, {"frequency", ChoiceIndex(XQuantity::Frequency)}}},
    {"--x-scale", {{"linear", ChoiceIndex(ScaleKind::Linear)}, {"log", ChoiceIndex(ScaleKind::Logarithmic)}}},
    {"--y-scale", {{"linear", ChoiceIndex(ScaleKind::Linear)}, {"log", ChoiceIndex(ScaleKind::Logarithmic)}}},
    {"--points",
     {{"100", ChoiceIndex(PointChoice::Points100)},
      {"200", ChoiceIndex(PointChoice::Points200)},
      {"400", ChoiceIndex(PointChoice::Points400)}}},
};
const std::set<std::string> kTextOptions = {"--ratio",      "--x-lower",      "--x-upper", "--y-lower",
                                            "--y-upper",    "--layers",       "--settings", "--output-dir",
                                            "--chart-format", "--summary", "--jobs"};

// More threads than this help no machine the program runs on.
constexpr unsigned kMostJobs = 256;

std::optional<unsigned> ParseJobs(const std::string& text) {
  if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  const unsigned jobs = static_cast<unsigned>(std::stoul(text));
  if (jobs < 1 || jobs > kMostJobs) return std::nullopt;
  return jobs;
}

std::optional<std::array<bool, kMaxLayers>> ParseLayers(const std::string& text) {
  std::array<bool, kMaxLayers> marks{};
  if (text == "all") {
    marks.fill(true);
    return marks;
  }
  size_t start = 0;
  while (start <= text.size()) {
    const size_t comma = std::min(text.find(',', start), text.size());
    const std::string item = text.substr(start, comma - start);
    if (item.empty() || item.size() > 2 || item.find_first_not_of("0123456789") != std::string::npos)
      return std::nullopt;
    const int layer = std::stoi(item);
    if (layer < 1 || layer > kMaxLayers) return std::nullopt;
    marks[layer - 1] = true;
    start = comma + 1;
  }
  return marks;
}

bool SetOption(BatchOptions& o, const std::string& name, const std::string& value, std::string& error) {
  if (const auto choice = kChoices.find(name); choice != kChoices.end()) {
    const auto index = choice->second.find(value);
    if (index == choice->second.end()) {
      error = "bad value '" + value + "' for " + name;
      return false;
    }
    const int i = index->second;
    if (name == "--method") o.method = ChoiceOf<AnalysisMethod>(i);
    else if (name == "--damping") o.dampingForm = ChoiceOf<DampingForm>(i);
    else if (name == "--x") o.xQuantity = ChoiceOf<XQuantity>(i);
    else if (name == "--x-scale") o.xScale = ChoiceOf<ScaleKind>(i);
    else if (name == "--y-scale") o.yScale = ChoiceOf<ScaleKind>(i);
    else o.pointChoice = ChoiceOf<PointChoice>(i);
    return true;
  }
  if (name == "--layers") {
    o.layers = ParseLayers(value);
    if (!o.layers) error = "bad value '" + value + "' for --layers (all, or layer numbers 1 to 20 such as 1,3,5)";
    return o.layers.has_value();
  }
  if (name == "--jobs") {
    o.jobs = ParseJobs(value);
    if (!o.jobs) error = "bad value '" + value + "' for --jobs (a number of files at a time, 1 to 256)";
    return o.jobs.has_value();
  }
  if (name == "--chart-format") {
    const std::optional<PictureFormat> format = ParsePictureFormat(value);
    if (!format) error = "bad value '" + value + "' for --chart-format";
    o.chartFormat = format.value_or(PictureFormat::Png);
    o.chartFormatGiven = true;
    return format.has_value();
  }
  if (name == "--summary") {
    if (value.empty()) error = "bad value '' for --summary";
    o.summaryFile = value;
    return !value.empty();
  }
  if (name == "--ratio") o.ratio = value;
  else if (name == "--x-lower") o.xLower = value;
  else if (name == "--x-upper") o.xUpper = value;
  else if (name == "--y-lower") o.yLower = value;
  else if (name == "--y-upper") o.yUpper = value;
  else if (name == "--settings") o.settingsFile = value;
  else o.outputDir = value;
  return true;
}

// The batch's message boxes: errors are collected, and the only question it
// meets - whether to replace an earlier result file - is answered OK.
class BatchMessages : public MessagePort {
 public:
  MessageResult Show(const MessageBox& box) override {
    if (box.buttons != MessageButtons::OkCancel) shown.push_back(box.text);
    return MessageResult::Ok;
  }
  std::vector<std::string> shown;
};

// Answers each dialog with a fixed path under the "*.*" filter, so the path
// is taken exactly as given.
class BatchDialogs : public FileDialogPort {
 public:
  BatchDialogs(std::string open, std::string save) : open_(std::move(open)), save_(std::move(save)) {}
  std::optional<FileDialogAnswer> RunOpenDialog(const FileDialogRequest&) override {
    return FileDialogAnswer{open_, kAllFilesFilter};
  }
  std::optional<FileDialogAnswer> RunSaveDialog(const FileDialogRequest&) override {
    return FileDialogAnswer{save_, kAllFilesFilter};
  }

 private:
  std::string open_, save_;
};


// The analysis windows of a batch: nothing is shown, but the first natural
// period of the modes table is kept for the summary.
class BatchWindows : public HeadlessWindows {
 public:
  using HeadlessWindows::HeadlessWindows;
  void ShowNaturalModes(const NaturalModes& modes) override {
    if (modes.n > 0) firstPeriod = modes.period[0];
  }
  std::optional<float> firstPeriod;
};

// The settings window's apply after its range checks, which CheckSettings
// has made once for every file: the point count set, the analysis run.
void Apply(Workspace& ws, AnalysisWindows& windows, MessagePort& messages) {
  ApplySettings(ws.settings, nullptr, SubDivisions::FromSettings, &ws.result.pointCount);
  AnalysisDriver(ws.profile, ws.result, ws.settings, windows, messages).BtnAmplitudeClick();
}

// Checks once, before any file, what every file would otherwise fail on.
std::optional<std::string> CheckSettings(const AnalysisSettings& s) {
  BatchMessages messages;
  try {
    StrToSingle(s.dampingText);
    if (!CheckAppliedSettings(s, messages)) {
      return messages.shown.empty() ? std::string("bad settings") : messages.shown.front();
    }
  } catch (const UserActionError& e) {
    return e.what();
  }
  // The method that computes nothing would only say so for every file.
  if (s.method == AnalysisMethod::Reflection) return std::string(kReflectionNotice);
  return std::nullopt;
}

}  // namespace

std::optional<BatchOptions> ParseBatchArguments(const std::vector<std::string>& args, std::string& error) {
  BatchOptions o;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      o.inputs.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "-h" || arg == "--help") {
      o.help = true;
      continue;
    }
    if (arg == "--version") {
      o.version = true;
      continue;
    }
    if (arg == "--chart" || arg == "--diagram") {
      (arg == "--chart" ? o.chart : o.diagram) = true;
      continue;
    }
    if (arg == "--modes") {
      o.modes = true;
      continue;
    }
    const size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    if (!kChoices.count(name) && !kTextOptions.count(name)) {
      error = "unknown option " + name;
      return std::nullopt;
    }
    std::string value;
    if (equals != std::string::npos) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      error = "missing value for " + name;
      return std::nullopt;
    }
    if (!SetOption(o, name, value, error)) return std::nullopt;
  }
  if (o.inputs.empty() && !o.help && !o.version) {
    error = "no profile file given";
    return std::nullopt;
  }
  return o;
}

void ApplyBatchOverrides(const BatchOptions& o, AnalysisSettings& s) {
  if (o.method) s.method = *o.method;
  if (o.dampingForm) s.dampingForm = *o.dampingForm;
  if (o.ratio) s.dampingText = *o.ratio;
  if (o.xQuantity) s.xQuantity = *o.xQuantity;
  if (o.xScale) s.xScale = *o.xScale;
  if (o.xLower) s.xLower = *o.xLower;
  if (o.xUpper) s.xUpper = *o.xUpper;
  if (o.pointChoice) s.pointChoice = *o.pointChoice;
  if (o.yScale) s.yScale = *o.yScale;
  if (o.yLower) s.yLower = *o.yLower;
  if (o.yUpper) s.yUpper = *o.yUpper;
  if (o.layers) s.displayLayers = *o.layers;
}

std::string BatchOutputPath(const std::string& input, const std::optional<std::string>& outputDir,
                            const std::string& suffix) {
  const std::string name = ExtractFileName(input);
  const std::string stem = name.substr(0, name.size() - ExtractFileExt(name).size());
  const std::string folder = outputDir ? *outputDir : ExtractFileDir(input);
  if (folder.empty()) return stem + suffix;
  return folder.back() == '/' ? folder + stem + suffix : folder + "/" + stem + suffix;
}

namespace {

// The summary holds the input path as given; CP932 may not hold every name.
constexpr const char* kPathNotCp932 = "ファイル名に Shift-JIS で集計ファイルに書けない文字があります";

// A file read and analysed, with its result file made but not yet written.
struct AnalysedFile {
  BatchFileOutcome outcome;
  std::string resultBytes;
  std::string modesBytes;                // STEM-modes.csv, when asked for
  std::unique_ptr<Workspace> workspace;  // kept only for the pictures
  StagedFile staged;                     // the result file staged by its worker
};

// Reading, analysing and formatting: everything of a file that touches no
// shared state, so that files can run on several threads. `settings` have
// passed CheckSettings.
AnalysedFile AnalyseFile(const std::string& input, const AnalysisSettings& settings, const std::string& startDir,
                         bool keepWorkspace, bool wantsSummary, bool wantsModes) {
  AnalysedFile file;
  // A fresh workspace per file: no file's result depends on the one before.
  auto ws = std::make_unique<Workspace>();
  ws->settings = settings;
  ws->startDir = startDir;
  BatchDialogs dialogs(input, {});
  BatchMessages messages;
  Workspace& w = *ws;
  BatchWindows windows(
      [&w] { return ::CollectDisplayLayers(w.settings.displayLayers, w.profile.layerCount, w.showLayer); });
  ProfileFiles files(w, dialogs, messages);
  try {
    if (files.LoadProfileFile()) {
      // What the main window does after a read, then the settings' apply.
      w.grid.SetRowLabels(w.profile.layerCount);
      Apply(w, windows, messages);
      if (messages.shown.empty()) {
        if (std::optional<std::string> bytes = ResultFileBytes(files, w.result, w.settings); bytes && messages.shown.empty()) {
          file.resultBytes = std::move(*bytes);
          file.outcome.ok = true;
        }
      }
      // The natural modes straight from their calculator: the numbers of
      // the main window's two tables.
      if (file.outcome.ok && wantsModes) {
        std::optional<std::string> modes = FormatModesFile(w.profile.siteName, SolveNaturalModes(w.profile));
        if (modes) file.modesBytes = std::move(*modes);
        else messages.shown.push_back(kModesSiteNotCp932);
      }
    }
  } catch (const UserActionError& e) {
    messages.shown.push_back(e.Box().text);
  } catch (const std::exception& e) {
    // A fault of the program itself: this file fails, the others still run.
    messages.shown.push_back(std::string("internal error: ") + e.what());
  }
  if (file.outcome.ok && wantsSummary) {
    const std::optional<std::string> line =
        Utf8ToCp932(FormatSummaryLine(input, w.profile, windows.firstPeriod.value_or(0.0f), w.result));
    if (line) {
      file.outcome.summaryLine = *line + "\r\n";
    } else {
      messages.shown.push_back(kPathNotCp932);
    }
  }
  file.outcome.ok = file.outcome.ok && messages.shown.empty();
  file.outcome.messages = std::move(messages.shown);
  if (file.outcome.ok && keepWorkspace) file.workspace = std::move(ws);
  return file;
}

// Draws and writes the pictures, then writes the result file; stops at the
// first that fails. On the thread that runs the batch.
void WriteFiles(AnalysedFile& file, const std::string& outputPath, const BatchPictures& pictures) {
  BatchFileOutcome& outcome = file.outcome;
  for (const auto& [path, drawer] : {std::pair{pictures.chartPath, pictures.chart},
                                     std::pair{pictures.diagramPath, pictures.diagram}}) {
    if (!outcome.ok || path.empty()) continue;
    std::string bytes;
    std::string problem = "no picture writer";
    if (drawer && file.workspace) {
      try {
        problem = drawer(*file.workspace, pictures.format, bytes);
      } catch (const std::exception& e) {
        problem = std::string("internal error: ") + e.what();
      }
    }
    if (!problem.empty()) {
      outcome.messages.push_back(problem);
    } else if (std::string unwritten = WriteFileReported(path, bytes); !unwritten.empty()) {
      outcome.unwritten.push_back(std::move(unwritten));
    }
    outcome.ok = outcome.messages.empty() && outcome.unwritten.empty();
  }
  if (outcome.ok && !pictures.modesPath.empty()) {
    if (std::string unwritten = WriteFileReported(pictures.modesPath, file.modesBytes); !unwritten.empty()) {
      outcome.unwritten.push_back(std::move(unwritten));
      outcome.ok = false;
    }
  }
  if (outcome.ok) {
    if (std::string unwritten = WriteFileReported(outputPath, file.resultBytes); !unwritten.empty()) {
      outcome.unwritten.push_back(std::move(unwritten));
      outcome.ok = false;
    }
  }
  file.workspace.reset();
  file.resultBytes.clear();
  file.resultBytes.shrink_to_fit();
  file.modesBytes.clear();
  file.modesBytes.shrink_to_fit();
}

// A worker's part of writing a result file that waits for no picture: the
// bytes staged, committed later together with other files.
void StageResultFile(AnalysedFile& file, const std::string& outputPath) {
  if (file.outcome.ok && !StageFileAtomically(outputPath, file.resultBytes, file.staged)) {
    file.outcome.unwritten.push_back(outputPath + ": " + kCannotCreateFile);
    file.outcome.ok = false;
  }
  file.workspace.reset();
  file.resultBytes.clear();
  file.resultBytes.shrink_to_fit();
}

// Result files committed together: at most this many wait at a time, and
// none for long, so that written files are listed as the batch goes on.
constexpr size_t kMostFilesPerCommit = 64;
constexpr std::chrono::milliseconds kMostCommitWait{250};

bool WantsPictures(const BatchPictures& pictures) {
  return !pictures.chartPath.empty() || !pictures.diagramPath.empty();
}

}  // namespace

BatchFileOutcome RunBatchFile(const std::string& input, const std::string& outputPath,
                              const AnalysisSettings& settings, const BatchPictures& pictures) {
  if (const std::optional<std::string> problem = CheckSettings(settings)) {
    BatchFileOutcome outcome;
    outcome.messages.push_back(*problem);
    return outcome;
  }
  AnalysedFile file = AnalyseFile(input, settings, CurrentDirectory(), WantsPictures(pictures), false,
                                  !pictures.modesPath.empty());
  WriteFiles(file, outputPath, pictures);
  return std::move(file.outcome);
}

int RunBatch(const std::vector<std::string>& args, const std::string& workingDir, std::ostream& out,
             std::ostream& err, bool progress, const BatchPictures& pictures) {
  std::string error;
  const std::optional<BatchOptions> options = ParseBatchArguments(args, error);
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

  AnalysisSettings settings;
  const std::string settingsPath =
      options->settingsFile ? *options->settingsFile
                            : (workingDir.empty() ? std::string() : workingDir + "/") + kSettingsFileName;
  switch (LoadSettings(settingsPath, settings)) {
    case SettingsLoad::Loaded:
      break;
    case SettingsLoad::Missing:
      if (options->settingsFile) {
        err << "tovalk-batch: settings file " << settingsPath << " not found\n";
        return 2;
      }
      break;
    case SettingsLoad::Unreadable:
      err << "tovalk-batch: settings file " << settingsPath << " cannot be read\n";
      return 2;
  }
  ApplyBatchOverrides(*options, settings);
  if (const std::optional<std::string> problem = CheckSettings(settings)) {
    err << "tovalk-batch: " << *problem << "\n";
    return 2;
  }
  if (options->outputDir && !MakeFolders(*options->outputDir)) {
    err << "tovalk-batch: cannot create the folder " << *options->outputDir << "\n";
    return 2;
  }
  // The toolkit sets itself up (and the process locale with it) before any
  // worker thread runs.
  if (wantsPictures && pictures.prepare) {
    if (const std::string problem = pictures.prepare(); !problem.empty()) {
      err << "tovalk-batch: " << problem << "\n";
      return 2;
    }
  }

  const std::vector<std::string>& inputs = options->inputs;
  const size_t total = inputs.size();
  const bool showProgress = progress && total > 1;
  const std::string startDir = CurrentDirectory();
  const std::string extension = std::string(".") + PictureFormatName(options->chartFormat);
  const unsigned jobs = options->jobs.value_or(std::max(1u, std::thread::hardware_concurrency()));
  std::set<std::string> written;
  std::string summary;
  if (options->summaryFile) summary = Utf8ToCp932(kSummaryHeader).value_or(std::string()) + "\r\n";
  int failed = 0;

  // A result file that no other input maps to, and that waits for no
  // picture, is written by the worker that made it, so that the writes of
  // several files overlap. The rest are written here, in input order.
  std::error_code ignored;
  const std::filesystem::path cwd = std::filesystem::current_path(ignored);
  auto keyOf = [&](const std::string& output) {
    const std::filesystem::path path(output);
    return (path.is_absolute() ? path : cwd / path).lexically_normal().string();
  };
  std::vector<bool> writtenByWorker(total, false);
  if (!wantsPictures && !options->modes) {
    std::map<std::string, int> uses;
    for (const std::string& input : inputs) ++uses[keyOf(BatchOutputPath(input, options->outputDir))];
    for (size_t k = 0; k < total; ++k) {
      writtenByWorker[k] = uses[keyOf(BatchOutputPath(inputs[k], options->outputDir))] == 1;
    }
  }

  // Written files are listed only once they are committed; whatever comes
  // after them (another file's failure, the summary) waits for the commit.
  // A commit waits for the disk in the background while the next files are
  // analysed.
  StagedGroup staged(kMostFilesPerCommit, kMostCommitWait, StagedGroup::Commits::InBackground);
  RunInOrder<AnalysedFile>(
      total, jobs,
      [&](size_t k) {
        AnalysedFile file =
            AnalyseFile(inputs[k], settings, startDir, wantsPictures,
                                        options->summaryFile.has_value(), options->modes);
        if (writtenByWorker[k]) StageResultFile(file, BatchOutputPath(inputs[k], options->outputDir));
        return file;
      },
      [&](size_t k) {
        if (showProgress) err << "\r[" << k + 1 << "/" << total << "] " << inputs[k] << "\033[K" << std::flush;
      },
      [&](size_t k, AnalysedFile file) {
        const std::string& input = inputs[k];
        const std::string output = BatchOutputPath(input, options->outputDir);
        BatchPictures files = pictures;
        files.format = options->chartFormat;
        files.chartPath = options->chart ? BatchOutputPath(input, options->outputDir, "-chart" + extension) : "";
        files.diagramPath =
            options->diagram ? BatchOutputPath(input, options->outputDir, "-stratum" + extension) : "";
        files.modesPath = options->modes ? BatchOutputPath(input, options->outputDir, "-modes.csv") : "";
        // Two inputs of the same name from different folders must not silently
        // overwrite each other's result in one output folder.
        const std::string key = keyOf(output);
        if (showProgress) err << "\r\033[K";
        if (writtenByWorker[k] && file.outcome.ok) {
          staged.Add(std::move(file.staged), [&, output, key, line = std::move(file.outcome.summaryLine)](
                                                 bool committed) {
            if (committed) {
              written.insert(key);
              out << output << "\n";
              summary += line;
            } else {
              ++failed;
              err << output << ": " << kCannotCreateFile << "\n";
            }
          });
          if (staged.Due()) staged.Commit();
          return;
        }
        staged.Commit();
        staged.Settle();
        if (writtenByWorker[k]) {
          // Failed already.
        } else if (file.outcome.ok && written.count(key)) {
          file.outcome = {};
          file.outcome.messages.push_back("the result file " + output + " was already written for another input");
        } else {
          WriteFiles(file, output, files);
        }
        const BatchFileOutcome& outcome = file.outcome;
        if (outcome.ok) {
          written.insert(key);
          for (const std::string& picture : {files.chartPath, files.diagramPath, files.modesPath}) {
            if (!picture.empty()) out << picture << "\n";
          }
          out << output << "\n";
          summary += outcome.summaryLine;
        } else {
          ++failed;
          for (const std::string& message : outcome.messages) err << input << ": " << message << "\n";
          for (const std::string& message : outcome.unwritten) err << message << "\n";
          if (outcome.messages.empty() && outcome.unwritten.empty()) err << input << ": failed\n";
        }
      });
  staged.Commit();
  staged.Settle();
  if (showProgress) err << "\r\033[K" << std::flush;

  if (options->summaryFile) {
    const std::string& path = *options->summaryFile;
    if (const std::string unwritten = WriteFileReported(path, summary); unwritten.empty()) {
      out << path << "\n";
    } else {
      err << unwritten << "\n";
      ++failed;
    }
  }
  return failed == 0 ? 0 : 1;
}
