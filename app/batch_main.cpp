// tovalk-batch: the analysis without windows. See app/BatchRun.h.
#include <malloc.h>
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "app/BatchRun.h"
#include "platform/FileSystem.h"

int main(int argc, char** argv) {
  // Every file allocates and frees the same few buffers; keeping the freed
  // heap instead of handing it back saves two system calls a file, and
  // taking the large ones from the heap too (not fresh mappings) saves their
  // page faults. Memory stays that of the largest file.
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
  mallopt(M_MMAP_THRESHOLD, 16 << 20);
  const std::vector<std::string> args(argv + 1, argv + argc);
#ifdef TOVALK_WITH_PICTURES
  const BatchPictures pictures = ToolkitBatchPictures();
#else
  const BatchPictures pictures;
#endif
  return RunBatch(args, CurrentDirectory(), std::cout, std::cerr, isatty(STDERR_FILENO) == 1, pictures);
}
