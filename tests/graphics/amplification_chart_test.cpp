#include "graphics/AmplificationChart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "FilePortsFake.h"
#include "RecordingCanvas.h"
#include "TestProfiles.h"
#include "graphics/TextBoxes.h"
#include "platform/Errors.h"

namespace {

using Kind = DrawOp::Kind;

// The main window's chart as laid out: 441 × 441, frame 360 × 360 from (50, 390).
struct MainChart {
  MainChart() { LayOutAmplificationChart(graph); }
  bool Draw() {
    const ChartSources sources{profile, result, settings, kDefaultLayerColours, multiColour};
    // The caller shows what could not be drawn.
    const FrameDrawing drawing = DrawAmplificationChart(graph, sources, showLayer);
    for (const MessageBox& problem : drawing.problems) messages.Show(problem);
    return drawing.drawn;
  }
  // The index in the log of the first text op with this text, or -1.
  int IndexOfText(const std::string& text) const {
    const std::vector<DrawOp>& ops = canvas.ops();
    for (size_t i = 0; i < ops.size(); ++i) {
      if (ops[i].kind == Kind::TextOut && ops[i].text == text) return static_cast<int>(i);
    }
    return -1;
  }
  const DrawOp& Op(int index) const { return canvas.ops().at(index); }

  RecordingCanvas canvas{441, 441};
  RecordingMessages messages;
  TMyGraph graph{canvas};
  SoilProfile profile;
  AmplificationResult result;
  AnalysisSettings settings;
  std::array<bool, kMaxLayers> showLayer{};
  bool multiColour = true;
};

// Five layers with a three-sample result on the default axes (period 0 … 5 s
// in 5 divisions: 72 pixels a second; amplification 0 … 20 in 4: 18 pixels a
// unit). Layer m's curve runs through 5, 10 and 5·(m+1): its last pixel tells
// the layers apart.
void FiveLayers(MainChart& c, std::initializer_list<int> displayed) {
  c.profile.siteName = "地点B";
  c.profile.layerCount = 5;
  for (int i = 0; i < 5; ++i) c.profile.layers[i] = {2, 1.8f, 100.0f + 50 * i, 0, 0};
  c.profile.layers[5].vs = 600;
  ComputeDerivedValues(c.profile);
  c.result.pointCount = 3;
  c.result.xValue[0] = 0.5f;
  c.result.xValue[1] = 1.0f;
  c.result.xValue[2] = 2.0f;
  for (int m = 0; m < 5; ++m) c.result.amplification[m] = {5.0f, 10.0f, 5.0f * (m + 1)};
  c.settings.displayLayers = {};
  for (int layer : displayed) c.settings.displayLayers[layer - 1] = true;
}

TEST(AmplificationChart, LegendRowsOnlyForDisplayedLayers) {
  MainChart c;
  FiveLayers(c, {2, 5});
  ASSERT_TRUE(c.Draw());
  EXPECT_TRUE(c.messages.shown.empty());

  const int row1 = c.IndexOfText("      　    第 2層");
  const int row2 = c.IndexOfText("      　    第 5層");
  ASSERT_GE(row1, 0);
  ASSERT_GE(row2, 0);
  // The column laid down at 200 would run 144 pixels into the stratum
  // column at 325: it ends 4 pixels left of it.
  EXPECT_EQ(c.Op(row1).ToString(), "TextOut 177,44       　    第 2層");
  EXPECT_EQ(c.Op(row1).font.size, 12);
  EXPECT_EQ(c.Op(row1 + 1).ToString(), "MoveTo 177,50");
  EXPECT_EQ(c.Op(row1 + 2).ToString(), "LineTo 177,50 232,50");
  EXPECT_EQ(c.Op(row1 + 2).pen, (Pen{0xFF0000, 2, PenStyle::Solid}));  // layer 2: blue
  EXPECT_EQ(c.Op(row2).ToString(), "TextOut 177,62       　    第 5層");
  EXPECT_EQ(c.Op(row2 + 2).ToString(), "LineTo 177,68 232,68");
  EXPECT_EQ(c.Op(row2 + 2).pen, (Pen{0xFF00FF, 2, PenStyle::Solid}));  // layer 5: fuchsia
  EXPECT_EQ(c.IndexOfText("      　    第 1層"), -1);

  // Each curve comes just before its legend row, in its layer's colour.
  EXPECT_EQ(c.Op(row1 - 3).ToString(), "MoveTo 86,300");
  EXPECT_EQ(c.Op(row1 - 2).ToString(), "LineTo 86,300 122,210");
  EXPECT_EQ(c.Op(row1 - 1).ToString(), "LineTo 122,210 194,210");
  EXPECT_EQ(c.Op(row1 - 1).pen, (Pen{0xFF0000, 2, PenStyle::Solid}));
  EXPECT_EQ(c.Op(row2 - 1).ToString(), "LineTo 122,210 194,-60");  // above the frame, not clipped
  EXPECT_EQ(c.Op(row2 - 1).pen.colour, 0xFF00FFu);
  EXPECT_EQ(c.showLayer[1], true);
  EXPECT_EQ(c.showLayer[4], true);
}

TEST(AmplificationChart, LegendColumnMovesOutOfTheStratumColumnsWay) {
  struct Case {
    bool legendLeft, showProfile, profileLeft;
    int x;
  };
  // The laid-down columns 60, 200 and 290 stay where they clear the stratum
  // column; at 60 over a left-hand one (55 to 135) the legend goes right of
  // it, at 200 beside a right-hand one (325 to 405) left of it.
  for (const Case& k : {Case{true, true, true, 139}, Case{true, false, false, 60}, Case{false, true, false, 177},
                        Case{false, true, true, 290}, Case{false, false, false, 290}}) {
    MainChart c;
    FiveLayers(c, {1});
    c.settings.legendLeft = k.legendLeft;
    c.settings.showProfile = k.showProfile;
    c.settings.profileLeft = k.profileLeft;
    ASSERT_TRUE(c.Draw());
    const int row = c.IndexOfText("      　    第 1層");
    ASSERT_GE(row, 0);
    EXPECT_EQ(c.Op(row).points[0], (Point{k.x, 44})) << k.legendLeft << k.showProfile << k.profileLeft;
    EXPECT_EQ(c.Op(row + 2).points[1], (Point{k.x + 55, 50}));

    // The inset sits at the left or the right, or is absent.
    const std::vector<DrawOp> boxes = c.canvas.OfKind(Kind::Rectangle);
    if (!k.showProfile) {
      EXPECT_TRUE(boxes.empty());
    } else {
      ASSERT_EQ(boxes.size(), 1u);
      EXPECT_EQ(boxes[0].ToString(), k.profileLeft ? "Rectangle 55,40 135,200" : "Rectangle 325,40 405,200");
      EXPECT_EQ(boxes[0].pen, (Pen{kBlack, 1, PenStyle::Solid}));
      EXPECT_EQ(boxes[0].brush, (Brush{kWhite, BrushStyle::Solid}));
    }
  }
}

TEST(AmplificationChart, SingleColourAndThinCurves) {
  MainChart c;
  FiveLayers(c, {1, 3});
  c.multiColour = false;
  c.settings.boldCurves = false;
  ASSERT_TRUE(c.Draw());
  for (const char* text : {"      　    第 1層", "      　    第 3層"}) {
    const int row = c.IndexOfText(text);
    ASSERT_GE(row, 0);
    EXPECT_EQ(c.Op(row - 1).pen, (Pen{kBlack, 1, PenStyle::Solid}));  // the curve's last segment
    EXPECT_EQ(c.Op(row + 2).pen, (Pen{kBlack, 1, PenStyle::Solid}));  // the legend line
  }

  // Without the legend only the curves are drawn, and nothing after them is
  // left in a layer's colour.
  MainChart bare;
  FiveLayers(bare, {3});
  bare.settings.showLayerLegend = false;
  bare.settings.showMethod = false;
  bare.settings.showProfile = false;
  ASSERT_TRUE(bare.Draw());
  const std::vector<std::string> log = bare.canvas.Log();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(log.end() - 3, log.end()),
            (std::vector<std::string>{"MoveTo 86,300", "LineTo 86,300 122,210", "LineTo 122,210 194,120"}));
  EXPECT_EQ(bare.canvas.ops().back().pen.colour, 0x008000u);
  EXPECT_EQ(bare.canvas.pen.colour, kBlack);
}

