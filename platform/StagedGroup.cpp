#include "platform/StagedGroup.h"

#include <system_error>
#include <utility>

struct StagedGroup::Handed {
  std::vector<StagedFile> files;
  std::vector<std::function<void(bool)>> done;

  void Report(const std::vector<bool>& committed) {
    for (size_t k = 0; k < done.size(); ++k) done[k](committed[k]);
  }
};

StagedGroup::StagedGroup(size_t mostFiles, std::chrono::milliseconds mostWait, Commits where)
    : mostFiles_(mostFiles), mostWait_(mostWait), where_(where) {}

StagedGroup::~StagedGroup() {
  if (underWay_.valid()) underWay_.wait();
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
  if (where_ == Commits::InBackground) Settle();
  if (files_.empty()) return;
  auto group = std::make_shared<Handed>();
  group->files.swap(files_);
  group->done.swap(done_);
  if (where_ == Commits::InBackground) {
    try {
      underWay_ = std::async(std::launch::async, [group] { return CommitStagedFiles(group->files); });
      handed_ = std::move(group);
      return;
    } catch (const std::system_error&) {
      // No thread to be had: the group is committed here instead.
    }
  }
  group->Report(CommitStagedFiles(group->files));
}

void StagedGroup::Settle() {
  if (!underWay_.valid()) return;
  const std::vector<bool> committed = underWay_.get();
  const std::shared_ptr<Handed> group = std::move(handed_);
  group->Report(committed);
}
