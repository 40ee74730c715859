#pragma once
// Staged files waiting for one commit together (see StageFileAtomically),
// each with what is to be done once it is in place or has failed. The
// callbacks run in the order the files were added, so whatever they print
// keeps that order.
#include <chrono>
#include <cstddef>
#include <functional>
#include <vector>

#include "platform/AtomicFile.h"

class StagedGroup {
 public:
  // A group is due once it holds mostFiles files or its first file has
  // waited mostWait: the last lines are then not held back for long.
  StagedGroup(size_t mostFiles, std::chrono::milliseconds mostWait);
  ~StagedGroup();  // abandons what was never committed: no temporary file stays
  StagedGroup(const StagedGroup&) = delete;
  StagedGroup& operator=(const StagedGroup&) = delete;

  // done(true) once the file is in place, done(false) when it could not be.
  void Add(StagedFile file, std::function<void(bool committed)> done);
  bool Due() const;
  // Commits every file added and runs their callbacks; nothing when empty.
  void Commit();

 private:
  size_t mostFiles_;
  std::chrono::milliseconds mostWait_;
  std::chrono::steady_clock::time_point firstAdded_;
  std::vector<StagedFile> files_;
  std::vector<std::function<void(bool)>> done_;
};
