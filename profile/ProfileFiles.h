#pragma once
// The profile file ("地層構成ﾃﾞｰﾀ"): comma-separated CP932 text with CR LF
// line ends. The one reader takes the profile from it and from a result file
// ("増幅特性ﾃﾞｰﾀ", written by analysis/ResultFile, whose first lines are the
// profile's); the profile writer and the pieces both writers share.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileDialogs.h"
#include "platform/MessageBox.h"
#include "profile/ProfileDocument.h"
#include "profile/SoilProfile.h"

// ---------------------------------------------------------------------------
// Reading

// A line is read into a buffer of this many bytes, as the files have always
// been read: at most 98 bytes before the line end; a longer line is cut after
// 99 bytes and its rest is read as the next line.
inline constexpr size_t kLineBufferBytes = 100;

// The reader needs no more than the site, count and header lines, 20 layer
// lines and the base line; this much of a file always holds them.
inline constexpr size_t kProfileReadLimit = 64 * 1024;

struct ProfileLayerValues {
  float thickness = 0.0f;
  float density = 0.0f;
  float vs = 0.0f;
};

// What a profile or result file says about the profile.
struct ProfileFileData {
  std::string siteName;  // UTF-8; the first field after "サイト名"
  int32_t layerCount = 0;
  std::array<ProfileLayerValues, kMaxLayers> layers{};
  bool hasBaseLine = false;
  std::optional<float> baseDensity;  // nothing: the field was empty
  std::optional<float> baseVs;
};

enum class ProfileFileProblem {
  None,
  EndsEarly,             // fewer lines than the site, count, header and layer lines
  LayerCountOutOfRange,  // a count outside 1 to 20
  NotCp932,              // bytes that are not CP932 text in a line that is read
  LineTooLong,           // a line that is read was cut inside a double-byte character
  NotRepresentable,      // a UTF-8 file with a character CP932 cannot hold
  NotAnInteger,          // the layer count field is not a whole number
  NotANumber,            // a layer or base value field is not a number
  BlankBeforeComma,      // a blank before a comma moved the values into the next fields
  TooFewLayerLines,      // the base line (or the end) stands where a layer line belongs
};

struct ProfileFileParse {
  ProfileFileProblem problem = ProfileFileProblem::None;
  int32_t layerCount = 0;  // the count read, also for the out-of-range message
  int lineNumber = 0;      // the line (1 = site) a problem is in
  std::string field;       // UTF-8: the field as it stands in the line, for the field problems
  int32_t layerLines = 0;  // TooFewLayerLines: the layer lines the file has
  ProfileFileData data;    // meaningful when problem is None
};

// Reads the profile from a file's bytes; changes nothing else. The bytes are
// CP932, or UTF-8 as TakeFileText takes them; a UTF-8 file is read as its
// CP932 twin would be, line lengths included. Values are taken by line and
// field position only. A line the buffer cuts is LineTooLong, whatever comes
// after the cut; a field that is not a number is NotAnInteger or NotANumber
// with the field as the line has it. A value beyond the float32 range throws
// FloatingPointFault.
ProfileFileParse ParseProfileFile(std::string_view bytes);

// A profile or result file read into a copy of the current document.
struct ProfileFileRead {
  std::optional<ProfileDocument> document;  // the document with the file taken in
  std::optional<MessageBox> problem;        // why not, as its box says it
  bool thrown = false;  // the problem is a number that is not one, which ends the action (ConversionError)
};

// Reads the profile or result file at path into a copy of `current`: the
// profile, the editor's grid and both file labels. The editor's checks of the
// values, and the refusal of a velocity no analysis can use, come before
// anything is taken. Changes nothing; a value beyond the float32 range throws
// FloatingPointFault.
ProfileFileRead ReadProfileFile(const std::string& path, const ProfileDocument& current);

// ---------------------------------------------------------------------------
// Writing

enum class FileFormatProblem {
  None,
  SiteNameNotCp932,  // the site name has a character CP932 cannot hold
  SiteNameTooLong,   // the first line would not fit the reader's line buffer
  ValuesTooLong,     // a layer or base line would not fit it (absurdly large values)
};

struct FormattedFile {
  FileFormatProblem problem = FileFormatProblem::None;
  int lineNumber = 0;  // layer number of a ValuesTooLong line (layerCount + 1: the base)
  std::string bytes;   // CP932 with CR LF, when problem is None
};

