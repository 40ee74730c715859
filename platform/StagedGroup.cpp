#include "platform/StagedGroup.h"

#include <system_error>
#include <utility>

StagedGroup::StagedGroup(size_t mostFiles, std::chrono::milliseconds mostWait, Commits where)
    : mostFiles_(mostFiles), mostWait_(mostWait), where_(where) {}

StagedGroup::~StagedGroup() {
  if (underWay_.valid()) underWay_.wait();
  for (StagedFile& file : adding_.files) AbandonStagedFile(file);
}

void StagedGroup::Add(StagedFile file, std::function<void(bool committed)> done) {
  if (adding_.files.empty()) firstAdded_ = std::chrono::steady_clock::now();
  adding_.files.push_back(std::move(file));
  adding_.done.push_back(std::move(done));
}

bool StagedGroup::Due() const {
  return !adding_.files.empty() &&
         (adding_.files.size() >= mostFiles_ || std::chrono::steady_clock::now() - firstAdded_ >= mostWait_);
}

void StagedGroup::Commit() {
  if (where_ == Commits::InBackground) Settle();
  if (adding_.files.empty()) return;
  auto group = std::make_shared<Group>(std::exchange(adding_, {}));
  if (where_ == Commits::InBackground) {
    try {
      underWay_ = std::async(std::launch::async, [group] { return CommitStagedFiles(group->files); });
      handed_ = std::move(group);
      return;
    } catch (const std::system_error&) {
      // No thread to be had: the group is committed here instead.
    }
  }
  const std::vector<bool> committed = CommitStagedFiles(group->files);
  for (size_t k = 0; k < group->done.size(); ++k) group->done[k](committed[k]);
}

void StagedGroup::Settle() {
  if (!underWay_.valid()) return;
  const std::vector<bool> committed = underWay_.get();
  const std::shared_ptr<Group> group = std::move(handed_);
  for (size_t k = 0; k < group->done.size(); ++k) group->done[k](committed[k]);
}
