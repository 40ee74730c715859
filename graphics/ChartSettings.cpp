#include "graphics/ChartSettings.h"

#include "platform/CheckedFloat.h"
#include "platform/Conversion.h"
#include "platform/FixedTexts.h"

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
    chart->LinearX = s.xScale == ScaleKind::Linear;
    chart->LinearY = s.yScale == ScaleKind::Linear;
    chart->TitleX = s.xQuantity != XQuantity::Period ? kFrequencyAxisTitle : kPeriodAxisTitle;
  }
  if (pointCount) {
    if (const std::optional<int32_t> count = ChosenPointCount(s.pointChoice)) *pointCount = *count;
  }
}

float ScaleStep(float lower, float upper, int divisions, ScaleKind scale) {
  if (scale != ScaleKind::Linear) {  // the charts draw every index but 0 logarithmically
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
