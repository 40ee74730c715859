#include "app/BatchOutput.h"

#include <utility>

#include "platform/AtomicFile.h"
#include "platform/FixedTexts.h"

// Draws and writes the pictures, then writes the result file; stops at the
// first that fails. On the thread that runs the batch.
void WriteFiles(AnalysedFile& file, const std::string& outputPath, const BatchPictures& pictures) {
  BatchFileOutcome& outcome = file.outcome;
  for (const auto& [path, drawer] :
       {std::pair{pictures.chartPath, pictures.chart}, std::pair{pictures.diagramPath, pictures.diagram}}) {
    if (!outcome.ok || path.empty()) continue;
    std::string bytes;
    std::string problem = "no picture writer";
    if (drawer && file.workspace) {
      try {
        problem = drawer(*file.workspace, pictures.format, bytes);
      } catch (const std::exception& e) {
        problem = std::string("internal error: ") + e.what();
      }
    }
    if (!problem.empty()) {
      outcome.messages.push_back(problem);
    } else if (std::string unwritten = WriteFileReported(path, bytes); !unwritten.empty()) {
      outcome.unwritten.push_back(std::move(unwritten));
    }
    outcome.ok = outcome.messages.empty() && outcome.unwritten.empty();
  }
  if (outcome.ok && !pictures.modesPath.empty()) {
    if (std::string unwritten = WriteFileReported(pictures.modesPath, file.modesBytes); !unwritten.empty()) {
      outcome.unwritten.push_back(std::move(unwritten));
      outcome.ok = false;
    }
  }
  if (outcome.ok) {
    if (std::string unwritten = WriteFileReported(outputPath, file.resultBytes); !unwritten.empty()) {
      outcome.unwritten.push_back(std::move(unwritten));
      outcome.ok = false;
    }
  }
  file.workspace.reset();
  file.resultBytes.clear();
  file.resultBytes.shrink_to_fit();
  file.modesBytes.clear();
  file.modesBytes.shrink_to_fit();
}

// A worker's part of writing a result file that waits for no picture: the
// bytes staged, committed later together with other files.
void StageResultFile(AnalysedFile& file, const std::string& outputPath) {
  if (file.outcome.ok && !StageFileAtomically(outputPath, file.resultBytes, file.staged)) {
    file.outcome.unwritten.push_back(outputPath + ": " + kCannotCreateFile);
    file.outcome.ok = false;
  }
  file.workspace.reset();
  file.resultBytes.clear();
  file.resultBytes.shrink_to_fit();
}

bool WantsPictures(const BatchPictures& pictures) {
  return !pictures.chartPath.empty() || !pictures.diagramPath.empty();
}
