#pragma once
// Runs tovalk-batch in-process for the tests, with what it prints kept.
#include <sstream>
#include <string>
#include <vector>

#include "app/BatchRun.h"
#include "platform/Cp932.h"

inline const std::string kExamples = std::string(TOVALK_SOURCE_DIR) + "/examples/";

inline std::string Sjis(const std::string& utf8) { return Utf8ToCp932(utf8).value(); }

struct BatchRunOutput {
  int status = -1;
  std::string out, err;
};

inline BatchRunOutput Batch(const std::vector<std::string>& args, const std::string& workingDir, bool progress = false,
                            const BatchPictures& pictures = {}) {
  std::ostringstream out, err;
  BatchRunOutput run;
  run.status = RunBatch(args, workingDir, out, err, progress, pictures);
  run.out = out.str();
  run.err = err.str();
  return run;
}
