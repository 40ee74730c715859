#pragma once
// The stratum diagram ("地層図"): the profile as a column of bars, height by
// thickness on a depth axis, width by S-wave velocity, the base cross-hatched
// below. And its small form inside the amplification chart.
#include "platform/Canvas.h"
#include "graphics/LayerColours.h"
#include "profile/SoilProfile.h"

// One axis of the diagram, chosen from the data.
struct StratumAxis {
  int divisions = 0;
  int pixelsPerDivision = 0;
  int unitPerDivision = 0;  // m/s or m
  bool operator==(const StratumAxis&) const = default;
};

// First matching row wins: the velocity axis is always 160 pixels long and
// the depth axis 300.
StratumAxis VelocityAxisFor(float maxVs);
StratumAxis DepthAxisFor(float totalDepth);

// Draws the whole diagram on the 233 × 441 stratum picture, filling it white
// first. `multiColour` is the menu choice "多色" (otherwise "単色"). The caller
// enables "地層図" copy (Button4) and "増幅特性" (BtnAmplitude) afterwards.
void DrawStratumDiagram(Canvas& canvas, const SoilProfile& profile, const LayerColours& colours, bool multiColour);

// The small column's box inside the chart, in pixels.
inline constexpr int kInsetWidth = 80;
inline constexpr int kInsetHeight = 160;

// The small column (80 × 160 box) with its top-left corner at (x, y) on the
// chart's canvas, drawn with the pen colour, brush and font name the chart
// left. The whole profile depth takes 133 pixels. A profile without depth
// (totalDepth 0, negative or not a number) has no scale: the box, the surface
// line, the hatch and the base velocity are drawn, no layer boundaries.
void DrawInsetStratum(Canvas& canvas, const SoilProfile& profile, int x, int y);
