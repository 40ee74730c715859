// tovalk-batch: the analysis without windows. See app/BatchRun.h.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "app/BatchRun.h"
#include "platform/FileSystem.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return RunBatch(args, CurrentDirectory(), std::cout, std::cerr, isatty(STDERR_FILENO) == 1);
}
