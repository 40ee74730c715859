#include "analysis/ModesFile.h"

#include "platform/Cp932.h"
#include "platform/FixedTexts.h"
#include "platform/Printf.h"

namespace {

std::string Fixed3(float value) { return Printf("%.3f", static_cast<double>(value)); }

}  // namespace

std::optional<std::string> FormatModesFile(const std::string& siteName, const NaturalModes& modes) {
  const int n = modes.n;
  std::string text =
      kSiteNameField + siteName + "\r\n" + kLayerCountField + std::to_string(n) + "\r\n次数,固有周期(s),振動数(Hz)\r\n";
  for (int s = 0; s < n; ++s) {
    text += std::to_string(s + 1) + "," + Fixed3(modes.period[s]) + "," + Fixed3(modes.frequency[s]) + "\r\n";
  }
  text += kNaturalModesHeading;
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
