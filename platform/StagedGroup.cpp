#include "platform/StagedGroup.h"

StagedGroup::StagedGroup(size_t mostFiles, std::chrono::milliseconds mostWait)
    : mostFiles_(mostFiles), mostWait_(mostWait) {}

StagedGroup::~StagedGroup() {
  for (StagedFile& file : files_) AbandonStagedFile(file);
}

void StagedGroup::Add(StagedFile file, std::function<void(bool committed)> done) {
  if (files_.empty()) firstAdded_ = std::chrono::steady_clock::now();
  files_.push_back(std::move(file));
  done_.push_back(std::move(done));
}

bool StagedGroup::Due() const {
  return !files_.empty() &&
         (files_.size() >= mostFiles_ || std::chrono::steady_clock::now() - firstAdded_ >= mostWait_);
}

void StagedGroup::Commit() {
  if (files_.empty()) return;
  const std::vector<bool> committed = CommitStagedFiles(files_);
  std::vector<std::function<void(bool)>> done;
  done.swap(done_);
  files_.clear();
  for (size_t k = 0; k < done.size(); ++k) done[k](committed[k]);
}