TEST(AmplificationChart, TitlesAndCaptions) {
  MainChart c;
  FiveLayers(c, {1});
  ASSERT_TRUE(c.Draw());
  EXPECT_EQ(c.graph.TitleY, "増幅率　地点B");
  EXPECT_EQ(c.graph.TitleX, "周期 (s)");
  // The method caption (200 to 308) would run under the damping caption at
  // 300: the two stand one above the other at 300, around the line's middle.
  const int method = c.IndexOfText("伝達マトリックス法");
  ASSERT_GE(method, 0);
  EXPECT_EQ(c.Op(method).points[0], (Point{300, 4}));
  EXPECT_EQ(c.Op(method).font.size, 9);
  EXPECT_EQ(c.Op(method).font.name, "ＭＳゴシック");
  EXPECT_EQ(c.Op(method + 1).ToString(), "TextOut 300,16 履歴型減衰/減衰比　0.05");

  MainChart v;
  FiveLayers(v, {1});
  v.settings.method = AnalysisMethod::LumpedMass;
  v.settings.dampingForm = DampingForm::Viscous;
  v.settings.dampingText = " 0.1";
  v.settings.xQuantity = XQuantity::Frequency;
  ASSERT_TRUE(v.Draw());
  EXPECT_EQ(v.graph.TitleX, "振動数 (Hz)");
  // A shorter method caption leaves both at their places.
  ASSERT_GE(v.IndexOfText("等価質点系解析"), 0);
  EXPECT_EQ(v.Op(v.IndexOfText("等価質点系解析")).points[0], (Point{200, 10}));
  ASSERT_GE(v.IndexOfText("粘性型減衰/減衰比　0.10"), 0);
  EXPECT_EQ(v.Op(v.IndexOfText("粘性型減衰/減衰比　0.10")).points[0], (Point{300, 10}));

  // A site name too long to end before the captions' column at 300 ends in
  // "…" 4 pixels before it: 60 + 14 · 16 = 284.
  MainChart wide;
  FiveLayers(wide, {1});
  wide.profile.siteName = "東京都江東区豊洲六丁目埋立地";
  ASSERT_TRUE(wide.Draw());
  EXPECT_EQ(wide.graph.TitleY, "増幅率　東京都江東区豊洲六…");
  ASSERT_GE(wide.IndexOfText("増幅率　東京都江東区豊洲六…"), 0);
  EXPECT_EQ(wide.Op(wide.IndexOfText("増幅率　東京都江東区豊洲六…")).points[0], (Point{60, 9}));

  MainChart none;
  FiveLayers(none, {1});
  none.settings.showMethod = false;
  none.settings.dampingText = "x";  // not converted when not shown
  ASSERT_TRUE(none.Draw());
  EXPECT_EQ(none.IndexOfText("伝達マトリックス法"), -1);
}

