// Feeds arbitrary bytes to the settings reader as the content of tovalk.ini:
// it must neither crash nor leave a setting outside what its control allows.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "windows/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  AnalysisSettings settings;
  ParseSettings(std::string_view(reinterpret_cast<const char*>(data), size), settings);

  auto radio = [](auto choice, int items) {
    const int index = ChoiceIndex(choice);
    return index >= -1 && index < items;
  };
  auto within = [](int value, int low, int high) { return value >= low && value <= high; };
  if (!radio(settings.method, 3) || !radio(settings.dampingForm, 2) || !radio(settings.xQuantity, 2) ||
      !radio(settings.xScale, 2) || !radio(settings.yScale, 2) || !radio(settings.pointChoice, 3) ||
      !within(settings.xDivisions, 1, 10) || !within(settings.yDivisions, 1, 10) ||
      !within(settings.xSubDivisions, 0, 5) || !within(settings.ySubDivisions, 0, 5)) {
    std::abort();
  }

  // What is read must be writable again.
  std::string bytes;
  FormatSettings(settings, bytes);
  return 0;
}
