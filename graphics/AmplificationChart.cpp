#include "graphics/AmplificationChart.h"

#include <algorithm>
#include <cmath>

#include "graphics/ChartSettings.h"
#include "graphics/StratumDiagram.h"
#include "graphics/TextBoxes.h"
#include "platform/Conversion.h"
#include "platform/FixedTexts.h"
#include "platform/Printf.h"

namespace {

const char* MethodText(AnalysisMethod method) {
  switch (method) {
    case AnalysisMethod::TransferMatrix: return "伝達マトリックス法";
    case AnalysisMethod::LumpedMass: return "等価質点系解析";
    case AnalysisMethod::Reflection: return "重複反射";
    case AnalysisMethod::None: break;
  }
  return nullptr;
}

// Every two-choice group reads "the first item, otherwise the second", so a
// group with no item chosen means the second everywhere (as in the files).
std::string DampingText(DampingForm dampingForm, double ratio) {
  return dampingForm == DampingForm::Hysteretic ? Printf("履歴型減衰/減衰比　%.2f", ratio)
                                                : Printf("粘性型減衰/減衰比　%.2f", ratio);
}

// The y title: the word, a full-width space and the site name.
std::string AmplificationTitle(const std::string& siteName) {
  return std::string(kAmplificationAxisTitle) + "　" + siteName;
}

// The room kept between a moved text and what it moved away from.
constexpr int kTextGap = 4;

// The laid-down places of the legend rows and the captions.
constexpr int kLegendTop = 44;
constexpr int kLegendPitch = 18;
constexpr int kLegendLineDrop = 6;  // the line runs through the row's blank lead
constexpr int kLegendLineLength = 55;
constexpr Point kMethodAt{200, 10};
constexpr Point kDampingAt{300, 10};
constexpr int kCaptionFontSize = 9;

struct PlacedText {
  TextBox box;
  std::string text;
};

// Drops the last character (a whole UTF-8 sequence) of the text.
void DropLastCharacter(std::string& text) {
  while (!text.empty()) {
    const unsigned char last = static_cast<unsigned char>(text.back());
    text.pop_back();
    if ((last & 0xC0) != 0x80) break;
  }
}

// The method and damping captions in the band above the frame, at their
// laid-down places where they clear the y title, each other and the
// picture's edge. A long site name and the transfer matrix caption do not
// leave room for both in one line: then they stand one above the other at
// the damping's x (nearer the left edge when that is too far right), and a
// y title still reaching into them ends in "…" clear of them. Sets the
// canvas font to the titles' size again for the frame.
std::vector<PlacedText> PlaceCaptions(TMyGraph& graph, const std::string& siteName, const char* method,
                                      const std::string& damping) {
  Canvas& canvas = graph.canvas();
  const int titleFontSize = canvas.font.size;
  const TextBox title = graph.TitleYBox();
  canvas.font.size = kCaptionFontSize;
  std::vector<PlacedText> captions;
  if (method) captions.push_back({TextBoxAt(canvas, kMethodAt.x, kMethodAt.y, method), method});
  captions.push_back({TextBoxAt(canvas, kDampingAt.x, kDampingAt.y, damping), damping});

  const auto clear = [&](size_t i) {
    const TextBox& box = captions[i].box;
    if (!InsidePicture(box, canvas.Width(), canvas.Height()) || Overlap(box, title)) return false;
    for (size_t j = 0; j < i; ++j) {
      if (Overlap(box, captions[j].box)) return false;
    }
    return true;
  };
  bool laidDown = true;
  for (size_t i = 0; i < captions.size(); ++i) laidDown = laidDown && clear(i);
  if (!laidDown) {
    int widest = 0;
    for (const PlacedText& caption : captions) widest = std::max(widest, caption.box.right - caption.box.left);
    const int x = std::max(0, std::min(kDampingAt.x, canvas.Width() - kTextGap / 2 - widest));
    // The lines share the middle of the laid-down line.
    const int height = captions[0].box.bottom - captions[0].box.top;
    int y = std::max(0, kDampingAt.y + height / 2 - height * static_cast<int>(captions.size()) / 2);
    for (PlacedText& caption : captions) {
      caption.box = TextBoxAt(canvas, x, y, caption.text);
      y = caption.box.bottom;
    }
    canvas.font.size = titleFontSize;
    std::string kept = siteName;
    while (graph.TitleYBox().right > x - kTextGap && !kept.empty()) {
      DropLastCharacter(kept);
      graph.TitleY = AmplificationTitle(kept) + "…";
    }
  }
  canvas.font.size = titleFontSize;
  return captions;
}

// Where the legend column goes: its laid-down x and row pitch while no row
// covers a text of the frame, a caption or the stratum column, or leaves the
// picture; otherwise beside the stratum column (left of it, else right of
// it), with the rows drawn closer (down to the text's height) where the
// column would reach the x labels. The rows' texts are measured in the
// canvas's current font.
struct LegendPlace {
  int x = 0;
  int pitch = kLegendPitch;
};

LegendPlace PlaceLegend(Canvas& canvas, int laidDownX, const std::vector<std::string>& rows,
                        const std::vector<TextBox>& obstacles, const TextBox* inset) {
  if (rows.empty()) return {laidDownX, kLegendPitch};
  int width = 0;
  int height = 0;
  for (const std::string& row : rows) {
    const TextSize size = canvas.TextExtent(row);
    width = std::max(width, size.width);
    height = std::max(height, size.height);
  }
  std::vector<int> columns{laidDownX};
  if (inset) {
    columns.push_back(inset->left - kTextGap - width);
    columns.push_back(inset->right + kTextGap);
  }
  const auto clear = [&](int x, int pitch) {
    for (size_t k = 0; k < rows.size(); ++k) {
      const TextBox box{x, kLegendTop + pitch * static_cast<int>(k), x + width,
                        kLegendTop + pitch * static_cast<int>(k) + height};
      if (!InsidePicture(box, canvas.Width(), canvas.Height()) || FirstOverlap(box, obstacles)) return false;
      if (inset && Overlap(box, *inset)) return false;
    }
    return true;
  };
  for (const int x : columns) {
    for (int pitch = kLegendPitch; pitch >= std::min(kLegendPitch, height); --pitch) {
      if (clear(x, pitch)) return {x, pitch};
    }
  }
  return {laidDownX, kLegendPitch};
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
  graph.TitleY = kAmplificationAxisTitle;
}

int LegendX(const AnalysisSettings& settings) {
  if (settings.legendLeft) return 60;
  if (settings.showProfile && !settings.profileLeft) return 200;
  return 290;
}

std::string LegendText(int layerNumber) { return Printf("      　    第%2d層", layerNumber); }

FrameDrawing DrawAmplificationChart(TMyGraph& graph, const ChartSources& sources,
                                    std::array<bool, kLayerColourCount>& showLayer) {
  const SoilProfile& profile = sources.profile;
  const AmplificationResult& result = sources.result;
  const AnalysisSettings& s = sources.settings;
  Canvas& canvas = graph.canvas();

  if (!CollectDisplayLayers(s.displayLayers, profile.layerCount, showLayer)) {
    return {false, {ErrorBox("増幅特性を表示する層番号が指定されておりません", kLayerChoiceErrorCaption)}};
  }

  canvas.font.size = 12;
  canvas.font.name = kGothicFont;
  graph.TitleY = AmplificationTitle(profile.siteName);

  ApplySettings(s, &graph, SubDivisions::Keep, nullptr);

  // The captions are placed first: where they need the room, the y title
  // yields it before the frame draws it.
  std::vector<PlacedText> captions;
  if (s.showMethod) {
    captions = PlaceCaptions(graph, profile.siteName, MethodText(s.method),
                             DampingText(s.dampingForm, StrToFloat(s.dampingText)));
  }

  FrameDrawing frame = graph.DrawWaku();
  if (!frame) return frame;

  canvas.pen.width = s.boldCurves ? 2 : 1;
  canvas.font.size = 12;

  // Only as many samples as the result holds, and only the layers that have
  // display flags and colours.
  const int points = std::clamp(result.pointCount, 0, kMaxPoints);
  const int layers = std::clamp(profile.layerCount, 0, kLayerColourCount);

  const Point insetAt = s.profileLeft ? Point{55, 40} : Point{325, 40};
  const TextBox inset{insetAt.x, insetAt.y, insetAt.x + kInsetWidth, insetAt.y + kInsetHeight};
  LegendPlace legend{LegendX(s), kLegendPitch};
  if (s.showLayerLegend) {
    std::vector<std::string> rows;
    for (int i = 0; i < layers; ++i) {
      if (showLayer[i]) rows.push_back(LegendText(i + 1));
    }
    std::vector<TextBox> obstacles = graph.TextBoxes();
    for (const PlacedText& caption : captions) obstacles.push_back(caption.box);
    legend = PlaceLegend(canvas, legend.x, rows, obstacles, s.showProfile ? &inset : nullptr);
  }

  int k = 0;
  for (int i = 0; i < layers; ++i) {
    if (!showLayer[i]) continue;
    canvas.pen.colour = sources.multiColour ? LayerColourOf(sources.colours, i) : kBlack;
    const std::vector<float>& amplification = result.amplification[i];
    const int n = std::min(points, static_cast<int>(amplification.size()));
    graph.DrawGraph(n, result.xValue.data(), amplification.data());
    if (s.showLayerLegend) {
      const int row = kLegendTop + legend.pitch * k;
      canvas.TextOut(legend.x, row, LegendText(i + 1));
      canvas.MoveTo(legend.x, row + kLegendLineDrop);
      canvas.LineTo(legend.x + kLegendLineLength, row + kLegendLineDrop);
      canvas.pen.colour = kBlack;
      ++k;
    }
  }
  canvas.pen.colour = kBlack;

  if (s.showProfile) DrawInsetStratum(canvas, profile, insetAt.x, insetAt.y);

  if (s.showMethod) {
    canvas.font.size = kCaptionFontSize;
    for (const PlacedText& caption : captions) canvas.TextOut(caption.box.left, caption.box.top, caption.text);
  }
  return frame;
}

CursorReadout MyGraph1MouseMove(const TMyGraph& graph, XQuantity xQuantity, int X, int Y) {
  if (X < graph.OriginX || X > graph.OriginX + graph.WidthX || Y > graph.OriginY || Y < graph.OriginY - graph.HeightY) {
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
                                              std::log(static_cast<double>(graph.VValueX)) * (X - graph.OriginX) / dx);
    x = std::exp(static_cast<double>(exponent));
  } else {
    xKnown = false;
  }
  if (xKnown && std::isfinite(x)) readout.xText = Printf(xQuantity == XQuantity::Period ? "%.2f(s)" : "%.2f(Hz)", x);

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
  if (yKnown && std::isfinite(y)) readout.yText = Printf("%.2f", y);
  return readout;
}
