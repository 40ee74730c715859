#include "windows/AmplificationList.h"

#include <algorithm>

#include "platform/Printf.h"

namespace {

std::string Value(float value) { return IsNoValue(value) ? std::string("      ---") : Printf("%9.3f", value); }

}  // namespace

AmplificationTable BuildAmplificationTable(const AmplificationResult& result, int layerCount) {
  const int n = std::clamp(layerCount, 0, kMaxLayers);
  const int samples = std::clamp(result.pointCount, 0, kMaxPoints);
  AmplificationTable table;
  table.columns = n + 2;
  table.rows = samples + 1;
  table.cells.assign(table.rows, std::vector<std::string>(table.columns));
  table.cells[0][0] = "振動数(Hz)";
  table.cells[0][1] = " 周期 (s)";
  for (int k = 0; k < n; ++k) {
    table.cells[0][k + 2] = Printf(" 第%2d 層", k + 1);
  }
  for (int i = 0; i < samples; ++i) {
    std::vector<std::string>& row = table.cells[i + 1];
    const float f = result.frequency[i];
    row[0] = Printf("%9.3f", f);
    // The period is the reciprocal, formatted directly; none at frequency 0.
    row[1] = f == 0.0f ? std::string() : Printf("%9.3f", 1.0 / f);
    for (int k = 0; k < n; ++k) {
      const std::vector<float>& slot = result.amplification[k];
      row[k + 2] = i < static_cast<int>(slot.size()) ? Value(slot[i]) : std::string();
    }
  }
  return table;
}
