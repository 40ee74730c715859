#include "app/BatchOrderedOutput.h"

#include <map>
#include <ostream>
#include <utility>

#include "app/BatchSummary.h"
#include "platform/AtomicFile.h"
#include "platform/Cp932.h"
#include "platform/FixedTexts.h"

OrderedOutput::OrderedOutput(const BatchOptions& options, const BatchPictures& pictures, std::ostream& out,
                             std::ostream& err, bool showProgress)
    : options_(options),
      pictures_(pictures),
      out_(out),
      err_(err),
      showProgress_(showProgress),
      cwd_(std::filesystem::current_path(ignored_)),
      writtenByWorker_(options.inputs.size(), false) {
  if (options.summaryFile) summary_ = Utf8ToCp932(kSummaryHeader).value_or(std::string()) + "\r\n";
  PlanWorkerWrites();
}

std::string OrderedOutput::KeyOf(const std::string& output) const {
  const std::filesystem::path path(output);
  return (path.is_absolute() ? path : cwd_ / path).lexically_normal().string();
}

// A result file that no other input maps to, and that waits for no picture,
// is written by the worker that made it, so that the writes of several files
// overlap. The rest are written here, in input order.
void OrderedOutput::PlanWorkerWrites() {
  const std::vector<std::string>& inputs = options_.inputs;
  if (options_.chart || options_.diagram || options_.modes) return;
  std::map<std::string, int> uses;
  for (const std::string& input : inputs) ++uses[KeyOf(BatchOutputPath(input, options_.outputDir))];
  for (size_t k = 0; k < inputs.size(); ++k) {
    writtenByWorker_[k] = uses[KeyOf(BatchOutputPath(inputs[k], options_.outputDir))] == 1;
  }
}

BatchPictures OrderedOutput::FilesOf(const std::string& input) const {
  const std::string extension = std::string(".") + PictureFormatName(options_.chartFormat);
  BatchPictures files = pictures_;
  files.format = options_.chartFormat;
  files.chartPath = options_.chart ? BatchOutputPath(input, options_.outputDir, "-chart" + extension) : "";
  files.diagramPath = options_.diagram ? BatchOutputPath(input, options_.outputDir, "-stratum" + extension) : "";
  files.modesPath = options_.modes ? BatchOutputPath(input, options_.outputDir, "-modes.csv") : "";
  return files;
}

void OrderedOutput::TakeStaged(const std::string& output, const std::string& key, AnalysedFile& file) {
  staged_.Add(std::move(file.staged), [this, output, key, line = std::move(file.outcome.summaryLine)](bool committed) {
    if (committed) {
      written_.insert(key);
      out_ << output << "\n";
      summary_ += line;
    } else {
      ++failed_;
      err_ << output << ": " << kCannotCreateFile << "\n";
    }
  });
  if (staged_.Due()) staged_.Commit();
}

void OrderedOutput::Take(size_t k, AnalysedFile file) {
  const std::string& input = options_.inputs[k];
  const std::string output = BatchOutputPath(input, options_.outputDir);
  const BatchPictures files = FilesOf(input);
  // Two inputs of the same name from different folders must not silently
  // overwrite each other's result in one output folder.
  const std::string key = KeyOf(output);
  if (showProgress_) err_ << "\r\033[K";
  if (writtenByWorker_[k] && file.outcome.ok) {
    TakeStaged(output, key, file);
    return;
  }
  staged_.Commit();
  staged_.Settle();
  if (writtenByWorker_[k]) {
    // Failed already.
  } else if (file.outcome.ok && written_.count(key)) {
    file.outcome = {};
    file.outcome.messages.push_back("the result file " + output + " was already written for another input");
  } else {
    WriteFiles(file, output, files);
  }
  if (file.outcome.ok) written_.insert(key);
  Report(input, output, files, file.outcome);
}

void OrderedOutput::Report(const std::string& input, const std::string& output, const BatchPictures& files,
                           const BatchFileOutcome& outcome) {
  if (outcome.ok) {
    for (const std::string& picture : {files.chartPath, files.diagramPath, files.modesPath}) {
      if (!picture.empty()) out_ << picture << "\n";
    }
    out_ << output << "\n";
    summary_ += outcome.summaryLine;
    return;
  }
  ++failed_;
  for (const std::string& message : outcome.messages) err_ << input << ": " << message << "\n";
  for (const std::string& message : outcome.unwritten) err_ << message << "\n";
  if (outcome.messages.empty() && outcome.unwritten.empty()) err_ << input << ": failed\n";
}

int OrderedOutput::Finish() {
  staged_.Commit();
  staged_.Settle();
  if (showProgress_) err_ << "\r\033[K" << std::flush;
  if (options_.summaryFile) {
    const std::string& path = *options_.summaryFile;
    if (const std::string unwritten = WriteFileReported(path, summary_); unwritten.empty()) {
      out_ << path << "\n";
    } else {
      err_ << unwritten << "\n";
      ++failed_;
    }
  }
  return failed_ == 0 ? 0 : 1;
}
