#include "app/BatchSummary.h"

#include <algorithm>

#include "platform/FixedFormat.h"
#include "profile/ProfileFiles.h"

const char* const kSummaryHeader =
    "ファイル,サイト名,層数,層厚合計(m),Vs30(m/s),4H/Vs(s),1次固有周期(s),最大増幅率,振動数(Hz),周期(s)";

namespace {
constexpr double kVs30Depth = 30.0;
}

SiteFigures ComputeSiteFigures(const SoilProfile& profile) {
  const int n = std::clamp(profile.layerCount, 0, kMaxLayers);
  SiteFigures figures;
  double slowness = 0.0;  // sum of H / Vs over all layers
  double topTime = 0.0;   // travel time through the top 30 m
  double remaining = kVs30Depth;
  for (int i = 0; i < n; ++i) {
    const double h = profile.layers[i].thickness;
    const double vs = profile.layers[i].vs;
    figures.totalThickness += h;
    slowness += h / vs;
    const double part = std::min(h, remaining);
    if (part > 0.0) {
      topTime += part / vs;
      remaining -= part;
    }
  }
  if (remaining > 0.0) topTime += remaining / static_cast<double>(profile.layers[n].vs);
  figures.vs30 = kVs30Depth / topTime;
  figures.groundPeriod = 4.0 * slowness;
  return figures;
}

std::optional<int> PeakSample(const AmplificationResult& result) {
  if (!result.HasSlot(0)) return std::nullopt;
  const std::vector<float>& values = result.amplification[0];
  const int points = std::min({static_cast<int>(values.size()), result.pointCount, kMaxPoints});
  std::optional<int> peak;
  for (int j = 0; j < points; ++j) {
    if (IsNoValue(values[j])) continue;
    if (!peak || values[j] > values[*peak]) peak = j;
  }
  return peak;
}

std::string FormatSummaryLine(const std::string& input, const SoilProfile& profile, float firstPeriod,
                              const AmplificationResult& result) {
  const SiteFigures figures = ComputeSiteFigures(profile);
  std::string line = input + "," + profile.siteName + "," + std::to_string(profile.layerCount) + ",";
  line += FormatFixed(figures.totalThickness, 2) + "," + FormatFixed(figures.vs30, 1) + "," +
          FormatFixed(figures.groundPeriod, 3) + "," + FormatFixed(firstPeriod, 3) + ",";
  if (const std::optional<int> peak = PeakSample(result)) {
    line += FormatFixed(result.amplification[0][*peak], 3) + "," + FormatFixed(result.frequency[*peak], 3) + "," +
            FormatFixed(result.period[*peak], 3);
  } else {
    line += "---,---,---";
  }
  return line;
}
