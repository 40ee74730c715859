#include "windows/SettingsFile.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/Cp932.h"
#include "platform/FileSystem.h"
#include "platform/FileText.h"
#include "platform/SystemErrorText.h"
#include "platform/TextLines.h"
#include "platform/Mystr.h"

namespace {

// A line is read into a 200-byte buffer: at most 199 bytes, line end included.
constexpr std::size_t kLineBuffer = 200;
// Fifteen such lines; a CR before each LF is dropped on reading, so this many
// bytes from the start always hold them.
constexpr std::size_t kFileHeadBytes = 2 * kSettingsLineCount * kLineBuffer;

enum class Kind { Method, DampingForm, Text, Divisions, SubDivisions, Choice2, Points };

struct LineRule {
  const char* label;  // UTF-8; written after the value
  Kind kind;
};

constexpr LineRule kLines[kSettingsLineCount] = {
    {"解析法", Kind::Method},         {"減衰型", Kind::DampingForm},   {"減衰比", Kind::Text},
    {"X軸下限", Kind::Text},          {"X軸上限", Kind::Text},         {"X軸分割", Kind::Divisions},
    {"X軸副分割", Kind::SubDivisions}, {"X軸量", Kind::Choice2},        {"X軸目盛", Kind::Choice2},
    {"Y軸下限", Kind::Text},          {"Y軸上限", Kind::Text},         {"Y軸分割", Kind::Divisions},
    {"Y軸副分割", Kind::SubDivisions}, {"Y軸目盛", Kind::Choice2},      {"解析点数", Kind::Points},
};

// The fifteen persisted fields in file order; integer lines point at an int,
// text lines at a string.
struct FieldRef {
  int* number = nullptr;
  std::string* text = nullptr;
};

template <typename Settings, typename Ref>
std::array<Ref, kSettingsLineCount> FieldsOf(Settings& s) {
  return {{{&s.method, nullptr}, {&s.dampingForm, nullptr}, {nullptr, &s.dampingText},
           {nullptr, &s.xLower}, {nullptr, &s.xUpper}, {&s.xDivisions, nullptr},
           {&s.xSubDivisions, nullptr}, {&s.xQuantity, nullptr}, {&s.xScale, nullptr},
           {nullptr, &s.yLower}, {nullptr, &s.yUpper}, {&s.yDivisions, nullptr},
           {&s.ySubDivisions, nullptr}, {&s.yScale, nullptr}, {&s.pointChoice, nullptr}}};
}

struct ConstFieldRef {
  const int* number = nullptr;
  const std::string* text = nullptr;
};

// The standard conversion of a leading integer: optional sign and digits,
// anything after them ignored, no digits giving 0. Values beyond int stop at
// its ends, which every control brings into its own range anyway.
int LeadingInteger(const std::string& token) {
  std::size_t i = 0;
  while (i < token.size() && (token[i] == ' ' || token[i] == '\t')) ++i;
  bool negative = false;
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) negative = token[i++] == '-';
  long long value = 0;
  for (; i < token.size() && token[i] >= '0' && token[i] <= '9'; ++i) {
    value = value * 10 + (token[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) value = INT_MAX;
  return static_cast<int>(value);
}

// A radio group shown an index: below 0 chooses nothing, beyond the last item
// chooses the last.
int RadioIndex(int value, int itemCount) {
  if (value < 0) return -1;
  return value >= itemCount ? itemCount - 1 : value;
}

int Clamp(int value, int low, int high) { return value < low ? low : value > high ? high : value; }

int ControlValue(Kind kind, int value) {
  switch (kind) {
    case Kind::Method: return RadioIndex(value, 3);
    case Kind::DampingForm: return RadioIndex(value, 2);
    case Kind::Choice2: return RadioIndex(value, 2);
    case Kind::Points: return RadioIndex(value, 3);
    case Kind::Divisions: return Clamp(value, 1, 10);
    case Kind::SubDivisions: return Clamp(value, 0, 5);
    case Kind::Text: break;
  }
  return value;
}

// The text a field holds, as far as one file line can carry it.
std::string_view SingleLine(const std::string& text) {
  return std::string_view(text).substr(0, text.find_first_of("\r\n"));
}

}  // namespace

void ParseSettings(std::string_view fileBytes, AnalysisSettings& settings) {
  // A file saved as UTF-8 by an editor reads as its CP932 twin; one with a
  // character CP932 cannot hold is read as it stands, so its numbers still
  // count and such a text leaves its setting unchanged.
  const FileText text = TakeFileText(fileBytes, fileBytes.size() >= kFileHeadBytes);
  TextLineReader reader(text.cp932, kLineBuffer);
  auto fields = FieldsOf<AnalysisSettings, FieldRef>(settings);
  std::vector<std::string> tokens;
  for (int line = 0; line < kSettingsLineCount; ++line) {
    const std::optional<std::string_view> current = reader.Next();
    if (!current) break;
    SplitTokens(*current, tokens);
    if (tokens.empty() || tokens[0].empty()) continue;  // no value: keep the setting
    if (kLines[line].kind == Kind::Text) {
      if (auto converted = Cp932ToUtf8(tokens[0])) *fields[line].text = std::move(*converted);
    } else {
      *fields[line].number = ControlValue(kLines[line].kind, LeadingInteger(tokens[0]));
    }
  }
}

SettingsLoad LoadSettings(const std::filesystem::path& path, AnalysisSettings& settings) {
  const std::string name = path.string();
  if (!FileExists(name)) return SettingsLoad::Missing;
  const std::optional<std::string> bytes = ReadFileHead(name, kFileHeadBytes);
  if (!bytes) return SettingsLoad::Unreadable;
  ParseSettings(*bytes, settings);
  return SettingsLoad::Loaded;
}

bool FormatSettings(const AnalysisSettings& settings, std::string& fileBytes, std::string* error) {
  const auto fields = FieldsOf<const AnalysisSettings, ConstFieldRef>(settings);
  std::string out;
  for (int line = 0; line < kSettingsLineCount; ++line) {
    std::string value;
    if (fields[line].text != nullptr) {
      const std::optional<std::string> converted = Utf8ToCp932(SingleLine(*fields[line].text));
      if (!converted) {
        if (error != nullptr) {
          *error = "'" + *fields[line].text + "' はShift-JISで保存できない文字を含んでいます";
        }
        return false;
      }
      value = *converted;
    } else {
      value = std::to_string(*fields[line].number);
    }
    // The labels are fixed text that always converts.
    out += value + "," + Utf8ToCp932(kLines[line].label).value_or("") + "\r\n";
  }
  fileBytes = std::move(out);
  return true;
}

bool SaveSettings(const std::filesystem::path& path, const AnalysisSettings& settings, std::string* error) {
  std::string bytes;
  if (!FormatSettings(settings, bytes, error)) return false;
  const AtomicWriteResult written = WriteFileAtomically(path.string(), bytes);
  if (!written) {
    if (error != nullptr) {
      *error = "設定ﾌｧｲﾙ " + path.string() + " を保存できません（" + SystemErrorText(written.error) + "）";
    }
    return false;
  }
  return true;
}
