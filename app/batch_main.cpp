// tovalk-batch: the analysis without windows. See app/BatchRun.h.
#include <malloc.h>
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "app/BatchRun.h"
#include "app/Workspace.h"
#include "platform/FileSystem.h"
#ifdef TOVALK_WITH_PICTURES
#include "graphics/qt/PictureExport.h"
#endif

int main(int argc, char** argv) {
  // Every file allocates and frees the same few buffers; keeping the freed
  // heap instead of handing it back saves two system calls a file, and
  // taking the large ones from the heap too (not fresh mappings) saves their
  // page faults. Memory stays that of the largest file.
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
  mallopt(M_MMAP_THRESHOLD, 16 << 20);
  const std::vector<std::string> args(argv + 1, argv + argc);
  BatchPictures pictures;
#ifdef TOVALK_WITH_PICTURES
  // The same drawing code as the main window's chart and stratum picture.
  pictures.prepare = [] { return EnsurePictureGraphics(); };
  pictures.chart = [](const Workspace& ws, PictureFormat format, std::string& bytes) {
    return EncodeChartPicture({ws.profile, ws.result, ws.settings}, format, bytes);
  };
  pictures.diagram = [](const Workspace& ws, PictureFormat format, std::string& bytes) {
    return EncodeStratumPicture(ws.profile, format, bytes);
  };
#endif
  return RunBatch(args, CurrentDirectory(), std::cout, std::cerr, isatty(STDERR_FILENO) == 1, pictures);
}
