#include "profile/ProfileFiles.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/Conversion.h"
#include "platform/Cp932.h"
#include "platform/FileSystem.h"
#include "platform/FileText.h"
#include "platform/TextLines.h"
#include "windows/Mystr.h"

// ---------------------------------------------------------------------------
// Messages

namespace file_messages {

std::string Missing(const std::string& path) { return "ファイル " + path + " はありません"; }

std::string Overwrite(const std::string& path) {
  return "ファイル " + path + " はすでにあります．上書きしてよろしいですか？";
}

std::string LayerCountOutOfRange(const std::string& path, int32_t count) {
  return "ファイル " + path + " の層数 " + std::to_string(count) + " は 1～20 の範囲にありません";
}

std::string EndsEarly(const std::string& path) {
  return "ファイル " + path + " は途中で終わっています（層データが足りません）";
}

std::string NotCp932(const std::string& path) {
  return "ファイル " + path + " に Shift-JIS として読めない文字があります";
}

std::string NotRepresentable(const std::string& path) {
  return "ファイル " + path + " に Shift-JIS で表せない文字があります";
}

std::string LineTooLong(const std::string& path, int lineNumber, int32_t layerCount) {
  std::string which;
  if (lineNumber <= 1) {
    which = "地点名";
  } else if (lineNumber == 2) {
    which = "層数の行";
  } else if (lineNumber == 3) {
    which = "見出しの行";
  } else if (lineNumber - 3 <= layerCount) {
    which = "第" + std::to_string(lineNumber - 3) + "層の行";
  } else {
    which = "基盤層（第" + std::to_string(layerCount + 1) + "層）の行";
  }
  return "ファイル " + path + " の" + which + "が長すぎて読み込めません";
}

std::string ValuesTooLong(int layerNumber, int layerCount) {
  const std::string which = layerNumber > layerCount
                                ? "基盤層（第" + std::to_string(layerNumber) + "層）"
                                : "第" + std::to_string(layerNumber) + "層";
  return which + "の数値が大きすぎてファイルに保存できません";
}

}  // namespace file_messages

// ---------------------------------------------------------------------------
// Reading

namespace {

const std::string& Field(const std::vector<std::string>& tokens, size_t index) {
  static const std::string empty;
  return index < tokens.size() ? tokens[index] : empty;
}

// The number conversions report the field as the user would see it.
std::string AsText(const std::string& cp932) { return Cp932ToUtf8(cp932).value_or(cp932); }

// A line the buffer cut between the two bytes of a character: all but its
// last byte is CP932 text and that byte starts a double-byte character.
bool CutInsideCharacter(std::string_view line, bool cut) {
  return cut && !line.empty() && IsCp932LeadByte(static_cast<unsigned char>(line.back())) &&
         Cp932ToUtf8(line.substr(0, line.size() - 1)).has_value();
}

float FieldToSingle(const std::vector<std::string>& tokens, size_t index) {
  return StrToSingle(AsText(Field(tokens, index)));
}

}  // namespace

ProfileFileParse ParseProfileFile(std::string_view bytes) {
  ProfileFileParse parse;
  auto fail = [&](ProfileFileProblem problem) {
    parse.problem = problem;
    return parse;
  };
  // A head of kProfileReadLimit bytes may end inside a character.
  const FileText text = TakeFileText(bytes, bytes.size() >= kProfileReadLimit);
  if (!text.representable) return fail(ProfileFileProblem::NotRepresentable);
  TextLineReader reader(text.cp932, kLineBufferBytes);
  std::vector<std::string> tokens;

  // The next line split into tokens; a problem when there is none or when it
  // is not CP932 text.
  auto nextLine = [&]() -> ProfileFileProblem {
    const std::optional<std::string_view> line = reader.Next();
    if (!line) return ProfileFileProblem::EndsEarly;
    ++parse.lineNumber;
    if (!Cp932ToUtf8(*line)) {
      return CutInsideCharacter(*line, reader.LastLineWasCut()) ? ProfileFileProblem::LineTooLong
                                                               : ProfileFileProblem::NotCp932;
    }
    SplitTokens(*line, tokens);
    return ProfileFileProblem::None;
  };

  if (const auto problem = nextLine(); problem != ProfileFileProblem::None) return fail(problem);
  parse.data.siteName = AsText(Field(tokens, 1));

  if (const auto problem = nextLine(); problem != ProfileFileProblem::None) return fail(problem);
  const int32_t count = StrToInt(AsText(Field(tokens, 1)));
  parse.layerCount = count;
  if (count < 1 || count > kMaxLayers) return fail(ProfileFileProblem::LayerCountOutOfRange);
  parse.data.layerCount = count;

  if (const auto problem = nextLine(); problem != ProfileFileProblem::None) return fail(problem);

  for (int32_t i = 0; i < count; ++i) {
    if (const auto problem = nextLine(); problem != ProfileFileProblem::None) return fail(problem);
    ProfileLayerValues& layer = parse.data.layers[i];
    layer.thickness = FieldToSingle(tokens, 1);
    layer.density = FieldToSingle(tokens, 2);
    layer.vs = FieldToSingle(tokens, 3);
  }

  // The base line may be missing; a result file's conditions and table after
  // it are not read.
  switch (const auto problem = nextLine()) {
    case ProfileFileProblem::EndsEarly:
      break;
    case ProfileFileProblem::None:
      parse.data.hasBaseLine = true;
      if (!Field(tokens, 2).empty()) parse.data.baseDensity = FieldToSingle(tokens, 2);
      if (!Field(tokens, 3).empty()) parse.data.baseVs = FieldToSingle(tokens, 3);
      break;
    default:
      return fail(problem);
  }
  return parse;
}

