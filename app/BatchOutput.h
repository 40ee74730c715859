#pragma once
// tovalk-batch's writing: the pictures, the modes file and the result file of
// an analysed input, each replacing its file only once it is complete, and
// the result files that workers stage for a later commit in groups.
#include <chrono>
#include <cstddef>
#include <string>

#include "app/BatchFile.h"
#include "app/BatchRun.h"

// Draws and writes the pictures, then writes the result file; stops at the
// first that fails. On the thread that runs the batch.
void WriteFiles(AnalysedFile& file, const std::string& outputPath, const BatchPictures& pictures);

// A worker's part of writing a result file that waits for no picture: the
// bytes staged, committed later together with other files.
void StageResultFile(AnalysedFile& file, const std::string& outputPath);

// Result files committed together: at most this many wait at a time, and
// none for long, so that written files are listed as the batch goes on.
constexpr size_t kMostFilesPerCommit = 64;
constexpr std::chrono::milliseconds kMostCommitWait{250};

bool WantsPictures(const BatchPictures& pictures);
