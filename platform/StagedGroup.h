#pragma once
// Staged files waiting for one commit together (see StageFileAtomically),
// each with what is to be done once it is in place or has failed. The
// callbacks run on the caller's thread in the order the files were added, so
// whatever they print keeps that order.
#include <chrono>
#include <cstddef>
#include <functional>
#include <future>
#include <memory>
#include <vector>

#include "platform/AtomicFile.h"

class StagedGroup {
 public:
  // Where a commit waits for the disk. In the background the caller goes on
  // (staging the next files) meanwhile; the group's callbacks then run at the
  // caller's next Commit or Settle, so they come at the same points of the
  // caller's work however long the disk took.
  enum class Commits { OnCaller, InBackground };

  // A group is due once it holds mostFiles files or its first file has
  // waited mostWait: the last lines are then not held back for long.
  StagedGroup(size_t mostFiles, std::chrono::milliseconds mostWait, Commits where = Commits::OnCaller);
  // Waits for a commit under way (whose callbacks then do not run), and
  // abandons what was never handed to a commit: no temporary file stays.
  ~StagedGroup();
  StagedGroup(const StagedGroup&) = delete;
  StagedGroup& operator=(const StagedGroup&) = delete;

  // done(true) once the file is in place, done(false) when it could not be.
  void Add(StagedFile file, std::function<void(bool committed)> done);
  bool Due() const;
  // Commits every file added; nothing when empty. On the caller it returns
  // once they are committed and their callbacks have run. In the background
  // it first settles the group before (so at most two groups of temporary
  // files exist), then hands the files over and returns.
  void Commit();
  // Returns once every commit handed over has finished and its callbacks
  // have run: what the caller does next comes after them.
  void Settle();

 private:
  struct Group {
    std::vector<StagedFile> files;
    std::vector<std::function<void(bool)>> done;  // one per file
  };
  size_t mostFiles_;
  std::chrono::milliseconds mostWait_;
  Commits where_;
  std::chrono::steady_clock::time_point firstAdded_;
  Group adding_;                             // the files added since the last commit
  std::shared_ptr<Group> handed_;            // the group committed in the background
  std::future<std::vector<bool>> underWay_;  // its commit
};