TEST(AmplificationChart, AxesFromTheSettingsTexts) {
  MainChart c;
  FiveLayers(c, {1});
  c.settings.xScale = ScaleKind::Logarithmic;
  c.settings.xLower = "0.1";
  c.settings.xUpper = "10";
  c.settings.xDivisions = 2;
  c.settings.yScale = ScaleKind::Logarithmic;
  c.settings.yLower = "0.1";
  c.settings.yUpper = "100";
  c.settings.yDivisions = 3;
  ASSERT_TRUE(c.Draw());
  EXPECT_FALSE(c.graph.LinearX);
  EXPECT_FALSE(c.graph.LinearY);
  EXPECT_EQ(c.graph.NGridX, 2);
  EXPECT_EQ(c.graph.NGridY, 3);
  EXPECT_EQ(c.graph.SValueX, 0.1f);
  EXPECT_EQ(c.graph.VValueX, 10.0f);
  EXPECT_EQ(c.graph.SValueY, 0.1f);
  EXPECT_EQ(c.graph.VValueY, 10.0f);
  EXPECT_GE(c.IndexOfText("100"), 0);  // the top y label
}

// The profiles of examples/twenty-layers.csv and velocity-inversion.csv.
SoilProfile TwentyLayerSite() {
  return MakeProfile(
      {{1.5f, 1.60f, 95},  {2.0f, 1.55f, 105}, {2.5f, 1.55f, 110}, {3.0f, 1.60f, 120}, {3.0f, 1.60f, 130},
       {3.0f, 1.65f, 140}, {3.5f, 1.65f, 150}, {3.5f, 1.70f, 160}, {4.0f, 1.70f, 175}, {4.0f, 1.75f, 190},
       {4.0f, 1.75f, 200}, {4.5f, 1.80f, 215}, {4.5f, 1.80f, 230}, {5.0f, 1.85f, 250}, {5.0f, 1.85f, 270},
       {5.0f, 1.90f, 290}, {5.5f, 1.90f, 320}, {5.5f, 1.95f, 350}, {6.0f, 1.95f, 390}, {6.0f, 2.00f, 430}},
      2.2f, 700, "沖積平野Ｃ");
}

