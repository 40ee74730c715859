#pragma once
// The open and save dialogs of the platform, as the file operations reach
// them. The desktop program shows the real dialogs; tests and the batch
// program answer with a scripted port.
#include <optional>
#include <string>

// Filter lists in the toolkit's "title|pattern|title|pattern" form. The open
// dialog writes ファイル in full-width katakana, the save dialog in half-width.
inline constexpr const char* kOpenDialogFilter =
    "地層構成/増幅特性ファイル (*.csv)|*.csv|地層構成/増幅特性ファイル (*.*)|*.*";
inline constexpr const char* kSaveDialogFilter = "地層構成/増幅特性ﾌｧｲﾙ (*.csv)|*.csv|地層構成/増幅特性ﾌｧｲﾙ (*.*)|*.*";

// Filter indices as the dialogs number them: 1 is "*.csv", 2 is "*.*".
inline constexpr int kCsvFilter = 1;
inline constexpr int kAllFilesFilter = 2;

struct FileDialogRequest {
  std::string filter;         // one of the two lists above
  std::string initialFolder;  // empty: the dialog's own choice
};

struct FileDialogAnswer {
  std::string path;  // as the user chose or typed it (UTF-8)
  int filterIndex = kCsvFilter;
};

class FileDialogPort {
 public:
  virtual ~FileDialogPort() = default;
  // Each returns nothing when the user cancels.
  virtual std::optional<FileDialogAnswer> RunOpenDialog(const FileDialogRequest& request) = 0;
  virtual std::optional<FileDialogAnswer> RunSaveDialog(const FileDialogRequest& request) = 0;
};