// ---------------------------------------------------------------------------
// Writing

namespace {

// Appends printf "%*.*f" of a value without an allocation of its own.
// A float32 value times 10^p (p <= 3) is exact in double, so rounding that
// product half to even is exactly printf's rounding of the value; the digits
// then come from one integer. Everything else goes through to_chars with a
// precision, which also rounds exactly as printf does.
void AppendFixed(std::string& text, double value, int precision, int width = 0) {
  static constexpr double kScale[] = {1.0, 10.0, 100.0, 1000.0};
  const double magnitude = std::fabs(value);
  if (precision >= 0 && precision <= 3 && magnitude < 1e15 &&
      static_cast<double>(static_cast<float>(value)) == value) {
    // Adding and taking away 2^52 leaves the nearest integer, ties to even,
    // as nearbyint does in the default rounding, without its call; from
    // 2^52 on every double is an integer already.
    constexpr double kTwo52 = 4503599627370496.0;
    double whole = magnitude * kScale[precision];
    if (whole < kTwo52) whole = (whole + kTwo52) - kTwo52;
    auto units = static_cast<unsigned long long>(whole);
    char digits[48];
    char* const end = digits + sizeof digits;
    char* start = end;
    for (int place = 0; place < precision; ++place) {
      *--start = static_cast<char>('0' + units % 10);
      units /= 10;
    }
    if (precision > 0) *--start = '.';
    // Most numbers of a result file have a small whole part: 32-bit steps.
    if (units <= 0xffffffffu) {
      auto small = static_cast<uint32_t>(units);
      do {
        *--start = static_cast<char>('0' + small % 10);
        small /= 10;
      } while (small > 0);
    } else {
      do {
        *--start = static_cast<char>('0' + units % 10);
        units /= 10;
      } while (units > 0);
    }
    // printf keeps the sign of a negative value that rounds to zero, and of -0.
    if (std::signbit(value)) *--start = '-';
    const auto length = static_cast<size_t>(end - start);
    if (static_cast<int>(length) < width) {
      const size_t pad = static_cast<size_t>(width) - length;
      if (pad <= static_cast<size_t>(start - digits)) {
        start -= pad;
        std::memset(start, ' ', pad);
      } else {
        text.append(pad, ' ');
      }
    }
    text.append(start, static_cast<size_t>(end - start));
    return;
  }
  char buffer[512];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
  const size_t length = ec == std::errc() ? static_cast<size_t>(end - buffer) : 0;
  if (static_cast<int>(length) < width) text.append(width - length, ' ');
  text.append(buffer, length);
}

}  // namespace

std::string FormatFixed(double value, int precision, int width) {
  std::string text;
  AppendFixed(text, value, precision, width);
  return text;
}

