#pragma once
// The settings as the amplification charts take them. One routine applies
// them wherever a chart or an analysis follows the settings: the settings
// window's apply (preview and main chart), the chart's redraw, the picture
// files and the batch's apply step.
#include <array>
#include <optional>
#include <string>

#include "analysis/AnalysisSettings.h"
#include "graphics/Mygraph.h"
#include "profile/SoilProfile.h"

// Whether the minor sub-division counts go over too. The settings window's
// apply and a picture drawn afresh copy them; the chart's redraw keeps what
// the last apply gave it, so a count typed but not applied does not show.
enum class SubDivisions { Keep, FromSettings };

// Sets on the chart, when one is given, NGridX/Y, SValueX/Y, the steps
// VValueX/Y (ScaleStep), LinearX/Y, TitleX and, as asked, SubX/SubY; and the
// point count, when one is given, from the point choice (no choice keeps it).
// The range limits are read with StrToSingle; a conversion error or the
// FloatingPointFault of ScaleStep is raised before anything is changed.
void ApplySettings(const AnalysisSettings& settings, TMyGraph* chart, SubDivisions subDivisions, int* pointCount);

// A chart's axes as the settings give them, settled into numbers.
struct ChartAxes {
  int nGridX = 0, nGridY = 0;
  float sValueX = 0.0f, vValueX = 0.0f, sValueY = 0.0f, vValueY = 0.0f;
  int subX = 0, subY = 0;
  bool linearX = true, linearY = true;
  std::string titleX;
};

// The four range limits as numbers.
struct AxisLimits {
  float xLower = 0.0f, xUpper = 0.0f, yLower = 0.0f, yUpper = 0.0f;
};

// The axes of the settings: each limit read once with StrToSingle, the steps
// by ScaleStep; a conversion error or a FloatingPointFault is raised.
ChartAxes AxesOf(const AnalysisSettings& settings);
// The same with the limits already read; only ScaleStep can raise.
ChartAxes AxesOf(const AnalysisSettings& settings, const AxisLimits& limits);

// Sets the axes on the chart; the sub-division counts only when asked.
void SetAxes(TMyGraph& chart, const ChartAxes& axes, SubDivisions subDivisions);

// The step between adjacent main grid lines: (upper - lower) / divisions for
// a linear scale, exp(ln(upper / lower) / divisions) - the ratio between
// adjacent lines - for a logarithmic one (any other choice). Evaluated in double, rounded
// once to float32. Raises FloatingPointFault for a zero division count or a
// non-positive logarithm argument, as the arithmetic would.
float ScaleStep(float lower, float upper, int divisions, ScaleKind scale);

// Copies the 20 check marks into showLayer (index 0 = layer 1) and tells
// whether one of the first layerCount marks is set (never more than 20 looked
// at; none for a count of 0 or less).
bool CollectDisplayLayers(const std::array<bool, kMaxLayers>& marks, int layerCount,
                          std::array<bool, kMaxLayers>& showLayer);