SoilProfile FillSite() {
  return MakeProfile({{3, 1.9f, 250}, {5, 1.5f, 90}, {7, 1.7f, 150}, {6, 1.9f, 300}}, 2.1f, 600, "盛土造成地Ｄ");
}

// Every text of the chart whole: inside the picture, its cell (the recorded
// corner and the recording canvas's extent) shared with no other text, and
// none but the stratum column's own within the column's box, which is drawn
// over what lies under it.
TEST(AmplificationChart, NoTextCoversAnotherOrTheStratumColumn) {
  struct Case {
    const char* what;
    SoilProfile profile;
    std::vector<int> layers;
    void (*adjust)(AnalysisSettings&);
  };
  const std::vector<Case> cases = {
      {"layers 1, 5, 10, 20", TwentyLayerSite(), {1, 5, 10, 20}, [](AnalysisSettings&) {}},
      {"all twenty layers", TwentyLayerSite(), {}, [](AnalysisSettings&) {}},
      {"logarithmic axes from 0.02 and 0.1",
       FillSite(),
       {1, 2, 3, 4},
       [](AnalysisSettings& s) {
         s.xScale = s.yScale = ScaleKind::Logarithmic;
         s.xLower = "0.02";
         s.yLower = "0.1";
         s.yUpper = "100";
       }},
      {"legend and stratum column both at the left",
       TwentyLayerSite(),
       {},
       [](AnalysisSettings& s) { s.legendLeft = s.profileLeft = true; }},
      {"lumped mass, viscous",
       FillSite(),
       {2, 4},
       [](AnalysisSettings& s) {
         s.method = AnalysisMethod::LumpedMass;
         s.dampingForm = DampingForm::Viscous;
       }},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    MainChart c;
    c.profile = k.profile;
    c.settings.displayLayers = {};
    for (int i = 0; i < c.profile.layerCount; ++i) {
      c.settings.displayLayers[i] = k.layers.empty() || std::count(k.layers.begin(), k.layers.end(), i + 1) > 0;
    }
    k.adjust(c.settings);
    ASSERT_TRUE(c.Draw());

    const std::vector<DrawOp> boxes = c.canvas.OfKind(Kind::Rectangle);
    ASSERT_EQ(boxes.size(), 1u);
    const TextBox inset{boxes[0].points[0].x, boxes[0].points[0].y, boxes[0].points[1].x, boxes[0].points[1].y};
    std::vector<std::pair<TextBox, std::string>> texts;
    for (const DrawOp& op : c.canvas.OfKind(Kind::TextOut)) {
      const TextSize size = RecordingCanvas::ExtentOf(op.text, op.font.size);
      const Point at = op.points[0];
      texts.push_back({{at.x, at.y, at.x + size.width, at.y + size.height}, op.text});
    }
    const size_t legendRows = k.layers.empty() ? 20 : k.layers.size();
    ASSERT_EQ(std::count_if(texts.begin(), texts.end(),
                            [](const auto& t) { return t.second.find("層") != std::string::npos; }),
              static_cast<long>(legendRows));
    for (size_t i = 0; i < texts.size(); ++i) {
      const auto& [box, text] = texts[i];
      EXPECT_TRUE(InsidePicture(box, 441, 441)) << text;
      const bool insetOwn =
          box.left >= inset.left && box.right <= inset.right && box.top >= inset.top && box.bottom <= inset.bottom;
      EXPECT_TRUE(insetOwn || !Overlap(box, inset)) << text << " at " << box.left << "," << box.top;
      for (size_t j = 0; j < i; ++j) {
        EXPECT_FALSE(Overlap(box, texts[j].first))
            << text << " at " << box.left << "," << box.top << " over " << texts[j].second << " at "
            << texts[j].first.left << "," << texts[j].first.top;
      }
    }
  }
}

TEST(AmplificationChart, NoDisplayedLayerShowsTheMessageAndDrawsNothing) {
  MainChart c;
  FiveLayers(c, {});
  c.profile.layerCount = 3;
  c.settings.displayLayers[4] = true;  // box 5, beyond the three layers
  EXPECT_FALSE(c.Draw());
  ASSERT_EQ(c.messages.shown.size(), 1u);
  EXPECT_EQ(c.messages.shown[0], ErrorBox("増幅特性を表示する層番号が指定されておりません", "表示層選択エラー"));
  EXPECT_EQ(c.messages.shown[0].icon, MessageIcon::Exclamation);
  EXPECT_TRUE(c.canvas.ops().empty());
  EXPECT_TRUE(c.showLayer[4]);  // the marks are copied all the same
  EXPECT_EQ(c.graph.TitleY, "増幅率");
}

