#pragma once
// The amplification chart of the main window (MyGraph1): the curves of the
// chosen layers on the axes of the settings, with the legend, the small
// stratum column and the method and damping captions; and the cursor
// read-out under the chart.
#include <array>
#include <string>

#include "analysis/AmplificationResult.h"
#include "graphics/LayerColours.h"
#include "graphics/Mygraph.h"
#include "platform/MessageBox.h"
#include "profile/SoilProfile.h"
#include "analysis/AnalysisSettings.h"

// What the chart reads from the main window.
struct ChartSources {
  const SoilProfile& profile;
  const AmplificationResult& result;
  const AnalysisSettings& settings;
  const LayerColours& colours;
  bool multiColour;  // "多色" checked (otherwise "単色": black curves)
};

// The main window's chart MyGraph1 as laid out (441 × 441 picture, frame
// 360 × 360 from (50, 390), period 0 to 5 by 0 to 20); the other properties
// keep the component's values at creation.
void LayOutAmplificationChart(TMyGraph& graph);

// Draws the chart on the graph. First copies the settings' layer marks into
// showLayer; when none of the profile's layers is chosen, draws nothing and
// returns the box "増幅特性を表示する層番号が指定されておりません" / "表示層選択エラー"
// for the caller to show. Drawn when the chart was drawn; the caller then
// enables the save button (Button8).
//
// The limit and damping texts are converted as the chart draws: a text that is
// not a number throws ConversionError, an unusable axis (a logarithmic range
// from 0) a FloatingPointFault; the action ends there. When the frame cannot
// be drawn (DrawWaku refuses a logarithmic axis starting at 0) no curve is
// drawn and its scale errors are returned.
//
// Every text is drawn whole: the legend column, the method and damping
// captions and the y title keep their laid-down places where their measured
// cells clear the frame's texts, each other and the small stratum column,
// and move (or, for a site name too long for the line, end in "…") where
// they would not.
FrameDrawing DrawAmplificationChart(TMyGraph& graph, const ChartSources& sources,
                                    std::array<bool, kLayerColourCount>& showLayer);

// The laid-down x column of the legend: 60 when it is asked for at the left;
// otherwise 200 beside a right-hand stratum column, else 290.
int LegendX(const AnalysisSettings& settings);

// The legend text of a layer number: "      　    第%2d層".
std::string LegendText(int layerNumber);

// The cursor read-out: Label6 (period or frequency) and Label7 (amplification).
struct CursorReadout {
  std::string xText;  // Label6
  std::string yText;  // Label7
  bool operator==(const CursorReadout&) const = default;
};

// The texts for the mouse at pixel (X, Y) from the chart's current scale:
// both empty outside the frame (its edges count as inside). Period shows
// "%.2f(s)", any other quantity "%.2f(Hz)". A value the scale cannot give (a
// logarithmic axis without a positive start and ratio) leaves its text empty.
CursorReadout MyGraph1MouseMove(const TMyGraph& graph, XQuantity xQuantity, int X, int Y);
