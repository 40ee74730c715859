#include "analysis/ResultFile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/Cp932.h"
#include "platform/FixedFormat.h"
#include "platform/FixedTexts.h"

namespace {

constexpr const char* kNoSample = "     ---";

char* PutText(char* out, std::string_view text) {
  std::memcpy(out, text.data(), text.size());
  return out + text.size();
}

// A sample column at out, which has room for any float32's text: a value
// that is not a number never reaches the file.
char* PutSample(char* out, float value) {
  return std::isfinite(value) ? PutFixed8_3(out, value) : PutText(out, kNoSample);
}

// CP932 of a fixed text; ASCII is the same in both.
std::string Cp932Text(const std::string& utf8) {
  return IsAscii(utf8) ? utf8 : Utf8ToCp932(utf8).value_or(std::string());
}

}  // namespace

FormattedFile FormatResultFile(const SoilProfile& profile, const AmplificationResult& result,
                               const AnalysisSettings& settings) {
  const int n = std::clamp(profile.layerCount, 0, kMaxLayers);
  std::vector<std::string> lines;
  lines.push_back(SiteLine(profile.siteName));
  lines.push_back(kLayerCountField + std::to_string(n));
  lines.push_back("層番号,層厚(m),密度,S波速度(m/s),減衰比");
  for (int k = 1; k <= n; ++k) {
    const SoilLayer& layer = profile.layers[k - 1];
    lines.push_back(std::to_string(k) + "," + FormatFixed(layer.thickness, 2, 6) + "," +
                    FormatFixed(layer.density, 2, 6) + "," + FormatFixed(layer.vs, 0, 6) + "," +
                    FormatFixed(layer.dampingRatio, 3, 6));
  }
  const SoilLayer& base = profile.layers[n];
  lines.push_back(",," + FormatFixed(base.density, 2) + "," + FormatFixed(base.vs, 0) + "," +
                  FormatFixed(base.dampingRatio, 3));

  FormattedFile file = EncodeFileLines(lines, {});
  if (file.problem != FileFormatProblem::None) return file;
  // The rest is built from fixed texts and numbers only, straight in CP932
  // after the profile's lines.
  std::string& rest = file.bytes;
  const int points = std::clamp(result.pointCount, 0, kMaxPoints);
  rest.reserve(rest.size() + 256 + 16 * n + static_cast<size_t>(points) * (24 + 9 * n));
  switch (settings.method) {
    case AnalysisMethod::TransferMatrix: rest += Cp932Text("解析法,伝達マトリックス法"); break;
    case AnalysisMethod::LumpedMass: rest += Cp932Text("解析法,等価質点系解析"); break;
    default: rest += Cp932Text("重複反射法"); break;
  }
  rest += kCrLf;
  rest += Cp932Text(settings.dampingForm == DampingForm::Hysteretic ? "履歴型減衰,減衰比," : "粘性型減衰,減衰比,");
  AppendFixed(rest, profile.layers[0].dampingRatio, 3, 7);
  rest += kCrLf;
  rest += Cp932Text(",振動数,周期,増幅度");
  rest += kCrLf;
  rest += ",,";
  const std::string layerWord = Cp932Text("第"), layersWord = Cp932Text("層");
  for (int k = 1; k <= n; ++k) {
    rest += ", ";
    rest += layerWord;
    rest += std::to_string(k);
    rest += layersWord;
  }
  rest += kCrLf;

  // Each row is written into room for its longest form, then appended: a
  // sample of any float32 takes at most 44 characters and its comma.
  constexpr size_t kSampleRoom = 48;
  char row[4 + (2 + kMaxLayers) * kSampleRoom + 2];
  std::array<const float*, kMaxLayers> column{};
  std::array<int, kMaxLayers> columnSize{};
  for (int m = 0; m < n; ++m) {
    column[m] = result.amplification[m].data();
    columnSize[m] = static_cast<int>(result.amplification[m].size());
  }
  for (int j = 0; j < points; ++j) {
    char* out = row;
    // "%4d" of the sample number, 1 to 400.
    char number[4] = {' ', ' ', ' ', ' '};
    for (int k = j + 1, at = 3; k > 0 && at >= 0; k /= 10, --at) number[at] = static_cast<char>('0' + k % 10);
    std::memcpy(out, number, sizeof number);
    out += sizeof number;
    *out++ = ',';
    out = PutSample(out, result.frequency[j]);
    *out++ = ',';
    out = PutSample(out, result.period[j]);
    for (int m = 0; m < n; ++m) {
      *out++ = ',';
      out = j < columnSize[m] ? PutSample(out, column[m][j]) : PutText(out, kNoSample);
    }
    *out++ = '\r';
    *out++ = '\n';
    rest.append(row, static_cast<size_t>(out - row));
  }
  return file;
}

bool HasResultFor(const SoilProfile& profile, const AmplificationResult& result) {
  const int n = profile.layerCount;
  if (!result.complete || n < 1 || n > kMaxLayers) return false;
  if (result.pointCount < 1 || result.pointCount > kMaxPoints) return false;
  for (int m = 0; m < kMaxLayers; ++m) {
    if (result.HasSlot(m) != (m < n)) return false;
    if (m < n && static_cast<int>(result.amplification[m].size()) < result.pointCount) return false;
  }
  return true;
}

std::optional<std::string> ResultFileBytes(ProfileFiles& files, const AmplificationResult& result,
                                           const AnalysisSettings& settings) {
  if (!files.TakeOverGrid()) return std::nullopt;
  const SoilProfile& profile = files.document().profile;
  if (!HasResultFor(profile, result)) {
    files.messages().Show(ErrorBox(file_messages::kNoResult, kDataErrorCaption));
    return std::nullopt;
  }
  FormattedFile file = FormatResultFile(profile, result, settings);
  if (files.ReportFormatProblem(file)) return std::nullopt;
  return std::move(file.bytes);
}

bool SaveResultFile(ProfileFiles& files, const AmplificationResult& result, const AnalysisSettings& settings) {
  const std::optional<std::string> bytes = ResultFileBytes(files, result, settings);
  return bytes && files.SaveUnderChosenName(*bytes);
}
