#include "graphics/ChartSettings.h"

#include "platform/CheckedFloat.h"
#include "platform/Conversion.h"

void ApplySettings(const AnalysisSettings& s, TMyGraph* chart, SubDivisions subDivisions, int* pointCount) {
  if (chart) {
    const float yLower = StrToSingle(s.yLower);
    const float yUpper = StrToSingle(s.yUpper);
    const float xLower = StrToSingle(s.xLower);
    const float xUpper = StrToSingle(s.xUpper);
    const float yStep = ScaleStep(yLower, yUpper, s.yDivisions, s.yScale);
    const float xStep = ScaleStep(xLower, xUpper, s.xDivisions, s.xScale);
    chart->NGridX = s.xDivisions;
    chart->SValueX = xLower;
    chart->VValueX = xStep;
    chart->NGridY = s.yDivisions;
    chart->SValueY = yLower;
    chart->VValueY = yStep;
    if (subDivisions == SubDivisions::FromSettings) {
      chart->SubX = s.xSubDivisions;
      chart->SubY = s.ySubDivisions;
    }
    chart->LinearX = s.xScale == 0;
    chart->LinearY = s.yScale == 0;
    chart->TitleX = s.xQuantity != 0 ? "振動数 (Hz)" : "周期 (s)";
  }
  if (pointCount) {
    switch (s.pointChoice) {
      case 0: *pointCount = 100; break;
      case 1: *pointCount = 200; break;
      case 2: *pointCount = 400; break;
      default: break;  // no choice: unchanged
    }
  }
}

float ScaleStep(float lower, float upper, int divisions, int scale) {
  if (scale != 0) {  // the charts draw every index but 0 logarithmically
    const double ratio = checked::Divide(upper, lower);
    return checked::StoreSingle(checked::Exp(checked::Divide(checked::Ln(ratio), divisions)));
  }
  return checked::StoreSingle(checked::Divide(static_cast<double>(upper) - lower, divisions));
}

bool CollectDisplayLayers(const std::array<bool, kMaxLayers>& marks, int layerCount,
                          std::array<bool, kMaxLayers>& showLayer) {
  showLayer = marks;
  const int n = layerCount < kMaxLayers ? layerCount : kMaxLayers;
  for (int i = 0; i < n; ++i) {
    if (marks[i]) return true;
  }
  return false;
}
