#include "app/BatchOptions.h"

#include <algorithm>
#include <map>
#include <set>

#include "platform/FileSystem.h"

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
const std::set<std::string> kTextOptions = {"--ratio",        "--x-lower", "--x-upper",  "--y-lower",
                                            "--y-upper",      "--layers",  "--settings", "--output-dir",
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
    if (name == "--method")
      o.method = ChoiceOf<AnalysisMethod>(i);
    else if (name == "--damping")
      o.dampingForm = ChoiceOf<DampingForm>(i);
    else if (name == "--x")
      o.xQuantity = ChoiceOf<XQuantity>(i);
    else if (name == "--x-scale")
      o.xScale = ChoiceOf<ScaleKind>(i);
    else if (name == "--y-scale")
      o.yScale = ChoiceOf<ScaleKind>(i);
    else
      o.pointChoice = ChoiceOf<PointChoice>(i);
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
  if (name == "--ratio")
    o.ratio = value;
  else if (name == "--x-lower")
    o.xLower = value;
  else if (name == "--x-upper")
    o.xUpper = value;
  else if (name == "--y-lower")
    o.yLower = value;
  else if (name == "--y-upper")
    o.yUpper = value;
  else if (name == "--settings")
    o.settingsFile = value;
  else
    o.outputDir = value;
  return true;
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
