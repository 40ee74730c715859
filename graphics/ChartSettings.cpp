#include "graphics/ChartSettings.h"

#include "platform/CheckedFloat.h"
#include "platform/Conversion.h"
#include "platform/FixedTexts.h"

ChartAxes AxesOf(const AnalysisSettings& s) {
  AxisLimits limits;
  limits.yLower = StrToSingle(s.yLower);
  limits.yUpper = StrToSingle(s.yUpper);
  limits.xLower = StrToSingle(s.xLower);
  limits.xUpper = StrToSingle(s.xUpper);
  return AxesOf(s, limits);
}

ChartAxes AxesOf(const AnalysisSettings& s, const AxisLimits& limits) {
  ChartAxes axes;
  const auto [xLower, xUpper, yLower, yUpper] = limits;
  axes.vValueY = ScaleStep(yLower, yUpper, s.yDivisions, s.yScale);
  axes.vValueX = ScaleStep(xLower, xUpper, s.xDivisions, s.xScale);
  axes.nGridX = s.xDivisions;
  axes.sValueX = xLower;
  axes.nGridY = s.yDivisions;
  axes.sValueY = yLower;
  axes.subX = s.xSubDivisions;
  axes.subY = s.ySubDivisions;
  axes.linearX = s.xScale == ScaleKind::Linear;
  axes.linearY = s.yScale == ScaleKind::Linear;
  axes.titleX = s.xQuantity != XQuantity::Period ? kFrequencyAxisTitle : kPeriodAxisTitle;
  return axes;
}

void SetAxes(TMyGraph& chart, const ChartAxes& axes, SubDivisions subDivisions) {
  chart.NGridX = axes.nGridX;
  chart.SValueX = axes.sValueX;
  chart.VValueX = axes.vValueX;
  chart.NGridY = axes.nGridY;
  chart.SValueY = axes.sValueY;
  chart.VValueY = axes.vValueY;
  if (subDivisions == SubDivisions::FromSettings) {
    chart.SubX = axes.subX;
    chart.SubY = axes.subY;
  }
  chart.LinearX = axes.linearX;
  chart.LinearY = axes.linearY;
  chart.TitleX = axes.titleX;
}

void ApplySettings(const AnalysisSettings& s, TMyGraph* chart, SubDivisions subDivisions, int* pointCount) {
  if (chart) SetAxes(*chart, AxesOf(s), subDivisions);
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
