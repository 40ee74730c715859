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
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/FileText.h"
#include "platform/FixedFormat.h"
#include "platform/FixedTexts.h"
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
  const std::string which = layerNumber > layerCount ? "基盤層（第" + std::to_string(layerNumber) + "層）"
                                                     : "第" + std::to_string(layerNumber) + "層";
  return which + "の数値が大きすぎてファイルに保存できません";
}

std::string NotANumber(const std::string& path, int lineNumber, const std::string& field) {
  return "ファイル " + path + " の " + std::to_string(lineNumber) + " 行目: '" + field +
         "' は浮動小数点数ではありません";
}

std::string NotAnInteger(const std::string& path, int lineNumber, const std::string& field) {
  return "ファイル " + path + " の " + std::to_string(lineNumber) + " 行目: '" + field + "' は整数ではありません";
}

std::string BlankBeforeComma(const std::string& path, int lineNumber, const std::string& field) {
  return "ファイル " + path + " の " + std::to_string(lineNumber) + " 行目: '" + field +
         "' の後の空白で値が次の欄にずれています（コンマの前に空白は置けません）";
}

std::string TooFewLayerLines(const std::string& path, int32_t layerCount, int32_t layerLines) {
  return "ファイル " + path + " の 2 行目: 層数 " + std::to_string(layerCount) + " に対して層の行が " +
         std::to_string(layerLines) + " 行しかありません";
}

std::string RefusedValue(const std::string& path, const std::string& text) { return "ファイル " + path + " の" + text; }

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

bool IsSeparatorBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// Where the first tokens of a line come from: for each, the stretch of the
// line between its commas, as the user typed it, and whether the token is
// empty although that stretch holds text - the splitter's empty field after
// a blank that ended the field before it. Follows SplitTokens' rules.
struct TokenSource {
  std::string_view typed;
  bool shifted = false;
};