TEST(AmplificationChart, BadLimitsEndTheDrawingBeforeTheFrame) {
  MainChart c;
  FiveLayers(c, {1});
  c.settings.yUpper = "2O";
  try {
    c.Draw();
    FAIL() << "no conversion error";
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "'2O' は浮動小数点数ではありません");
  }
  EXPECT_TRUE(c.canvas.ops().empty());

  MainChart log0;
  FiveLayers(log0, {1});
  log0.settings.yScale = ScaleKind::Logarithmic;  // a logarithmic axis from "0", typed but never applied
  EXPECT_THROW(log0.Draw(), FloatingPointFault);
  EXPECT_TRUE(log0.canvas.ops().empty());
}

TEST(AmplificationChart, MissingSamplesLeaveGapsAndMissingSlotsNoCurve) {
  MainChart c;
  FiveLayers(c, {1, 2});
  c.result.pointCount = 4;
  c.result.xValue[3] = 3.0f;
  c.result.amplification[0] = {5, kNoValue, 10, 15};
  c.result.amplification[1].clear();  // no analysis result for this layer
  c.settings.showProfile = false;
  c.settings.showMethod = false;
  ASSERT_TRUE(c.Draw());
  const int row1 = c.IndexOfText("      　    第 1層");
  const int row2 = c.IndexOfText("      　    第 2層");
  ASSERT_GE(row1, 3);
  EXPECT_EQ(c.Op(row1 - 3).ToString(), "MoveTo 86,300");
  EXPECT_EQ(c.Op(row1 - 2).ToString(), "MoveTo 194,210");
  EXPECT_EQ(c.Op(row1 - 1).ToString(), "LineTo 194,210 266,120");
  EXPECT_EQ(row2, row1 + 3);  // legend row 2 follows row 1's line: no curve between
}

TEST(CursorReadout, ShowsValuesOnTheFrameAndNothingOutside) {
  MainChart c;  // before any drawing: 0 … 5 s by 0 … 20
  EXPECT_EQ(MyGraph1MouseMove(c.graph, XQuantity::Period, 50, 390), (CursorReadout{"0.00(s)", "0.00"}));
  EXPECT_EQ(MyGraph1MouseMove(c.graph, XQuantity::Period, 410, 30), (CursorReadout{"5.00(s)", "20.00"}));
  EXPECT_EQ(MyGraph1MouseMove(c.graph, XQuantity::Frequency, 100, 300), (CursorReadout{"0.69(Hz)", "5.00"}));
  for (const Point& outside : {Point{49, 200}, Point{411, 200}, Point{200, 391}, Point{200, 29}}) {
    EXPECT_EQ(MyGraph1MouseMove(c.graph, XQuantity::Period, outside.x, outside.y), CursorReadout{})
        << outside.x << "," << outside.y;
  }
}

TEST(CursorReadout, LogarithmicAxes) {
  MainChart c;
  c.graph.LinearX = false;
  c.graph.SValueX = 0.1f;
  c.graph.VValueX = 10.0f;
  c.graph.NGridX = 3;  // 120 pixels a decade
  c.graph.LinearY = false;
  c.graph.SValueY = 0.1f;
  c.graph.VValueY = 10.0f;
  c.graph.NGridY = 3;
  EXPECT_EQ(MyGraph1MouseMove(c.graph, XQuantity::Period, 50, 390), (CursorReadout{"0.10(s)", "0.10"}));
  EXPECT_EQ(MyGraph1MouseMove(c.graph, XQuantity::Period, 110, 330), (CursorReadout{"0.32(s)", "0.32"}));
  EXPECT_EQ(MyGraph1MouseMove(c.graph, XQuantity::Frequency, 410, 30), (CursorReadout{"100.00(Hz)", "100.00"}));
  // A logarithmic start of 0 has no value to show.
  c.graph.SValueX = 0.0f;
  EXPECT_EQ(MyGraph1MouseMove(c.graph, XQuantity::Period, 110, 330), (CursorReadout{"", "0.32"}));
}

}  // namespace