namespace {

constexpr const char* kCrLf = "\r\n";
constexpr const char* kNoSample = "     ---";
// Bytes a line may hold before its line end and still be read back whole.
constexpr size_t kLongestLine = kLineBufferBytes - 2;

// The sample columns: a value that is not a number never reaches the file.
void AppendSample(std::string& text, float value) {
  if (std::isfinite(value)) {
    AppendFixed(text, value, 3, 8);
  } else {
    text += kNoSample;
  }
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// CP932 of a fixed text; ASCII is the same in both.
std::string Cp932Text(const std::string& utf8) {
  return IsAscii(utf8) ? utf8 : Utf8ToCp932(utf8).value_or(std::string());
}

std::string SiteLine(const std::string& siteName) {
  // The site field holds one line; anything after a line break cannot be
  // written without breaking the file's layout.
  return "サイト名," + siteName.substr(0, siteName.find_first_of("\r\n"));
}

// Encodes the lines that the reader reads back (site to base) and checks
// that each fits its line buffer; the rest, already CP932, is appended.
FormattedFile Encode(const std::vector<std::string>& profileLines, const std::string& rest) {
  FormattedFile file;
  file.bytes.reserve(rest.size() + 64 * profileLines.size());
  for (size_t i = 0; i < profileLines.size(); ++i) {
    const std::optional<std::string> line =
        IsAscii(profileLines[i]) ? std::optional<std::string>(profileLines[i]) : Utf8ToCp932(profileLines[i]);
    if (!line) {
      file.problem = FileFormatProblem::SiteNameNotCp932;
      return file;
    }
    if (line->size() > kLongestLine) {
      if (i == 0) {
        file.problem = FileFormatProblem::SiteNameTooLong;
      } else {
        file.problem = FileFormatProblem::ValuesTooLong;
        // Lines 4.. are the layers; the last profile line is the base.
        file.lineNumber = static_cast<int>(i) - 2;
      }
      file.bytes.clear();
      return file;
    }
    file.bytes += *line;
    file.bytes += kCrLf;
  }
  file.bytes += rest;
  return file;
}

}  // namespace

FormattedFile FormatProfileFile(const SoilProfile& profile) {
  const int n = std::clamp(profile.layerCount, 0, kMaxLayers);
  std::vector<std::string> lines;
  lines.push_back(SiteLine(profile.siteName));
  lines.push_back("層数," + std::to_string(n));
  lines.push_back("層番号,層厚(m),密度,S波速度(m/s)");
  for (int k = 1; k <= n; ++k) {
    const SoilLayer& layer = profile.layers[k - 1];
    lines.push_back(std::to_string(k) + "," + FormatFixed(layer.thickness, 2) + "," +
                    FormatFixed(layer.density, 2) + "," + FormatFixed(layer.vs, 0));
  }
  const SoilLayer& base = profile.layers[n];
  lines.push_back(",," + FormatFixed(base.density, 2) + "," + FormatFixed(base.vs, 0));
  return Encode(lines, {});
}

FormattedFile FormatResultFile(const SoilProfile& profile, const AmplificationResult& result,
                               const AnalysisSettings& settings) {
  const int n = std::clamp(profile.layerCount, 0, kMaxLayers);
  std::vector<std::string> lines;
  lines.push_back(SiteLine(profile.siteName));
  lines.push_back("層数," + std::to_string(n));
  lines.push_back("層番号,層厚(m),密度,S波速度(m/s),減衰比");
  for (int k = 1; k <= n; ++k) {
    const SoilLayer& layer = profile.layers[k - 1];
    lines.push_back(std::to_string(k) + "," + FormatFixed(layer.thickness, 2, 6) + "," +
                    FormatFixed(layer.density, 2, 6) + "," + FormatFixed(layer.vs, 0, 6) + "," +
                    FormatFixed(layer.dampingRatio, 3, 6));
  }
  const SoilLayer& base = profile.layers[n];
  lines.push_back(",," + FormatFixed(base.density, 2) + "," + FormatFixed(base.vs, 0) + "," +
                  FormatFixed(base.dampingRatio, 3));

  // The rest is built from fixed texts and numbers only, straight in CP932.
  std::string rest;
  const int points = std::clamp(result.pointCount, 0, kMaxPoints);
  rest.reserve(256 + 16 * n + static_cast<size_t>(points) * (24 + 9 * n));
  switch (settings.method) {
    case 0: rest += Cp932Text("解析法,伝達マトリックス法"); break;
    case 1: rest += Cp932Text("解析法,等価質点系解析"); break;
    default: rest += Cp932Text("重複反射法"); break;
  }
  rest += kCrLf;
  rest += Cp932Text(settings.dampingForm == 0 ? "履歴型減衰,減衰比," : "粘性型減衰,減衰比,");
  AppendFixed(rest, profile.layers[0].dampingRatio, 3, 7);
  rest += kCrLf;
  rest += Cp932Text(",振動数,周期,増幅度");
  rest += kCrLf;
  rest += ",,";
  const std::string layerWord = Cp932Text("第"), layersWord = Cp932Text("層");
  for (int k = 1; k <= n; ++k) {
    rest += ", ";
    rest += layerWord;
    rest += std::to_string(k);
    rest += layersWord;
  }
  rest += kCrLf;

  for (int j = 0; j < points; ++j) {
    // "%4d" of the sample number, 1 to 400.
    char number[4] = {' ', ' ', ' ', ' '};
    for (int k = j + 1, at = 3; k > 0 && at >= 0; k /= 10, --at) number[at] = static_cast<char>('0' + k % 10);
    rest.append(number, sizeof number);
    rest += ',';
    AppendSample(rest, result.frequency[j]);
    rest += ',';
    AppendSample(rest, result.period[j]);
    for (int m = 0; m < n; ++m) {
      const std::vector<float>& values = result.amplification[m];
      rest += ',';
      if (j < static_cast<int>(values.size())) {
        AppendSample(rest, values[j]);
      } else {
        rest += kNoSample;
      }
    }
    rest += kCrLf;
  }
  return Encode(lines, rest);
}

bool HasResultFor(const SoilProfile& profile, const AmplificationResult& result) {
  const int n = profile.layerCount;
  if (!result.complete || n < 1 || n > kMaxLayers) return false;
  if (result.pointCount < 1 || result.pointCount > kMaxPoints) return false;
  for (int m = 0; m < kMaxLayers; ++m) {
    if (result.HasSlot(m) != (m < n)) return false;
    if (m < n && static_cast<int>(result.amplification[m].size()) < result.pointCount) return false;
  }
  return true;
}

// ---------------------------------------------------------------------------
// The operations

std::string ApplyCsvRule(const FileDialogAnswer& answer) {
  if (answer.filterIndex == kCsvFilter && ExtractFileExt(answer.path).empty()) {
    return answer.path + ".csv";
  }
  return answer.path;
}

ProfileFiles::ProfileFiles(Workspace& workspace, FileDialogPort& dialogs, MessagePort& messages)
    : workspace_(workspace), dialogs_(dialogs), messages_(messages) {}

bool ProfileFiles::LoadProfileFile() {
  using namespace file_messages;
  const std::optional<FileDialogAnswer> answer =
      dialogs_.RunOpenDialog({kOpenDialogFilter, workspace_.startDir});
  if (!answer) return false;
  const std::string path = ApplyCsvRule(*answer);
  if (!FileExists(path)) {
    messages_.Show(ErrorBox(Missing(path), kFileErrorCaption));
    return false;
  }
  const std::optional<std::string> bytes = ReadFileHead(path, kProfileReadLimit);
  if (!bytes) {
    messages_.Show(ErrorBox(kCannotRead, kFileErrorCaption));
    return false;
  }

  // Everything is read and converted before anything is replaced, so a
  // refused file or a bad number leaves the workspace as it was.
  const ProfileFileParse parse = ParseProfileFile(*bytes);
  switch (parse.problem) {
    case ProfileFileProblem::None:
      break;
    case ProfileFileProblem::EndsEarly:
      messages_.Show(ErrorBox(EndsEarly(path), kFileErrorCaption));
      return false;
    case ProfileFileProblem::LayerCountOutOfRange:
      messages_.Show(ErrorBox(LayerCountOutOfRange(path, parse.layerCount), kFileErrorCaption));
      return false;
    case ProfileFileProblem::NotCp932:
      messages_.Show(ErrorBox(NotCp932(path), kFileErrorCaption));
      return false;
    case ProfileFileProblem::LineTooLong:
      messages_.Show(ErrorBox(LineTooLong(path, parse.lineNumber, parse.layerCount), kFileErrorCaption));
      return false;
    case ProfileFileProblem::NotRepresentable:
      messages_.Show(ErrorBox(NotRepresentable(path), kFileErrorCaption));
      return false;
  }

  const ProfileFileData& data = parse.data;
  const int n = data.layerCount;
  SoilProfile profile = workspace_.profile;
  profile.siteName = data.siteName;
  profile.layerCount = n;
  for (int i = 0; i < n; ++i) {
    profile.layers[i].thickness = data.layers[i].thickness;
    profile.layers[i].density = data.layers[i].density;
    profile.layers[i].vs = data.layers[i].vs;
  }
  // An empty base field keeps the value the record had; a missing base line
  // leaves no velocity, which the next take-over of the grid reports.
  SoilLayer& base = profile.layers[n];
  if (data.hasBaseLine) {
    if (data.baseDensity) base.density = *data.baseDensity;
    if (data.baseVs) base.vs = *data.baseVs;
  } else {
    base.vs = 0.0f;
  }
  ComputeDerivedValues(profile);  // may raise an overflow, before any change

  ProfileGrid& grid = workspace_.grid;
  for (int row = 1; row < ProfileGrid::kRows; ++row) {
    for (int col = 1; col < ProfileGrid::kColumns; ++col) grid.SetCell(col, row, {});
  }
  for (int i = 0; i < n; ++i) {
    grid.SetCell(1, i + 1, FormatLength(profile.layers[i].thickness));
    grid.SetCell(2, i + 1, FormatLength(profile.layers[i].density));
    grid.SetCell(3, i + 1, FormatVelocity(profile.layers[i].vs));
  }
  if (base.density != 0.0f) grid.SetCell(2, n + 1, FormatLength(base.density));
  if (base.vs != 0.0f) grid.SetCell(3, n + 1, FormatVelocity(base.vs));
  grid.SetUpDown1Position(n);
  grid.EdSite = profile.siteName;
  grid.SetCell(4, 1, FormatLength(0.0f));
  for (int i = 0; i < n; ++i) grid.SetCell(4, i + 2, FormatLength(profile.layers[i].bottomDepth));

  workspace_.profile = std::move(profile);
  workspace_.fileName = ExtractFileName(path);
  workspace_.Label3 = ProfileGrid::kFileLabelPrefix + workspace_.fileName;
  grid.Label7 = workspace_.Label3;
  return true;
}

bool ProfileFiles::ReportFormatProblem(const FormattedFile& file) {
  using namespace file_messages;
  switch (file.problem) {
    case FileFormatProblem::None:
      return false;
    case FileFormatProblem::SiteNameNotCp932:
      messages_.Show(ErrorBox(kSiteNameNotCp932, kDataErrorCaption));
      return true;
    case FileFormatProblem::SiteNameTooLong:
      messages_.Show(ErrorBox(kSiteNameTooLong, kDataErrorCaption));
      return true;
    case FileFormatProblem::ValuesTooLong:
      messages_.Show(ErrorBox(ValuesTooLong(file.lineNumber, workspace_.profile.layerCount),
                              kDataErrorCaption));
      return true;
  }
  return true;
}

std::optional<std::string> ProfileFiles::ChooseSavePath() {
  const std::optional<FileDialogAnswer> answer = dialogs_.RunSaveDialog({kSaveDialogFilter, workspace_.startDir});
  if (!answer) return std::nullopt;
  std::string path = ApplyCsvRule(*answer);
  if (FileExists(path)) {
    const MessageResult reply = messages_.Show(
        QuestionBox(file_messages::Overwrite(path), file_messages::kOverwriteCaption));
    if (reply != MessageResult::Ok) return std::nullopt;
  }
  return path;
}

bool ProfileFiles::WriteChosenFile(const std::string& path, const std::string& bytes) {
  if (!WriteFileAtomically(path, bytes)) {
    messages_.Show(ErrorBox(file_messages::kCannotCreate, file_messages::kFileErrorCaption));
    return false;
  }
  return true;
}

bool ProfileFiles::SaveProfileFile() {
  if (!workspace_.grid.StoreProfile(workspace_.profile, messages_)) return false;
  if (onProfileAccepted) onProfileAccepted();
  // Checked before the dialog: there is no point in choosing a name for a
  // profile that cannot be written.
  const FormattedFile file = FormatProfileFile(workspace_.profile);
  if (ReportFormatProblem(file)) return false;
  const std::optional<std::string> path = ChooseSavePath();
  if (!path || !WriteChosenFile(*path, file.bytes)) return false;
  workspace_.fileName = ExtractFileName(*path);
  workspace_.Label3 = ProfileGrid::kFileLabelPrefix + workspace_.fileName;
  workspace_.grid.Label7 = workspace_.Label3;
  return true;
}

std::optional<std::string> ProfileFiles::ResultFileBytes() {
  if (!workspace_.grid.StoreProfile(workspace_.profile, messages_)) return std::nullopt;
  if (onProfileAccepted) onProfileAccepted();
  if (!HasResultFor(workspace_.profile, workspace_.result)) {
    messages_.Show(ErrorBox(file_messages::kNoResult, file_messages::kDataErrorCaption));
    return std::nullopt;
  }
  FormattedFile file = FormatResultFile(workspace_.profile, workspace_.result, workspace_.settings);
  if (ReportFormatProblem(file)) return std::nullopt;
  return std::move(file.bytes);
}

bool ProfileFiles::SaveResultFile() {
  const std::optional<std::string> bytes = ResultFileBytes();
  if (!bytes) return false;
  const std::optional<std::string> path = ChooseSavePath();
  return path && WriteChosenFile(*path, *bytes);
}
