#include "graphics/StratumDiagram.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/FixedTexts.h"
#include "platform/Printf.h"

namespace {

constexpr int kOriginX = 45;  // velocity 0
constexpr int kOriginY = 60;  // the surface
constexpr int kMinBaseBand = 50;

// Pixel from a real position, truncated toward zero. Profile values are not
// range-checked (a typed 1e30 m/s is accepted), so the position is held to a
// band far outside any picture before the conversion; what lies inside the
// picture is drawn exactly as without the bound.
int TruncPixel(double v) {
  if (std::isnan(v)) return 0;
  return static_cast<int>(std::trunc(std::clamp(v, -1.0e6, 1.0e6)));
}

// Layers held by the profile's record array; a count read from a damaged file
// must not send the drawing past it.
int LayersToDraw(const SoilProfile& profile) { return std::clamp(profile.layerCount, 0, kLayerRecords - 1); }

}  // namespace

StratumAxis VelocityAxisFor(float maxVs) {
  if (maxVs > 1000) return {4, 40, 500};
  if (maxVs > 800) return {4, 40, 250};
  if (maxVs > 400) return {4, 40, 200};
  return {4, 40, 100};
}

StratumAxis DepthAxisFor(float totalDepth) {
  if (totalDepth > 1000) return {4, 75, 500};
  if (totalDepth > 800) return {5, 60, 200};
  if (totalDepth > 400) return {4, 75, 200};
  if (totalDepth > 200) return {4, 75, 100};
  if (totalDepth > 100) return {4, 75, 50};
  if (totalDepth > 40) return {5, 60, 20};
  if (totalDepth > 20) return {4, 75, 10};
  return {4, 75, 5};
}

void DrawStratumDiagram(Canvas& canvas, const SoilProfile& profile, const LayerColours& colours, bool multiColour) {
  canvas.brush = Brush{kWhite, BrushStyle::Solid};
  canvas.FillRect(0, 0, canvas.Width(), canvas.Height());
  canvas.pen = Pen{kBlack, 2, PenStyle::Solid};
  canvas.font.name = kGothicFont;
  canvas.font.size = 11;

  const StratumAxis v = VelocityAxisFor(profile.maxVs);
  const StratumAxis d = DepthAxisFor(profile.totalDepth);
  const int axisRight = kOriginX + v.divisions * v.pixelsPerDivision;

  // Velocity axis along the top.
  canvas.MoveTo(kOriginX, kOriginY);
  canvas.LineTo(axisRight, kOriginY);
  canvas.TextOut(70, 5, "Ｓ波速度");
  canvas.TextOut(axisRight - 25, 25, "(m/s)");
  canvas.TextOut(30, 51, "0");
  for (int f = 1; f <= v.divisions; ++f) {
    const int x = kOriginX + f * v.pixelsPerDivision;
    canvas.TextOut(x - 14, 40, Printf("%3.0f", static_cast<double>(f * v.unitPerDivision)));
    canvas.MoveTo(x, kOriginY);
    canvas.LineTo(x, kOriginY - 5);
  }

  // Depth labels and ticks down the left.
  for (int f = 1; f <= d.divisions; ++f) {
    const int y = kOriginY + f * d.pixelsPerDivision;
    canvas.TextOut(2, y - 10, Printf("%4.0f", static_cast<double>(f * d.unitPerDivision)));
    canvas.MoveTo(kOriginX, y);
    canvas.LineTo(kOriginX - 5, y);
  }

  // Dotted velocity grid down to the profile's depth.
  canvas.pen.width = 1;
  canvas.pen.style = PenStyle::Dot;
  const int gridBottom =
      TruncPixel(static_cast<double>(profile.totalDepth) / d.unitPerDivision * d.pixelsPerDivision + kOriginY);
  for (int f = 1; f <= v.divisions; ++f) {
    const int x = kOriginX + f * v.pixelsPerDivision;
    canvas.MoveTo(x, kOriginY);
    canvas.LineTo(x, gridBottom);
  }

  // One bar per layer.
  canvas.pen.style = PenStyle::Solid;
  canvas.pen.colour = kBlack;
  canvas.brush.style = BrushStyle::Solid;
  const int count = LayersToDraw(profile);
  int top = kOriginY;
  Colour shade = kWhite;
  for (int i = 0; i < count; ++i) {
    const SoilLayer& layer = profile.layers[i];
    const int right = TruncPixel(static_cast<double>(layer.vs) / v.unitPerDivision * v.pixelsPerDivision + kOriginX);
    const int bottom =
        TruncPixel(static_cast<double>(layer.bottomDepth) / d.unitPerDivision * d.pixelsPerDivision + kOriginY);
    if (multiColour) {
      canvas.brush.colour = LayerColourOf(colours, i);
    } else {
      shade -= 0x04080C;
      canvas.brush.colour = shade;
    }
    canvas.Rectangle(kOriginX, top, right, bottom);

    const double heightPixels = static_cast<double>(layer.thickness) / d.unitPerDivision * d.pixelsPerDivision;
    if (heightPixels > 15) {
      canvas.brush.colour = kWhite;
      const std::string label = Printf(" %.0f ", layer.vs);
      const int labelY = top + (bottom - top) / 2 - 9;
      if (right - kOriginX > v.pixelsPerDivision) {
        canvas.TextOut(kOriginX + (right - kOriginX) / 2 - 18, labelY, label);
      } else {
        canvas.TextOut(right + 3, labelY, label);
      }
    }
    top = bottom;
  }

  // The base: at least a 50-pixel band, hatched across the whole velocity axis.
  canvas.brush = Brush{kBlack, BrushStyle::Cross};
  int bottom = kOriginY + d.divisions * d.pixelsPerDivision;
  if (bottom - top < kMinBaseBand) bottom = top + kMinBaseBand;
  canvas.FillRect(kOriginX, top, axisRight, bottom);
  canvas.pen.width = 2;
  canvas.MoveTo(kOriginX, top);
  canvas.LineTo(axisRight, top);

  // The depth axis over the bars' left edges.
  canvas.brush = Brush{kWhite, BrushStyle::Solid};
  canvas.MoveTo(kOriginX, kOriginY);
  canvas.LineTo(kOriginX, bottom);

  canvas.TextOut(kOriginX + (axisRight - kOriginX) / 2 - 23, top + (bottom - top) / 2 - 5,
                 Printf(" %.0f ", profile.layers[count].vs));
  canvas.TextOut(axisRight - 62, top + 2, Printf("%6.2fm", profile.totalDepth));
  canvas.TextOut(7, bottom + 10, "深さ(m)");
  canvas.TextOut(85, bottom + 10, profile.siteName);
}