// The profile file of a profile: site, count, header, the layers and the base.
// Both writers expect a layer count of 0 to 20 and never read beyond it.
FormattedFile FormatProfileFile(const SoilProfile& profile);

// The box a formatting problem is reported in; nothing when there is none.
std::optional<MessageBox> FormatProblemBox(const FormattedFile& file, int layerCount);

inline constexpr const char* kCrLf = "\r\n";

// The site line "サイト名,NAME" of both files; a line break ends the name.
std::string SiteLine(const std::string& siteName);

// Encodes the lines that the reader reads back (site to base) into CP932 and
// checks that each fits its line buffer; rest, already CP932, is appended.
FormattedFile EncodeFileLines(const std::vector<std::string>& profileLines, const std::string& rest);

// ---------------------------------------------------------------------------
// The main window's operations on profile files

// The path a dialog answer stands for: with the "*.csv" filter a name without
// an extension gets ".csv"; with "*.*", or with any extension at all (a lone
// trailing period included), the name stays as typed.
std::string ApplyCsvRule(const FileDialogAnswer& answer);

class ProfileFiles {
 public:
  // accepted, when given, is told each time a writer has taken the grid over
  // as the current profile (the main window then enables its "地層図").
  ProfileFiles(ProfileDocument& document, FileDialogPort& dialogs, MessagePort& messages,
               ProfileAcceptedListener* accepted = nullptr);

  // ReadProfileFile of the file chosen in the open dialog (or of `named`,
  // without the dialog), taken into the document. False when the user
  // cancelled or a message box reported a failure; a field that is not a
  // number throws ConversionError naming the file and the line. Whatever
  // fails, the document is left exactly as it was.
  bool LoadProfileFile(const std::optional<std::string>& named = std::nullopt);

  // Takes the grid over (StoreProfile) and writes the profile file under the
  // name chosen in the save dialog; names it in both file labels. True when
  // the file was written.
  bool SaveProfileFile();

  // The steps the result file shares with the profile file.
  // Takes the grid over as the current profile; false when StoreProfile refused it.
  bool TakeOverGrid();
  // Reports a formatting problem in its box; false when there is none.
  bool ReportFormatProblem(const FormattedFile& file);
  // Writes the bytes under the name chosen in the save dialog, after the
  // overwrite question. True when the file was written.
  bool SaveUnderChosenName(const std::string& bytes);

  const ProfileDocument& document() const { return document_; }
  MessagePort& messages() { return messages_; }

 private:
  std::optional<std::string> ChooseSavePath();
  bool WriteChosenFile(const std::string& path, const std::string& bytes);

  ProfileDocument& document_;
  FileDialogPort& dialogs_;
  MessagePort& messages_;
  ProfileAcceptedListener* accepted_;
};

// Message texts and captions of the file operations.
namespace file_messages {
inline constexpr const char* kCannotRead = "ファイルを読み出すことができませんでした";
inline constexpr const char* kNoResult = "保存する増幅特性の計算結果がありません";
inline constexpr const char* kSiteNameNotCp932 = "地点名に Shift-JIS で保存できない文字があります";
inline constexpr const char* kSiteNameTooLong = "地点名が長すぎてファイルに保存できません";
std::string Missing(const std::string& path);    // ファイル %s はありません
std::string Overwrite(const std::string& path);  // ... 上書きしてよろしいですか？
std::string LayerCountOutOfRange(const std::string& path, int32_t count);
std::string EndsEarly(const std::string& path);
std::string NotCp932(const std::string& path);
std::string NotRepresentable(const std::string& path);
// lineNumber counts from 1 (the site line); layerCount names the layer lines.
std::string LineTooLong(const std::string& path, int lineNumber, int32_t layerCount);
std::string ValuesTooLong(int layerNumber, int layerCount);
// "ファイル %s の %d 行目: '%s' は浮動小数点数ではありません" and the like.
std::string NotANumber(const std::string& path, int lineNumber, const std::string& field);
std::string NotAnInteger(const std::string& path, int lineNumber, const std::string& field);
std::string BlankBeforeComma(const std::string& path, int lineNumber, const std::string& field);
std::string TooFewLayerLines(const std::string& path, int32_t layerCount, int32_t layerLines);
// A value the editor's checks refuse, in a file: "ファイル %s の" and its text.
std::string RefusedValue(const std::string& path, const std::string& text);
}  // namespace file_messages