std::vector<TokenSource> TokenSources(std::string_view line, size_t count) {
  line = line.substr(0, std::min(line.find('\0'), line.size()));
  std::vector<TokenSource> sources;
  // The typed field from `begin` to the next comma, without the line end.
  auto typedField = [&](size_t begin) {
    std::string_view field = line.substr(begin, line.find(',', begin) - begin);
    while (!field.empty() && field.back() == '\n') field.remove_suffix(1);
    return field;
  };
  size_t fieldBegin = 0;  // just after the last comma
  size_t i = 0;
  while (sources.size() < count) {
    while (i < line.size() && IsSeparatorBlank(line[i])) ++i;
    if (i >= line.size()) break;
    if (line[i] == ',') {
      const std::string_view field = typedField(fieldBegin);
      sources.push_back({field, field.find_first_not_of(" \t") != std::string_view::npos});
      fieldBegin = ++i;
      continue;
    }
    sources.push_back({typedField(fieldBegin), false});
    while (i < line.size() && line[i] != ',' && !IsSeparatorBlank(line[i])) ++i;
    if (i < line.size() && line[i] == ',') fieldBegin = ++i;
  }
  return sources;
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
  std::string_view line;
  std::vector<std::string> tokens;

  // The next line split into tokens; a problem when there is none, when it
  // is not CP932 text, or when the buffer cut it (its rest would be read as
  // the next line and shift every value after it).
  auto nextLine = [&]() -> ProfileFileProblem {
    const std::optional<std::string_view> next = reader.Next();
    if (!next) return ProfileFileProblem::EndsEarly;
    ++parse.lineNumber;
    line = *next;
    if (!Cp932ToUtf8(line)) {
      return CutInsideCharacter(line, reader.LastLineWasCut()) ? ProfileFileProblem::LineTooLong
                                                               : ProfileFileProblem::NotCp932;
    }
    if (reader.LastLineWasCut()) return ProfileFileProblem::LineTooLong;
    SplitTokens(line, tokens);
    return ProfileFileProblem::None;
  };
  // Field `index` of the line as a number; a problem names the field as the
  // line has it, not as the splitter left it.
  auto badField = [&](size_t index, ProfileFileProblem problem) {
    const std::vector<TokenSource> sources = TokenSources(line, index + 1);
    parse.field = index < sources.size() ? AsText(std::string(sources[index].typed)) : std::string();
    parse.problem = problem;
  };
  auto real = [&](size_t index) -> std::optional<float> {
    try {
      return StrToSingle(AsText(Field(tokens, index)));
    } catch (const ConversionError&) {
      badField(index, ProfileFileProblem::NotANumber);
      return std::nullopt;
    }
  };
  auto integer = [&](size_t index) -> std::optional<int32_t> {
    try {
      return StrToInt(AsText(Field(tokens, index)));
    } catch (const ConversionError&) {
      badField(index, ProfileFileProblem::NotAnInteger);
      return std::nullopt;
    }
  };
  // A blank before a comma gives an extra empty field; when that moves a
  // value the reader takes, say so rather than convert the wrong field.
  auto shifted = [&](size_t first, size_t last) {
    const std::vector<TokenSource> sources = TokenSources(line, last + 1);
    for (size_t k = first; k < sources.size(); ++k) {
      if (!sources[k].shifted) continue;
      parse.field = AsText(std::string(sources[k].typed));
      return true;
    }
    return false;
  };

  if (const auto problem = nextLine(); problem != ProfileFileProblem::None) return fail(problem);
  parse.data.siteName = AsText(Field(tokens, 1));

  if (const auto problem = nextLine(); problem != ProfileFileProblem::None) return fail(problem);
  const std::optional<int32_t> count = integer(1);
  if (!count) return parse;
  parse.layerCount = *count;
  if (*count < 1 || *count > kMaxLayers) return fail(ProfileFileProblem::LayerCountOutOfRange);
  parse.data.layerCount = *count;

  if (const auto problem = nextLine(); problem != ProfileFileProblem::None) return fail(problem);

  for (int32_t i = 0; i < *count; ++i) {
    if (const auto problem = nextLine(); problem != ProfileFileProblem::None) return fail(problem);
    // The base line, with the file ending after it, where a layer belongs:
    // the count is larger than the layer lines.
    if (Field(tokens, 0).empty() && Field(tokens, 1).empty()) {
      TextLineReader rest = reader;
      int32_t linesAfter = 0;
      while (const std::optional<std::string_view> after = rest.Next()) {
        if (after->find_first_not_of(" \t\n") != std::string_view::npos) ++linesAfter;
      }
      if (linesAfter < *count - i) {
        parse.layerLines = i;
        return fail(ProfileFileProblem::TooFewLayerLines);
      }
    }
    if (shifted(1, 3)) return fail(ProfileFileProblem::BlankBeforeComma);
    ProfileLayerValues& layer = parse.data.layers[i];
    const std::optional<float> thickness = real(1);
    if (!thickness) return parse;
    const std::optional<float> density = real(2);
    if (!density) return parse;
    const std::optional<float> vs = real(3);
    if (!vs) return parse;
    layer = {*thickness, *density, *vs};
  }

  // The base line may be missing; a result file's conditions and table after
  // it are not read.
  switch (const auto problem = nextLine()) {
    case ProfileFileProblem::EndsEarly: break;
    case ProfileFileProblem::None:
      parse.data.hasBaseLine = true;
      if (shifted(2, 3)) return fail(ProfileFileProblem::BlankBeforeComma);
      if (!Field(tokens, 2).empty()) {
        parse.data.baseDensity = real(2);
        if (!parse.data.baseDensity) return parse;
      }
      if (!Field(tokens, 3).empty()) {
        parse.data.baseVs = real(3);
        if (!parse.data.baseVs) return parse;
      }
      break;
    default: return fail(problem);
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
  return kSiteNameField + siteName.substr(0, siteName.find_first_of("\r\n"));
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
  lines.push_back(kLayerCountField + std::to_string(n));
  lines.push_back("層番号,層厚(m),密度,S波速度(m/s)");
  for (int k = 1; k <= n; ++k) {
    const SoilLayer& layer = profile.layers[k - 1];
    lines.push_back(std::to_string(k) + "," + FormatFixed(layer.thickness, 2) + "," + FormatFixed(layer.density, 2) +
                    "," + FormatFixed(layer.vs, 0));
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

namespace {

ProfileFileRead Refused(const std::string& text, const char* caption = kFileErrorCaption) {
  return {std::nullopt, ErrorBox(text, caption), false};
}

// A bad number ends the action as every conversion error does.
ProfileFileRead NotConverted(const std::string& text) { return {std::nullopt, ConversionError(text).Box(), true}; }

ProfileFileRead ParseProblem(const std::string& path, const ProfileFileParse& parse) {
  using namespace file_messages;
  switch (parse.problem) {
    case ProfileFileProblem::None: break;
    case ProfileFileProblem::EndsEarly: return Refused(EndsEarly(path));
    case ProfileFileProblem::LayerCountOutOfRange: return Refused(LayerCountOutOfRange(path, parse.layerCount));
    case ProfileFileProblem::NotCp932: return Refused(NotCp932(path));
    case ProfileFileProblem::LineTooLong: return Refused(LineTooLong(path, parse.lineNumber, parse.layerCount));
    case ProfileFileProblem::NotRepresentable: return Refused(NotRepresentable(path));
    case ProfileFileProblem::BlankBeforeComma: return Refused(BlankBeforeComma(path, parse.lineNumber, parse.field));
    case ProfileFileProblem::TooFewLayerLines:
      return Refused(TooFewLayerLines(path, parse.layerCount, parse.layerLines));
    case ProfileFileProblem::NotAnInteger: return NotConverted(NotAnInteger(path, parse.lineNumber, parse.field));
    case ProfileFileProblem::NotANumber: return NotConverted(NotANumber(path, parse.lineNumber, parse.field));
  }
  return {};
}

// The file's values over a copy of the current profile.
SoilProfile ProfileOf(const ProfileFileData& data, SoilProfile profile) {
  const int n = data.layerCount;
  profile.siteName = data.siteName;
  profile.layerCount = n;
  for (int i = 0; i < n; ++i) {
    profile.layers[i].thickness = data.layers[i].thickness;
    profile.layers[i].density = data.layers[i].density;
    profile.layers[i].vs = data.layers[i].vs;
  }
  // A base value the file does not give (an empty field, no base line) is
  // none: the record may hold a layer of an earlier, longer profile, which
  // would pass the checks below unseen.
  SoilLayer& base = profile.layers[n];
  base.density = data.baseDensity.value_or(0.0f);
  base.vs = data.baseVs.value_or(0.0f);
  ComputeDerivedValues(profile);  // may raise an overflow, before any change
  return profile;
}

// The profile in the editor's grid, filled in a copy of the current one.
ProfileGrid GridOf(const SoilProfile& profile, ProfileGrid grid) {
  const int n = profile.layerCount;
  const SoilLayer& base = profile.layers[n];
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
  return grid;
}

}  // namespace

ProfileFileRead ReadProfileFile(const std::string& path, const ProfileDocument& current) {
  using namespace file_messages;
  if (!FileExists(path)) return Refused(Missing(path));
  const std::optional<std::string> bytes = ReadFileHead(path, kProfileReadLimit);
  if (!bytes) return Refused(kCannotRead);

  // Everything is read and converted before anything is replaced, so a
  // refused file or a bad number leaves the document as it was.
  const ProfileFileParse parse = ParseProfileFile(*bytes);
  if (parse.problem != ProfileFileProblem::None) return ParseProblem(path, parse);
  SoilProfile profile = ProfileOf(parse.data, current.profile);
  // The editor's own checks judge the grid, so a refused file leaves the
  // editor as it was.
  ProfileGrid grid = GridOf(profile, current.grid);
  std::optional<std::string> refused = grid.MissingValue();
  if (!refused) refused = NonPositiveVelocity(profile);
  if (refused) return Refused(RefusedValue(path, *refused), kDataErrorCaption);

  ProfileFileRead read;
  ProfileDocument& document = read.document.emplace(current);
  document.grid = std::move(grid);
  document.profile = std::move(profile);
  document.fileName = ExtractFileName(path);
  document.Label3 = ProfileGrid::kFileLabelPrefix + document.fileName;
  document.grid.Label7 = document.Label3;
  return read;
}

bool ProfileFiles::LoadProfileFile(const std::optional<std::string>& named) {
  std::string path;
  if (named) {
    path = *named;
  } else {
    const std::optional<FileDialogAnswer> answer = dialogs_.RunOpenDialog({kOpenDialogFilter, document_.startDir});
    if (!answer) return false;
    path = ApplyCsvRule(*answer);
  }
  ProfileFileRead read = ReadProfileFile(path, document_);
  if (read.problem && read.thrown) throw ConversionError(read.problem->text);
  if (read.problem) {
    messages_.Show(*read.problem);
    return false;
  }
  document_ = std::move(*read.document);
  return true;
}

std::optional<MessageBox> FormatProblemBox(const FormattedFile& file, int layerCount) {
  using namespace file_messages;
  switch (file.problem) {
    case FileFormatProblem::None: return std::nullopt;
    case FileFormatProblem::SiteNameNotCp932: return ErrorBox(kSiteNameNotCp932, kDataErrorCaption);
    case FileFormatProblem::SiteNameTooLong: return ErrorBox(kSiteNameTooLong, kDataErrorCaption);
    case FileFormatProblem::ValuesTooLong:
      return ErrorBox(ValuesTooLong(file.lineNumber, layerCount), kDataErrorCaption);
  }
  return ErrorBox(kCannotCreateFile, kDataErrorCaption);
}

bool ProfileFiles::ReportFormatProblem(const FormattedFile& file) {
  const std::optional<MessageBox> box = FormatProblemBox(file, document_.profile.layerCount);
  if (box) messages_.Show(*box);
  return box.has_value();
}

std::optional<std::string> ProfileFiles::ChooseSavePath() {
  const std::optional<FileDialogAnswer> answer = dialogs_.RunSaveDialog({kSaveDialogFilter, document_.startDir});
  if (!answer) return std::nullopt;
  std::string path = ApplyCsvRule(*answer);
  if (FileExists(path)) {
    const MessageResult reply = messages_.Show(QuestionBox(file_messages::Overwrite(path), kOverwriteCaption));
    if (reply != MessageResult::Ok) return std::nullopt;
  }
  return path;
}

bool ProfileFiles::WriteChosenFile(const std::string& path, const std::string& bytes) {
  if (!WriteFileAtomically(path, bytes)) {
    messages_.Show(ErrorBox(kCannotCreateFile, kFileErrorCaption));
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
