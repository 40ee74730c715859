#include "app/BatchFile.h"

#include "analysis/Analysis.h"
#include "analysis/ModesFile.h"
#include "analysis/ResultFile.h"
#include "app/BatchSummary.h"
#include "graphics/ChartSettings.h"
#include "platform/Conversion.h"
#include "platform/Cp932.h"
#include "platform/Errors.h"
#include "profile/ProfileFiles.h"
#include "windows/SettingsRules.h"

namespace {

// The summary holds the input path as given; CP932 may not hold every name.
constexpr const char* kPathNotCp932 = "ファイル名に Shift-JIS で集計ファイルに書けない文字があります";

// The main window's "保 存" up to the bytes: the grid taken over, the result
// checked and formatted. The message of the box that would have said why not.
std::optional<std::string> ResultBytes(Workspace& w, std::vector<std::string>& messages) {
  if (const std::optional<MessageBox> refused = w.grid.TakeProfile(w.profile)) {
    messages.push_back(refused->text);
    return std::nullopt;
  }
  if (!HasResultFor(w.profile, w.result)) {
    messages.push_back(file_messages::kNoResult);
    return std::nullopt;
  }
  FormattedFile file = FormatResultFile(w.profile, w.result, w.settings);
  if (const std::optional<MessageBox> box = FormatProblemBox(file, w.profile.layerCount)) {
    messages.push_back(box->text);
    return std::nullopt;
  }
  return std::move(file.bytes);
}

// The settings' apply after its range checks, which CheckSettings has made
// once for every file: the point count set, the analysis run. The natural
// modes when they were solved.
std::optional<NaturalModes> Apply(Workspace& w, std::vector<std::string>& messages) {
  ApplySettings(w.settings, nullptr, SubDivisions::FromSettings, &w.result.pointCount);
  AnalysisOutcome outcome = Analyse(w.profile, w.settings, w.result);
  if (outcome.reach != AnalysisReach::Refused) {
    CollectDisplayLayers(w.settings.displayLayers, w.profile.layerCount, w.showLayer);
    w.result = std::move(outcome.result);
    // The result file lists the ratio the layers were analysed with.
    if (outcome.dampingRatio) w.profile = WithDampingRatio(w.profile, *outcome.dampingRatio);
  }
  if (outcome.failure) messages.push_back(outcome.failure->box.text);
  if (outcome.notice) messages.push_back(outcome.notice->text);
  return std::move(outcome.modes);
}

// Read, analysed and formatted; the messages of whatever failed.
void ReadAndAnalyse(const std::string& input, Workspace& w, bool wantsModes, AnalysedFile& file,
                    std::optional<float>& firstPeriod, std::vector<std::string>& messages) {
  ProfileFileRead read = ReadProfileFile(input, w);
  if (read.problem) {
    messages.push_back(read.problem->text);
    return;
  }
  static_cast<ProfileDocument&>(w) = std::move(*read.document);
  // What the main window does after a read, then the settings' apply.
  w.grid.SetRowLabels(w.profile.layerCount);
  const std::optional<NaturalModes> modes = Apply(w, messages);
  if (modes && modes->n > 0) firstPeriod = modes->period[0];
  if (!messages.empty()) return;
  if (std::optional<std::string> bytes = ResultBytes(w, messages)) {
    file.resultBytes = std::move(*bytes);
    file.outcome.ok = true;
  }
  // The natural modes of the analysis: the numbers of the main window's two tables.
  if (file.outcome.ok && wantsModes && modes) {
    std::optional<std::string> text = FormatModesFile(w.profile.siteName, *modes);
    if (text)
      file.modesBytes = std::move(*text);
    else
      messages.push_back(kModesSiteNotCp932);
  }
}

}  // namespace

std::optional<std::string> CheckSettings(const AnalysisSettings& s) {
  try {
    StrToSingle(s.dampingText);
    if (const std::optional<MessageBox> problem = AppliedSettingsProblem(s)) return problem->text;
  } catch (const UserActionError& e) {
    return e.what();
  }
  // The method that computes nothing would only say so for every file.
  if (s.method == AnalysisMethod::Reflection) return std::string(kReflectionNotice);
  return std::nullopt;
}

AnalysedFile AnalyseFile(const std::string& input, const AnalysisSettings& settings, const std::string& startDir,
                         bool keepWorkspace, bool wantsSummary, bool wantsModes) {
  AnalysedFile file;
  // A fresh workspace per file: no file's result depends on the one before.
  auto ws = std::make_unique<Workspace>();
  ws->settings = settings;
  ws->startDir = startDir;
  Workspace& w = *ws;
  std::vector<std::string> messages;
  std::optional<float> firstPeriod;
  try {
    ReadAndAnalyse(input, w, wantsModes, file, firstPeriod, messages);
  } catch (const UserActionError& e) {
    messages.push_back(e.Box().text);
  } catch (const std::exception& e) {
    // A fault of the program itself: this file fails, the others still run.
    messages.push_back(std::string("internal error: ") + e.what());
  }
  if (file.outcome.ok && wantsSummary) {
    const std::optional<std::string> line =
        Utf8ToCp932(FormatSummaryLine(input, w.profile, firstPeriod.value_or(0.0f), w.result));
    if (line) {
      file.outcome.summaryLine = *line + "\r\n";
    } else {
      messages.push_back(kPathNotCp932);
    }
  }
  file.outcome.ok = file.outcome.ok && messages.empty();
  file.outcome.messages = std::move(messages);
  if (file.outcome.ok && keepWorkspace) file.workspace = std::move(ws);
  return file;
}
