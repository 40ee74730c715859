#pragma once
// Writing a whole file so that a failure never destroys what was there: the
// bytes go to a temporary file in the target's folder, which is flushed to
// disk and then renamed over the target. A reader sees either the old file or
// the complete new one.
#include <string>
#include <string_view>
#include <vector>

struct AtomicWriteResult {
  bool ok = false;
  int error = 0;  // errno of the step that failed; 0 on success
  explicit operator bool() const { return ok; }
};

// Writes bytes to path. An existing regular file keeps its permission bits
// (and, where allowed, its owner); a new file gets 0666 less the umask. A path
// through a symbolic link writes the file the link points to. A target that is
// not a regular file (a device such as /dev/null) is written in place, since
// it cannot be replaced by renaming. On failure the temporary file is removed
// and the target is as it was.
AtomicWriteResult WriteFileAtomically(const std::string& path, std::string_view bytes);

// Saving many files with one flush to disk instead of one per file: each
// file is staged (written to its temporary name and closed), then a group is
// committed at once (one sync per file system, the renames, one sync per
// folder). Until its commit a staged file is not saved: the target is as it
// was.
struct StagedFile {
  std::string target;  // the file to replace, symbolic links followed
  std::string temp;    // its temporary file; empty once committed or abandoned,
                       // and for a device, which is written in place at once
  std::string folder;  // the target's folder
};

// Writes bytes to the temporary file of path, with the mode and owner that
// WriteFileAtomically gives. On failure nothing is left behind.
AtomicWriteResult StageFileAtomically(const std::string& path, std::string_view bytes, StagedFile& staged);

// Commits staged files; true for each one now in place. A file whose data
// could not be made durable, or that could not be renamed, is not put in
// place: its temporary file is removed and its target is as it was. No
// temporary file is left either way.
std::vector<bool> CommitStagedFiles(std::vector<StagedFile>& files);

// Removes a staged file's temporary file without committing it.
void AbandonStagedFile(StagedFile& staged);

// The one way the batch writes its files (results, pictures, summaries):
// atomically, every write and the commit checked. "" when the file is
// complete, else "PATH: ファイルを作成することができませんでした" naming it;
// the old file is then as it was, or there is none where there was none.
std::string WriteFileReported(const std::string& path, std::string_view bytes);
