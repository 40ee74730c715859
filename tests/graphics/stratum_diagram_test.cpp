#include "graphics/StratumDiagram.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "RecordingCanvas.h"

namespace {

using Kind = DrawOp::Kind;

// Layers of (thickness, vs) over a base of the given velocity, with the
// derived depths.
SoilProfile Profile(std::initializer_list<std::pair<float, float>> layers, float baseVs,
                    std::string site = "テスト地点") {
  SoilProfile p;
  p.siteName = std::move(site);
  for (auto [h, vs] : layers) {
    p.layers[p.layerCount].thickness = h;
    p.layers[p.layerCount].vs = vs;
    ++p.layerCount;
  }
  p.layers[p.layerCount].vs = baseVs;
  ComputeDerivedValues(p);
  return p;
}

RecordingCanvas Diagram(const SoilProfile& p, bool multiColour = true) {
  RecordingCanvas canvas(233, 441);
  DrawStratumDiagram(canvas, p, kDefaultLayerColours, multiColour);
  return canvas;
}

std::vector<DrawOp> TextsAt(const RecordingCanvas& canvas, const std::string& text) {
  std::vector<DrawOp> found;
  for (const DrawOp& op : canvas.OfKind(Kind::TextOut)) {
    if (op.text == text) found.push_back(op);
  }
  return found;
}

TEST(StratumDiagram, DrawsEveryOperationOfATwoLayerProfile) {
  const SoilProfile p = Profile({{2, 150}, {3, 300}}, 500, "地点A");
  const RecordingCanvas canvas = Diagram(p);
  const std::vector<std::string> expected = {
      "FillRect 0,0 233,441",
      // velocity axis, 100 m/s per 40 pixels
      "MoveTo 45,60", "LineTo 45,60 205,60", "TextOut 70,5 Ｓ波速度", "TextOut 180,25 (m/s)", "TextOut 30,51 0",
      "TextOut 71,40 100", "MoveTo 85,60", "LineTo 85,60 85,55", "TextOut 111,40 200", "MoveTo 125,60",
      "LineTo 125,60 125,55", "TextOut 151,40 300", "MoveTo 165,60", "LineTo 165,60 165,55", "TextOut 191,40 400",
      "MoveTo 205,60", "LineTo 205,60 205,55",
      // depth axis, 5 m per 75 pixels
      "TextOut 2,125    5", "MoveTo 45,135", "LineTo 45,135 40,135", "TextOut 2,200   10", "MoveTo 45,210",
      "LineTo 45,210 40,210", "TextOut 2,275   15", "MoveTo 45,285", "LineTo 45,285 40,285", "TextOut 2,350   20",
      "MoveTo 45,360", "LineTo 45,360 40,360",
      // dotted grid down to 5 m
      "MoveTo 85,60", "LineTo 85,60 85,135", "MoveTo 125,60", "LineTo 125,60 125,135", "MoveTo 165,60",
      "LineTo 165,60 165,135", "MoveTo 205,60", "LineTo 205,60 205,135",
      // the bars, labels inside
      "Rectangle 45,60 105,90", "TextOut 57,66  150 ", "Rectangle 45,90 165,135", "TextOut 87,103  300 ",
      // the base band, its top line, the depth axis, the texts
      "FillRect 45,135 205,360", "MoveTo 45,135", "LineTo 45,135 205,135", "MoveTo 45,60", "LineTo 45,60 45,360",
      "TextOut 102,242  500 ", "TextOut 143,137   5.00m", "TextOut 7,370 深さ(m)", "TextOut 85,370 地点A"};
  EXPECT_EQ(canvas.Log(), expected);

  // Pens, brushes and font along the way.
  const std::vector<DrawOp>& ops = canvas.ops();
  EXPECT_EQ(ops[0].brush, (Brush{kWhite, BrushStyle::Solid}));
  EXPECT_EQ(ops[2].pen, (Pen{kBlack, 2, PenStyle::Solid}));
  EXPECT_EQ(ops[3].font.size, 11);
  EXPECT_EQ(ops[3].font.name, "ＭＳゴシック");
  const std::vector<DrawOp> lines = canvas.OfKind(Kind::LineTo);
  EXPECT_EQ(lines[9].pen, (Pen{kBlack, 1, PenStyle::Dot}));  // first grid line
  const std::vector<DrawOp> bars = canvas.OfKind(Kind::Rectangle);
  EXPECT_EQ(bars[0].pen, (Pen{kBlack, 1, PenStyle::Solid}));
  EXPECT_EQ(bars[0].brush, (Brush{0x0000FF, BrushStyle::Solid}));
  EXPECT_EQ(bars[1].brush, (Brush{0xFF0000, BrushStyle::Solid}));
  EXPECT_EQ(TextsAt(canvas, " 150 ")[0].brush.colour, kWhite);
  const DrawOp base = canvas.OfKind(Kind::FillRect)[1];
  EXPECT_EQ(base.brush, (Brush{kBlack, BrushStyle::Cross}));
  EXPECT_EQ(lines[13].pen.width, 2);  // top of the base
  EXPECT_EQ(lines[14].pen.width, 2);  // depth axis
  EXPECT_EQ(TextsAt(canvas, "地点A")[0].brush, (Brush{kWhite, BrushStyle::Solid}));
}

TEST(StratumDiagram, ScaleRowsChangeJustAboveTheirLimits) {
  EXPECT_EQ(VelocityAxisFor(400), (StratumAxis{4, 40, 100}));
  EXPECT_EQ(VelocityAxisFor(401), (StratumAxis{4, 40, 200}));
  EXPECT_EQ(VelocityAxisFor(800), (StratumAxis{4, 40, 200}));
  EXPECT_EQ(VelocityAxisFor(800.5f), (StratumAxis{4, 40, 250}));
  EXPECT_EQ(VelocityAxisFor(1000), (StratumAxis{4, 40, 250}));
  EXPECT_EQ(VelocityAxisFor(1001), (StratumAxis{4, 40, 500}));
  EXPECT_EQ(DepthAxisFor(20), (StratumAxis{4, 75, 5}));
  EXPECT_EQ(DepthAxisFor(20.01f), (StratumAxis{4, 75, 10}));
  EXPECT_EQ(DepthAxisFor(40.01f), (StratumAxis{5, 60, 20}));
  EXPECT_EQ(DepthAxisFor(100.01f), (StratumAxis{4, 75, 50}));
  EXPECT_EQ(DepthAxisFor(200.01f), (StratumAxis{4, 75, 100}));
  EXPECT_EQ(DepthAxisFor(400.01f), (StratumAxis{4, 75, 200}));
  EXPECT_EQ(DepthAxisFor(800.01f), (StratumAxis{5, 60, 200}));
  EXPECT_EQ(DepthAxisFor(1000.01f), (StratumAxis{4, 75, 500}));

  // As drawn: the axis labels of 400 m/s and 20 m against 401 m/s and 20.01 m.
  const auto labels = [](const RecordingCanvas& c) {
    std::vector<std::string> found;
    for (const DrawOp& op : c.OfKind(Kind::TextOut)) {
      if ((op.points[0].y == 40 && op.points[0].x > 30) || op.points[0].x == 2) {
        found.push_back(op.ToString());
      }
    }
    return found;
  };
  EXPECT_EQ(labels(Diagram(Profile({{20, 400}}, 600))),
            (std::vector<std::string>{"TextOut 71,40 100", "TextOut 111,40 200", "TextOut 151,40 300",
                                      "TextOut 191,40 400", "TextOut 2,125    5", "TextOut 2,200   10",
                                      "TextOut 2,275   15", "TextOut 2,350   20"}));
  const RecordingCanvas wider = Diagram(Profile({{20.01f, 401}}, 600));
  EXPECT_EQ(labels(wider), (std::vector<std::string>{"TextOut 71,40 200", "TextOut 111,40 400", "TextOut 151,40 600",
                                                     "TextOut 191,40 800", "TextOut 2,125   10", "TextOut 2,200   20",
                                                     "TextOut 2,275   30", "TextOut 2,350   40"}));
  // 401 m/s on 200 per 40 pixels: 125.2 → 125; 20.01 m on 10 per 75: 210.075 → 210.
  EXPECT_EQ(wider.OfKind(Kind::Rectangle)[0].ToString(), "Rectangle 45,60 125,210");
}

TEST(StratumDiagram, VelocityLabelStandsInsideOnlyABarWiderThanOneDivision) {
  // 100 m/s: right − 45 = 40 pixels, the label goes beside the bar.
  const RecordingCanvas beside = Diagram(Profile({{4, 100}, {6, 200}}, 300));
  EXPECT_EQ(TextsAt(beside, " 100 ")[0].ToString(), "TextOut 88,81  100 ");
  // 103 m/s: 41 pixels, inside at 45 + 20 − 18.
  const RecordingCanvas inside = Diagram(Profile({{4, 103}, {6, 200}}, 300));
  EXPECT_EQ(inside.OfKind(Kind::Rectangle)[0].ToString(), "Rectangle 45,60 86,120");
  EXPECT_EQ(TextsAt(inside, " 103 ")[0].ToString(), "TextOut 47,81  103 ");
}

TEST(StratumDiagram, ThinLayersGetTheirBarButNoLabel) {
  // In a 10 m profile a metre is 15 pixels: 0.5 m is 7.5 pixels, 1.2 m is 18.
  const RecordingCanvas canvas = Diagram(Profile({{0.5f, 210}, {1.2f, 220}, {8.3f, 230}}, 400));
  EXPECT_EQ(canvas.OfKind(Kind::Rectangle).size(), 3u);
  EXPECT_EQ(canvas.OfKind(Kind::Rectangle)[0].ToString(), "Rectangle 45,60 129,67");
  EXPECT_TRUE(TextsAt(canvas, " 210 ").empty());
  EXPECT_EQ(TextsAt(canvas, " 220 ")[0].ToString(), "TextOut 71,67  220 ");
  // Exactly 15 pixels (1 m) is not enough.
  const RecordingCanvas fifteen = Diagram(Profile({{1, 210}, {9, 230}}, 400));
  EXPECT_TRUE(TextsAt(fifteen, " 210 ").empty());
}

TEST(StratumDiagram, BaseBandIsAtLeastFiftyPixelsTall) {
  // 19.9 m on a 20 m axis ends at y 358; the band is extended to 408.
  const RecordingCanvas canvas = Diagram(Profile({{10, 150}, {9.9f, 250}}, 400));
  const DrawOp band = canvas.OfKind(Kind::FillRect)[1];
  EXPECT_EQ(band.ToString(), "FillRect 45,358 205,408");
  EXPECT_EQ(band.brush, (Brush{kBlack, BrushStyle::Cross}));
  const std::vector<DrawOp> lines = canvas.OfKind(Kind::LineTo);
  EXPECT_EQ(lines[lines.size() - 2].ToString(), "LineTo 45,358 205,358");
  EXPECT_EQ(lines.back().ToString(), "LineTo 45,60 45,408");
  EXPECT_EQ(TextsAt(canvas, " 400 ")[0].ToString(), "TextOut 102,378  400 ");
  EXPECT_EQ(TextsAt(canvas, " 19.90m")[0].ToString(), "TextOut 143,360  19.90m");
  EXPECT_EQ(TextsAt(canvas, "深さ(m)")[0].ToString(), "TextOut 7,418 深さ(m)");
  EXPECT_EQ(TextsAt(canvas, "テスト地点")[0].ToString(), "TextOut 85,418 テスト地点");
}

TEST(StratumDiagram, SingleColourShadesDarkenFromTheTop) {
  const SoilProfile p = Profile({{2, 150}, {3, 200}, {4, 250}}, 400);
  const RecordingCanvas single = Diagram(p, false);
  const std::vector<DrawOp> bars = single.OfKind(Kind::Rectangle);
  ASSERT_EQ(bars.size(), 3u);
  EXPECT_EQ(bars[0].brush.colour, 0xFBF7F3u);
  EXPECT_EQ(bars[1].brush.colour, 0xF7EFE7u);
  EXPECT_EQ(bars[2].brush.colour, 0xF3E7DBu);
  EXPECT_EQ(SingleColourShade(20), 0xAF5F0Fu);
  EXPECT_EQ(single.OfKind(Kind::FillRect)[1].brush, (Brush{kBlack, BrushStyle::Cross}));

  const RecordingCanvas multi = Diagram(p, true);
  EXPECT_EQ(multi.OfKind(Kind::Rectangle)[2].brush.colour, 0x008000u);  // green
  EXPECT_EQ(multi.OfKind(Kind::FillRect)[1].brush, (Brush{kBlack, BrushStyle::Cross}));
}

TEST(StratumDiagram, ALayerCountBeyondTheRecordsDrawsOnlyWhatIsHeld) {
  SoilProfile p = Profile({{1, 100}}, 200);
  p.layerCount = 40;  // as a damaged file might claim
  const RecordingCanvas canvas = Diagram(p);
  EXPECT_EQ(canvas.OfKind(Kind::Rectangle).size(), static_cast<size_t>(kLayerRecords - 1));
  EXPECT_EQ(canvas.OfKind(Kind::Rectangle)[20].brush.colour, kDefaultLayerColours[0]);
}

TEST(InsetStratum, TwentyEqualLayersGiveBoundariesOnly) {
  SoilProfile p;
  for (int i = 0; i < 20; ++i) {
    p.layers[i].thickness = 1;
    p.layers[i].vs = 100.0f + 10 * i;
  }
  p.layerCount = 20;
  p.layers[20].vs = 700;
  ComputeDerivedValues(p);

  RecordingCanvas canvas(441, 441);
  DrawInsetStratum(canvas, p, 325, 40);
  EXPECT_EQ(canvas.Texts(), (std::vector<std::string>{"深度(m)", " 700m/s"}));
  const std::vector<DrawOp> lines = canvas.OfKind(Kind::LineTo);
  ASSERT_EQ(lines.size(), 1u + 20u + 7u);
  EXPECT_EQ(lines[0].ToString(), "LineTo 330,50 360,50");     // surface
  EXPECT_EQ(lines[1].ToString(), "LineTo 330,56 370,56");     // 50 + 6.65
  EXPECT_EQ(lines[2].ToString(), "LineTo 330,63 370,63");     // 50 + 13.3
  EXPECT_EQ(lines[20].ToString(), "LineTo 330,183 370,183");  // 50 + 133
  EXPECT_EQ(lines[21].ToString(), "LineTo 330,188 335,183");  // first hatch stroke
  EXPECT_EQ(lines[27].ToString(), "LineTo 360,188 365,183");
  EXPECT_EQ(canvas.OfKind(Kind::Rectangle)[0].ToString(), "Rectangle 325,40 405,200");
  EXPECT_EQ(canvas.OfKind(Kind::TextOut)[1].ToString(), "TextOut 333,188  700m/s");
  EXPECT_EQ(canvas.OfKind(Kind::TextOut)[0].font.size, 8);
  // The top boundaries run through the heading's cell (y 45 to 56): the
  // opaque heading comes after them, over them.
  const std::vector<std::string> log = canvas.Log();
  const auto at = [&](const std::string& op) { return std::find(log.begin(), log.end(), op) - log.begin(); };
  EXPECT_LT(at("LineTo 330,56 370,56"), at("TextOut 360,45 深度(m)"));
  EXPECT_LT(at("TextOut 360,45 深度(m)"), static_cast<long>(log.size()));
}

TEST(InsetStratum, ThickLayersShowDepthAndVelocity) {
  SoilProfile p;
  p.layerCount = 2;
  p.layers[0] = {5, 1.8f, 150, 0, 0};
  p.layers[1] = {5, 1.9f, 320, 0, 0};
  p.layers[2].vs = 1200;
  ComputeDerivedValues(p);
  RecordingCanvas canvas(441, 441);
  DrawInsetStratum(canvas, p, 55, 40);
  // 133 / 10 = 13.3 pixels a metre: h = 66, boundaries at 116 and 183.
  EXPECT_EQ(canvas.Texts(), (std::vector<std::string>{"5.00", " 150", "10.00", " 320", "深度(m)", "1200m/s"}));
  const std::vector<DrawOp> texts = canvas.OfKind(Kind::TextOut);
  EXPECT_EQ(texts[0].ToString(), "TextOut 102,111 5.00");
  EXPECT_EQ(texts[1].ToString(), "TextOut 63,78  150");
  EXPECT_EQ(texts[2].ToString(), "TextOut 102,178 10.00");
  EXPECT_EQ(texts[3].ToString(), "TextOut 63,145  320");
  EXPECT_EQ(texts[4].ToString(), "TextOut 90,45 深度(m)");
}

TEST(InsetStratum, NoDepthDrawsTheFrameWithoutBoundaries) {
  SoilProfile empty;  // no profile: totalDepth 0
  empty.layers[0].vs = 400;
  RecordingCanvas canvas(441, 441);
  DrawInsetStratum(canvas, empty, 325, 40);
  EXPECT_EQ(canvas.Texts(), (std::vector<std::string>{"深度(m)", " 400m/s"}));
  EXPECT_EQ(canvas.OfKind(Kind::LineTo).size(), 1u + 7u);

  SoilProfile flat;  // layers of zero thickness
  flat.layerCount = 2;
  flat.layers[2].vs = 300;
  ComputeDerivedValues(flat);
  RecordingCanvas flatCanvas(441, 441);
  DrawInsetStratum(flatCanvas, flat, 325, 40);
  EXPECT_EQ(flatCanvas.OfKind(Kind::LineTo).size(), 1u + 7u);
  EXPECT_EQ(flatCanvas.Texts().back(), " 300m/s");
}

}  // namespace