void DrawInsetStratum(Canvas& canvas, const SoilProfile& profile, int x, int y) {
  canvas.pen.width = 1;
  canvas.Rectangle(x, y, x + kInsetWidth, y + kInsetHeight);

  canvas.font.size = 8;
  canvas.MoveTo(x + 5, y + 10);
  canvas.LineTo(x + 35, y + 10);

  // Without a positive depth there is no scale to draw the boundaries with.
  const int count = LayersToDraw(profile);
  if (profile.totalDepth > 0) {
    const float scale = static_cast<float>(133.0 / profile.totalDepth);
    for (int i = 0; i < count; ++i) {
      const SoilLayer& layer = profile.layers[i];
      const int h = TruncPixel(static_cast<double>(layer.thickness) * scale);
      const int yb = TruncPixel(y + 10 + static_cast<double>(layer.bottomDepth) * scale);
      canvas.MoveTo(x + 5, yb);
      canvas.LineTo(x + 45, yb);
      if (h > 10) {
        canvas.TextOut(x + 47, yb - 5, Printf("%.2f", layer.bottomDepth));
        canvas.TextOut(x + 8, yb - h / 2 - 5, Printf("%4.0f", layer.vs));
      }
    }
  }

  // Drawn after the boundaries: thin top layers put their lines through the
  // heading's cell, and the opaque text keeps it readable over them.
  canvas.TextOut(x + 35, y + 5, "深度(m)");

  for (int j = 1; j <= 7; ++j) {
    canvas.MoveTo(x + 5 + 5 * (j - 1), y + 148);
    canvas.LineTo(x + 5 + 5 * j, y + 143);
  }
  canvas.TextOut(x + 8, y + 148, Printf("%4.0fm/s", profile.layers[count].vs));
}
