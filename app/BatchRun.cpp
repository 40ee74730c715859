#include "app/BatchRun.h"

#include <filesystem>
#include <map>
#include <ostream>
#include <set>

#include "analysis/AnalysisDriver.h"
#include "analysis/HeadlessWindows.h"
#include "analysis/LumpedMassModel.h"
#include "app/Workspace.h"
#include "platform/Conversion.h"
#include "platform/Errors.h"
#include "platform/FileDialogs.h"
#include "platform/FileSystem.h"
#include "profile/ModesFile.h"
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
    "  --modes           also write STEM-modes.csv   (natural periods and mode shapes)\n"
    "Exit status: 0 all written, 1 a file failed, 2 bad options or settings.\n";

namespace {

// Keyword options and the index each word stands for.
const std::map<std::string, std::map<std::string, int>> kChoices = {
    {"--method", {{"transfer", 0}, {"lumped", 1}, {"reflection", 2}}},
    {"--damping", {{"hysteretic", 0}, {"viscous", 1}}},
    {"--x", {{"period", 0}, {"frequency", 1}}},
    {"--x-scale", {{"linear", 0}, {"log", 1}}},
    {"--y-scale", {{"linear", 0}, {"log", 1}}},
    {"--points", {{"100", 0}, {"200", 1}, {"400", 2}}},
};
const std::set<std::string> kTextOptions = {"--ratio",   "--x-lower", "--x-upper",    "--y-lower",
                                            "--y-upper", "--layers",  "--settings", "--output-dir"};

std::optional<std::array<bool, 20>> ParseLayers(const std::string& text) {
  std::array<bool, 20> marks{};
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
    if (layer < 1 || layer > 20) return std::nullopt;
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
    if (name == "--method") o.method = i;
    else if (name == "--damping") o.dampingForm = i;
    else if (name == "--x") o.xQuantity = i;
    else if (name == "--x-scale") o.xScale = i;
    else if (name == "--y-scale") o.yScale = i;
    else o.pointChoice = i;
    return true;
  }
  if (name == "--layers") {
    o.layers = ParseLayers(value);
    if (!o.layers) error = "bad value '" + value + "' for --layers (all, or layer numbers 1 to 20 such as 1,3,5)";
    return o.layers.has_value();
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


// The settings window's apply: both axis ranges checked, the point count set,
// the analysis run. False when a range was refused.
bool Apply(Workspace& ws, AnalysisWindows& windows, MessagePort& messages) {
  const AnalysisSettings& s = ws.settings;
  // Lower before upper, as the settings window converts them.
  const float xLower = StrToSingle(s.xLower);
  if (!CheckScale(s.xScale, StrToSingle(s.xUpper), xLower, messages)) return false;
  const float yLower = StrToSingle(s.yLower);
  if (!CheckScale(s.yScale, StrToSingle(s.yUpper), yLower, messages)) return false;
  switch (s.pointChoice) {
    case 0: ws.result.pointCount = 100; break;
    case 1: ws.result.pointCount = 200; break;
    case 2: ws.result.pointCount = 400; break;
    default: break;
  }
  AnalysisDriver(ws.profile, ws.result, ws.settings, windows, messages).BtnAmplitudeClick();
  return true;
}

// Checks once, before any file, what every file would otherwise fail on.
std::optional<std::string> CheckSettings(const AnalysisSettings& s) {
  BatchMessages messages;
  try {
    StrToSingle(s.dampingText);
    if (CheckScale(s.xScale, StrToSingle(s.xUpper), StrToSingle(s.xLower), messages) &&
        CheckScale(s.yScale, StrToSingle(s.yUpper), StrToSingle(s.yLower), messages)) {
      return std::nullopt;
    }
  } catch (const UserActionError& e) {
    return e.what();
  }
  return messages.shown.empty() ? std::string("bad settings") : messages.shown.front();
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
  if (o.inputs.empty() && !o.help) {
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

BatchFileOutcome RunBatchFile(const std::string& input, const std::string& outputPath,
                              const AnalysisSettings& settings, const BatchPictures& pictures) {
  BatchFileOutcome outcome;
  // A fresh workspace per file: no file's result depends on the one before.
  Workspace ws;
  ws.settings = settings;
  ws.startDir = CurrentDirectory();
  BatchDialogs dialogs(input, outputPath);
  BatchMessages messages;
  HeadlessWindows windows([&ws] {
    return ::CollectDisplayLayers(ws.settings.displayLayers, ws.profile.layerCount, ws.showLayer);
  });
  ProfileFiles files(ws, dialogs, messages);
  try {
    bool ok = files.LoadProfileFile();
    if (ok) {
      // What the main window does after a read, then the settings' apply.
      ws.grid.SetRowLabels(ws.profile.layerCount);
      ok = Apply(ws, windows, messages) && messages.shown.empty();
    }
    // The pictures of the analysed profile, as the main window shows them.
    for (const auto& [path, writer] : {std::pair{pictures.chartPath, pictures.chart},
                                       std::pair{pictures.diagramPath, pictures.diagram}}) {
      if (!ok || path.empty()) continue;
      const std::string problem = writer ? writer(path, ws) : "no picture writer";
      if (!problem.empty()) messages.shown.push_back(problem);
      ok = problem.empty();
    }
    // The natural modes straight from their calculator: the numbers of the
    // main window's two tables.
    if (ok && !pictures.modesPath.empty()) {
      const std::string problem = WriteModesFile(pictures.modesPath, ws.profile.siteName, SolveNaturalModes(ws.profile));
      if (!problem.empty()) messages.shown.push_back(problem);
      ok = problem.empty();
    }
    ok = ok && files.SaveResultFile();
    outcome.ok = ok && messages.shown.empty();
  } catch (const UserActionError& e) {
    messages.shown.push_back(e.Box().text);
    outcome.ok = false;
  } catch (const std::exception& e) {
    // A fault of the program itself: this file fails, the others still run.
    messages.shown.push_back(std::string("internal error: ") + e.what());
    outcome.ok = false;
  }
  outcome.messages = std::move(messages.shown);
  return outcome;
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

  const size_t total = options->inputs.size();
  const bool showProgress = progress && total > 1;
  std::set<std::string> written;
  int failed = 0;
  for (size_t k = 0; k < total; ++k) {
    const std::string& input = options->inputs[k];
    if (showProgress) err << "\r[" << k + 1 << "/" << total << "] " << input << "\033[K" << std::flush;
    const std::string output = BatchOutputPath(input, options->outputDir);
    BatchPictures files = pictures;
    files.chartPath = options->chart ? BatchOutputPath(input, options->outputDir, "-chart.png") : "";
    files.diagramPath = options->diagram ? BatchOutputPath(input, options->outputDir, "-stratum.png") : "";
    files.modesPath = options->modes ? BatchOutputPath(input, options->outputDir, "-modes.csv") : "";
    // Two inputs of the same name from different folders must not silently
    // overwrite each other's result in one output folder.
    std::error_code ignored;
    const std::string key = std::filesystem::absolute(output, ignored).lexically_normal().string();
    BatchFileOutcome outcome;
    if (written.count(key)) {
      outcome.messages.push_back("the result file " + output + " was already written for another input");
    } else {
      outcome = RunBatchFile(input, output, settings, files);
    }
    if (showProgress) err << "\r\033[K";
    if (outcome.ok) {
      written.insert(key);
      for (const std::string& picture : {files.chartPath, files.diagramPath, files.modesPath}) {
        if (!picture.empty()) out << picture << "\n";
      }
      out << output << "\n";
    } else {
      ++failed;
      for (const std::string& message : outcome.messages) err << input << ": " << message << "\n";
      if (outcome.messages.empty()) err << input << ": failed\n";
    }
  }
  if (showProgress) err << "\r\033[K" << std::flush;
  return failed == 0 ? 0 : 1;
}
