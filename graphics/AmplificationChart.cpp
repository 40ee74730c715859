#include "graphics/AmplificationChart.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "graphics/ChartSettings.h"
#include "graphics/StratumDiagram.h"
#include "platform/Conversion.h"

namespace {

// Variadic so that the compiler checks every format against its values.
[[gnu::format(printf, 1, 2)]] std::string Format(const char* format, ...) {
  char buffer[512];  // room for "%.2f" of the largest read-out value
  std::va_list values;
  va_start(values, format);
  std::vsnprintf(buffer, sizeof buffer, format, values);
  va_end(values);
  return buffer;
}

const char* MethodText(int method) {
  switch (method) {
    case 0: return "伝達マトリックス法";
    case 1: return "等価質点系解析";
    case 2: return "重複反射";
  }
  return nullptr;
}

// Every two-choice group reads "the first item, otherwise the second", so a
// group with no item chosen means the second everywhere (as in the files).
std::string DampingText(int dampingForm, double ratio) {
  return dampingForm == 0 ? Format("履歴型減衰/減衰比　%.2f", ratio) : Format("粘性型減衰/減衰比　%.2f", ratio);
}

}  // namespace

void LayOutAmplificationChart(TMyGraph& graph) {
  graph.NGridX = 5;
  graph.WidthX = 360;
  graph.HeightY = 360;
  graph.OriginX = 50;
  graph.OriginY = 390;
  graph.VValueX = 1.0f;
  graph.VValueY = 5.0f;
  graph.TitleX = "周期　[s]";
  graph.TitleY = "増幅率";
}

int LegendX(const AnalysisSettings& settings) {
  if (settings.legendLeft) return 60;
  if (settings.showProfile && !settings.profileLeft) return 200;
  return 290;
}

std::string LegendText(int layerNumber) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "      　    第%2d層", layerNumber);
  return buffer;
}

bool DrawAmplificationChart(TMyGraph& graph, const ChartSources& sources,
                            std::array<bool, kLayerColourCount>& showLayer, MessagePort& messages) {
  const SoilProfile& profile = sources.profile;
  const AmplificationResult& result = sources.result;
  const AnalysisSettings& s = sources.settings;
  Canvas& canvas = graph.canvas();

  if (!CollectDisplayLayers(s.displayLayers, profile.layerCount, showLayer)) {
    messages.Show(ErrorBox("増幅特性を表示する層番号が指定されておりません", "表示層選択エラー"));
    return false;
  }

  canvas.font.size = 12;
  canvas.font.name = "ＭＳゴシック";
  graph.TitleY = "増幅率　" + profile.siteName;

  ApplySettings(s, &graph, SubDivisions::Keep, nullptr);

  if (!graph.DrawWaku()) return false;

  canvas.pen.width = s.boldCurves ? 2 : 1;
  canvas.font.size = 12;

  const int legendX = LegendX(s);
  // Only as many samples as the result holds, and only the layers that have
  // display flags and colours.
  const int points = std::clamp(result.pointCount, 0, kMaxPoints);
  const int layers = std::clamp(profile.layerCount, 0, kLayerColourCount);
  int k = 0;
  for (int i = 0; i < layers; ++i) {
    if (!showLayer[i]) continue;
    canvas.pen.colour = sources.multiColour ? LayerColourOf(sources.colours, i) : kBlack;
    const std::vector<float>& amplification = result.amplification[i];
    const int n = std::min(points, static_cast<int>(amplification.size()));
    graph.DrawGraph(n, result.xValue.data(), amplification.data());
    if (s.showLayerLegend) {
      canvas.TextOut(legendX, 44 + 18 * k, LegendText(i + 1));
      canvas.MoveTo(legendX, 50 + 18 * k);
      canvas.LineTo(legendX + 55, 50 + 18 * k);
      canvas.pen.colour = kBlack;
      ++k;
    }
  }
  canvas.pen.colour = kBlack;

  if (s.showProfile) {
    if (s.profileLeft) {
      DrawInsetStratum(canvas, profile, 55, 40);
    } else {
      DrawInsetStratum(canvas, profile, 325, 40);
    }
  }

  if (s.showMethod) {
    canvas.font.size = 9;
    if (const char* method = MethodText(s.method)) canvas.TextOut(200, 10, method);
    canvas.TextOut(300, 10, DampingText(s.dampingForm, StrToFloat(s.dampingText)));
  }
  return true;
}

CursorReadout MyGraph1MouseMove(const TMyGraph& graph, int xQuantity, int X, int Y) {
  if (X < graph.OriginX || X > graph.OriginX + graph.WidthX || Y > graph.OriginY ||
      Y < graph.OriginY - graph.HeightY) {
    return {};
  }
  if (graph.NGridX < 1 || graph.NGridY < 1) return {};
  const int dx = graph.WidthX / graph.NGridX;
  const int dy = graph.HeightY / graph.NGridY;
  if (dx == 0 || dy == 0) return {};

  CursorReadout readout;
  double x = 0;
  bool xKnown = true;
  if (graph.LinearX) {
    x = static_cast<double>(X - graph.OriginX) * graph.VValueX / dx + graph.SValueX;
  } else if (graph.SValueX > 0 && graph.VValueX > 0) {
    // The exponent is stored as float32 before the exponential.
    const float exponent = static_cast<float>(std::log(static_cast<double>(graph.SValueX)) +
                                              std::log(static_cast<double>(graph.VValueX)) *
                                                  (X - graph.OriginX) / dx);
    x = std::exp(static_cast<double>(exponent));
  } else {
    xKnown = false;
  }
  if (xKnown && std::isfinite(x)) readout.xText = Format(xQuantity == 0 ? "%.2f(s)" : "%.2f(Hz)", x);

  double y = 0;
  bool yKnown = true;
  if (graph.LinearY) {
    y = static_cast<double>(graph.OriginY - Y) * graph.VValueY / dy + graph.SValueY;
  } else if (graph.SValueY > 0 && graph.VValueY > 0) {
    y = std::exp(std::log(static_cast<double>(graph.SValueY)) +
                 std::log(static_cast<double>(graph.VValueY)) * (graph.OriginY - Y) / dy);
  } else {
    yKnown = false;
  }
  if (yKnown && std::isfinite(y)) readout.yText = Format("%.2f", y);
  return readout;
}
