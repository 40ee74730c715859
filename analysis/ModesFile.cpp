#include "analysis/ModesFile.h"

#include <cstdio>

#include "platform/Cp932.h"

namespace {

std::string Fixed3(float value) {
  char text[48];
  std::snprintf(text, sizeof text, "%.3f", value);
  return text;
}

}  // namespace

std::optional<std::string> FormatModesFile(const std::string& siteName, const NaturalModes& modes) {
  const int n = modes.n;
  std::string text = "サイト名," + siteName + "\r\n層数," + std::to_string(n) + "\r\n次数,固有周期(s),振動数(Hz)\r\n";
  for (int s = 0; s < n; ++s) {
    text += std::to_string(s + 1) + "," + Fixed3(modes.period[s]) + "," + Fixed3(modes.frequency[s]) + "\r\n";
  }
  text += "固有モード";
  // Appended piece by piece: GCC 12 mistakes `"," + std::string&&` for an
  // overlapping copy (-Wrestrict) once inlined.
  for (int s = 0; s < n; ++s) {
    text += ',';
    text += std::to_string(s + 1);
    text += "次";
  }
  text += "\r\n";
  for (int p = 0; p < n; ++p) {
    text += std::to_string(p + 1);
    for (int s = 0; s < n; ++s) {
      text += ',';
      text += Fixed3(modes.shape[p][s]);
    }
    text += "\r\n";
  }
  return Utf8ToCp932(text);
}
