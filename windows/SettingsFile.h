#pragma once
// The settings file "tovalk.ini": fifteen lines of value, comma and label,
// CP932 text. Read once at start-up, written at the confirmed exit.
#include <filesystem>
#include <string>
#include <string_view>

#include "analysis/AnalysisSettings.h"

inline constexpr const char* kSettingsFileName = "tovalk.ini";
inline constexpr int kSettingsLineCount = 15;

enum class SettingsLoad {
  Loaded,      // the file was read; its values are in place
  Missing,     // no file: every setting keeps its value (the defaults)
  Unreadable,  // the file exists but cannot be read: every setting kept
};

// Applies the settings file's bytes to `settings` (normally holding the
// defaults). The bytes are CP932, or UTF-8 as TakeFileText takes them (an
// editor's byte-order mark would otherwise spoil the first value). CR LF and
// LF line ends are both accepted; a line is at most 199
// bytes, line end included, and the rest of a longer line is read as the next
// line. The first token of each line is its value: integers by the leading-
// integer rule (optional sign and digits; no digits gives 0), then brought
// into range as their controls would (radio index below 0: none chosen = -1,
// beyond the last item: the last; division counts 1..10, sub-divisions 0..5);
// texts as they stand. A missing line, an empty line, a line without a value
// (nothing before its comma) or a text that is not valid CP932 leaves that
// setting unchanged. Lines after the fifteenth are ignored.
void ParseSettings(std::string_view fileBytes, AnalysisSettings& settings);

// Reads the file at `path` into `settings` by ParseSettings.
SettingsLoad LoadSettings(const std::filesystem::path& path, AnalysisSettings& settings);

// The fifteen lines as written: CP932, CR LF line ends, the texts as they
// stand in their fields (cut at a line break, which a field cannot hold).
// Returns false, with the reason in `error`, when a text has a character
// CP932 cannot represent.
bool FormatSettings(const AnalysisSettings& settings, std::string& fileBytes, std::string* error = nullptr);

// Writes the settings file at `path`. The file is written beside the target
// under a temporary name and renamed over it only when complete, so a failed
// write leaves an existing file as it was. Returns false, with a message in
// `error`, on any failure.
bool SaveSettings(const std::filesystem::path& path, const AnalysisSettings& settings, std::string* error = nullptr);
