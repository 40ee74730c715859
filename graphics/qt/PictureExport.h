#pragma once
// The main window's two pictures, drawn without a window and saved as PNG,
// SVG or PDF: the amplification chart (441 × 441) and the stratum diagram
// (233 × 441).
// Used by tovalk-batch; this header includes no toolkit header, so the batch
// program can include it whether or not it is built with the pictures.
#include <string>

#include "analysis/AmplificationResult.h"
#include "platform/Canvas.h"
#include "graphics/LayerColours.h"
#include "graphics/PictureFormat.h"
#include "graphics/PictureSizes.h"
#include "profile/SoilProfile.h"
#include "analysis/AnalysisSettings.h"

// What the chart is drawn from. The displayed layers are the settings'
// displayLayers, as the settings window would pass them on.
struct ChartPictureSources {
  const SoilProfile& profile;
  const AmplificationResult& result;
  const AnalysisSettings& settings;
  const LayerColours& colours = kDefaultLayerColours;
  bool multiColour = true;
};

// Draws the chart on a canvas of the chart's size as the main window does
// after an analysis: the layout of MyGraph1, the sub-divisions of the applied
// settings, a white clear, then the chart. Returns "" when it was drawn, else
// the text the desktop program would have shown (the no-layer message, a
// conversion error, a floating-point fault, a scale error).
std::string RenderChartPicture(Canvas& canvas, const ChartPictureSources& sources);

// Draws the multi-colour stratum diagram (or the single-colour one) on a
// canvas of the diagram's size.
void RenderStratumPicture(Canvas& canvas, const SoilProfile& profile,
                          const LayerColours& colours = kDefaultLayerColours, bool multiColour = true);

// Makes sure the toolkit can draw text: creates its application object when
// the process has none, on the "offscreen" platform when there is neither a
// display nor an explicit QT_QPA_PLATFORM. Returns "" when drawing can go on,
// else the reason. The save functions below call it themselves.
std::string EnsurePictureGraphics();

// Render and encode as a whole file of the format. Return "" with the file's
// bytes in `bytes`, else the reason (the picture could not be drawn, no
// graphics system, the encoder failed). Text needs the toolkit's fonts, so
// call these on the thread that made the application object.
std::string EncodeChartPicture(const ChartPictureSources& sources, PictureFormat format, std::string& bytes);
std::string EncodeStratumPicture(const SoilProfile& profile, PictureFormat format, std::string& bytes,
                                 const LayerColours& colours = kDefaultLayerColours, bool multiColour = true);

// Render and save. Return "" on success, else the reason (the picture could
// not be drawn, no graphics system, the file could not be written). A file is
// replaced only once the new picture is completely written.
std::string SaveChartPicture(const std::string& path, const ChartPictureSources& sources,
                             PictureFormat format = PictureFormat::Png);
std::string SaveStratumPicture(const std::string& path, const SoilProfile& profile,
                               const LayerColours& colours = kDefaultLayerColours, bool multiColour = true,
                               PictureFormat format = PictureFormat::Png);
