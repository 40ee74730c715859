#pragma once
// tovalk-batch's output in input order, whatever the number of jobs.
#include <cstddef>
#include <filesystem>
#include <iosfwd>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "app/BatchFile.h"
#include "app/BatchOutput.h"
#include "app/BatchRun.h"
#include "platform/StagedGroup.h"

// The files in input order: what each wrote, listed on `out`, and what
// failed, on `err`; the summary gathered as they come.
class OrderedOutput {
 public:
  OrderedOutput(const BatchOptions& options, const BatchPictures& pictures, std::ostream& out, std::ostream& err,
                bool showProgress);

  bool WrittenByWorker(size_t k) const { return writtenByWorker_[k]; }
  void Take(size_t k, AnalysedFile file);
  // The commits still waiting, then the summary file; the exit status.
  int Finish();

 private:
  // The name two outputs share when they are the same file.
  std::string KeyOf(const std::string& output) const;
  void PlanWorkerWrites();
  void TakeStaged(const std::string& output, const std::string& key, AnalysedFile& file);
  BatchPictures FilesOf(const std::string& input) const;
  void Report(const std::string& input, const std::string& output, const BatchPictures& files,
              const BatchFileOutcome& outcome);

  const BatchOptions& options_;
  const BatchPictures& pictures_;
  std::ostream& out_;
  std::ostream& err_;
  bool showProgress_;
  std::error_code ignored_;
  std::filesystem::path cwd_;
  std::vector<bool> writtenByWorker_;
  std::set<std::string> written_;
  std::string summary_;
  int failed_ = 0;
  // Written files are listed only once they are committed; whatever comes
  // after them (another file's failure, the summary) waits for the commit.
  // A commit waits for the disk in the background while the next files are
  // analysed.
  StagedGroup staged_{kMostFilesPerCommit, kMostCommitWait, StagedGroup::Commits::InBackground};
};
