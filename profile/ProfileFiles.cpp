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
#include "platform/FixedFormat.h"
#include "platform/TextLines.h"
#include "platform/Mystr.h"

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

// Bytes a line may hold before its line end and still be read back whole.
constexpr size_t kLongestLine = kLineBufferBytes - 2;

}  // namespace

std::string SiteLine(const std::string& siteName) {
  // The site field holds one line; anything after a line break cannot be
  // written without breaking the file's layout.
  return "サイト名," + siteName.substr(0, siteName.find_first_of("\r\n"));
}

FormattedFile EncodeFileLines(const std::vector<std::string>& profileLines, const std::string& rest) {
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
  return EncodeFileLines(lines, {});
}

// ---------------------------------------------------------------------------
// The operations

std::string ApplyCsvRule(const FileDialogAnswer& answer) {
  if (answer.filterIndex == kCsvFilter && ExtractFileExt(answer.path).empty()) {
    return answer.path + ".csv";
  }
  return answer.path;
}

ProfileFiles::ProfileFiles(ProfileDocument& document, FileDialogPort& dialogs, MessagePort& messages,
                           ProfileAcceptedListener* accepted)
    : document_(document), dialogs_(dialogs), messages_(messages), accepted_(accepted) {}

bool ProfileFiles::TakeOverGrid() {
  if (!document_.grid.StoreProfile(document_.profile, messages_)) return false;
  if (accepted_) accepted_->ProfileAccepted();
  return true;
}

bool ProfileFiles::SaveUnderChosenName(const std::string& bytes) {
  const std::optional<std::string> path = ChooseSavePath();
  return path && WriteChosenFile(*path, bytes);
}

bool ProfileFiles::LoadProfileFile() {
  using namespace file_messages;
  const std::optional<FileDialogAnswer> answer =
      dialogs_.RunOpenDialog({kOpenDialogFilter, document_.startDir});
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
  // refused file or a bad number leaves the document as it was.
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
  SoilProfile profile = document_.profile;
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

  ProfileGrid& grid = document_.grid;
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

  document_.profile = std::move(profile);
  document_.fileName = ExtractFileName(path);
  document_.Label3 = ProfileGrid::kFileLabelPrefix + document_.fileName;
  grid.Label7 = document_.Label3;
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
      messages_.Show(ErrorBox(ValuesTooLong(file.lineNumber, document_.profile.layerCount),
                              kDataErrorCaption));
      return true;
  }
  return true;
}

std::optional<std::string> ProfileFiles::ChooseSavePath() {
  const std::optional<FileDialogAnswer> answer = dialogs_.RunSaveDialog({kSaveDialogFilter, document_.startDir});
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
  if (!TakeOverGrid()) return false;
  // Checked before the dialog: there is no point in choosing a name for a
  // profile that cannot be written.
  const FormattedFile file = FormatProfileFile(document_.profile);
  if (ReportFormatProblem(file)) return false;
  const std::optional<std::string> path = ChooseSavePath();
  if (!path || !WriteChosenFile(*path, file.bytes)) return false;
  document_.fileName = ExtractFileName(*path);
  document_.Label3 = ProfileGrid::kFileLabelPrefix + document_.fileName;
  document_.grid.Label7 = document_.Label3;
  return true;
}

