#include "graphics/Mygraph.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "analysis/AmplificationResult.h"
#include "FilePortsFake.h"
#include "RecordingCanvas.h"

namespace {

using Kind = DrawOp::Kind;

class FakeClipboard : public ClipboardPort {
 public:
  void SetPicture(const Canvas& picture) override { pictures.push_back(&picture); }
  std::vector<const Canvas*> pictures;
};

// The operations whose ToString starts with the prefix, in order.
std::vector<std::string> Matching(const RecordingCanvas& canvas, const std::string& prefix) {
  std::vector<std::string> found;
  for (const std::string& s : canvas.Log()) {
    if (s.rfind(prefix, 0) == 0) found.push_back(s);
  }
  return found;
}

// One value unit per pixel: px = x + 35, py = 270 - y.
void UnitPixels(TMyGraph& g) {
  g.NGridX = g.NGridY = 250;
  g.VValueX = g.VValueY = 1.0f;
}

struct Chart {
  explicit Chart(int width = 300, int height = 300) : canvas(width, height), graph(canvas) {}
  RecordingCanvas canvas;
  TMyGraph graph;
};

TEST(RoundNumber, FormatsAxisLabels) {
  EXPECT_EQ(TMyGraph::_round_number(0.0f), "0");
  EXPECT_EQ(TMyGraph::_round_number(-0.0f), "0");
  EXPECT_EQ(TMyGraph::_round_number(static_cast<float>(0.2f * 3.0)), "0.6");
  EXPECT_EQ(TMyGraph::_round_number(0.6000001f), "0.6");
  EXPECT_EQ(TMyGraph::_round_number(1.29f), "1.3");
  EXPECT_EQ(TMyGraph::_round_number(0.99f), "1");
  EXPECT_EQ(TMyGraph::_round_number(-1.29f), "-1.3");
  EXPECT_EQ(TMyGraph::_round_number(12000.0f), "1.2e+04");
  EXPECT_EQ(TMyGraph::_round_number(50000.0f), "5.0e+04");
  EXPECT_EQ(TMyGraph::_round_number(-0.00002f), "-2.0e-05");
  EXPECT_EQ(TMyGraph::_round_number(0.00005f), "5.0e-05");
  EXPECT_EQ(TMyGraph::_round_number(0.004f), "0");
  EXPECT_EQ(TMyGraph::_round_number(-0.004f), "-0");
  EXPECT_EQ(TMyGraph::_round_number(0.5f), "0.5");
  EXPECT_EQ(TMyGraph::_round_number(2.5f), "2.5");
  EXPECT_EQ(TMyGraph::_round_number(20.0f), "20");
  EXPECT_EQ(TMyGraph::_round_number(1.25f), "1.25");
  EXPECT_EQ(TMyGraph::_round_number(-3.0f), "-3");
  EXPECT_EQ(TMyGraph::_round_number(10000.0f), "10000");
  // float32 0.0001 lies just below 0.0001, so it takes the exponent form.
  EXPECT_EQ(TMyGraph::_round_number(0.0001f), "1.0e-04");
  EXPECT_EQ(TMyGraph::_round_number(0.99999994f), "1");
  EXPECT_EQ(TMyGraph::_round_number(99.999992f), "100");
}

// A small chart whose every operation is checked in order: the white fill,
// each vertical line with its label and minor lines, each horizontal line with
// its label, and the titles.
TEST(DrawWaku, DrawsFrameGridLabelsAndTitlesInOrder) {
  Chart chart(100, 80);
  TMyGraph& g = chart.graph;
  g.OriginX = 20;
  g.OriginY = 60;
  g.WidthX = 50;
  g.HeightY = 40;
  g.NGridX = 2;
  g.NGridY = 1;
  g.SubX = 2;
  g.SubY = 1;
  g.VValueX = 0.5f;
  g.TitleX = "T";
  g.TitleY = "Y";
  chart.canvas.brush = {0x123456, BrushStyle::Clear};
  chart.canvas.pen = {0x00FF00, 3, PenStyle::Dot};
  const FrameDrawing drawing = g.DrawWaku();
  ASSERT_TRUE(drawing);

  const std::vector<std::string> expected = {
      "FillRect 0,0 100,80", "MoveTo 20,60",   "LineTo 20,60 20,20", "TextOut 17,65 0",    "MoveTo 32,60",
      "LineTo 32,60 32,20",  "MoveTo 45,60",   "LineTo 45,60 45,20", "TextOut 36,65 0.5",  "MoveTo 57,60",
      "LineTo 57,60 57,20",  "MoveTo 70,60",   "LineTo 70,60 70,20", "TextOut 67,65 1",    "MoveTo 20,60",
      "LineTo 20,60 70,60",  "TextOut 4,54 0", "MoveTo 20,20",       "LineTo 20,20 70,20", "TextOut -2,14 10",
      "TextOut 42,77 T",  // 60 + 1.4 * 12 = 76.8 is inside the labels' row (65 to 77): below it
      "TextOut 30,4 Y",   // 60 - 40 - 1.3 * 12 = 4.4
  };
  EXPECT_EQ(chart.canvas.Log(), expected);

  const std::vector<DrawOp>& ops = chart.canvas.ops();
  EXPECT_EQ(ops[0].brush, (Brush{kWhite, BrushStyle::Solid}));
  EXPECT_EQ(ops[2].pen, (Pen{kBlack, 2, PenStyle::Solid}));   // left edge
  EXPECT_EQ(ops[5].pen, (Pen{kBlack, 1, PenStyle::Dot}));     // minor line
  EXPECT_EQ(ops[7].pen, (Pen{kBlack, 1, PenStyle::Solid}));   // inner major line
  EXPECT_EQ(ops[12].pen, (Pen{kBlack, 2, PenStyle::Solid}));  // right edge
  EXPECT_EQ(ops[15].pen, (Pen{kBlack, 2, PenStyle::Solid}));  // bottom edge
  EXPECT_EQ(ops[3].brush.colour, kWhite);                     // opaque white labels
  EXPECT_EQ(chart.canvas.pen, (Pen{kBlack, 1, PenStyle::Solid}));
  EXPECT_TRUE(drawing.problems.empty());
}

TEST(DrawWaku, FrameFollowsWholeDivisionsWhileTitleAndRightLabelsFollowNominalWidth) {
  Chart chart(441, 441);
  TMyGraph& g = chart.graph;
  g.OriginX = 50;
  g.OriginY = 390;
  g.WidthX = 360;
  g.HeightY = 360;
  g.NGridX = 7;
  g.LeftScale = false;
  g.SubAxis = false;
  g.TitleX = "周期　[s]";  // three full-width and three half-width: 54 wide
  g.TitleY = "増幅率";     // 36 wide
  ASSERT_TRUE(g.DrawWaku());

  // dx = 51: the frame is 357 wide, from 50 to 407.
  std::vector<DrawOp> lines = chart.canvas.OfKind(Kind::LineTo);
  std::vector<Point> wide;
  for (const DrawOp& op : lines) {
    if (op.pen.width == 2) wide.insert(wide.end(), op.points.begin(), op.points.end());
  }
  EXPECT_EQ(wide, (std::vector<Point>{
                      {50, 390}, {50, 30}, {407, 390}, {407, 30}, {50, 390}, {407, 390}, {50, 30}, {407, 30}}));
  // Right-hand y labels start at OriginX + WidthX + 5, beyond the frame.
  const std::vector<std::string> texts = Matching(chart.canvas, "TextOut 415,");
  EXPECT_EQ(texts, (std::vector<std::string>{"TextOut 415,384 0", "TextOut 415,294 10", "TextOut 415,204 20",
                                             "TextOut 415,114 30", "TextOut 415,24 40"}));
  // The x title is centred on OriginX + 180, below the row of the 9-point
  // labels; the y title ends 5 left of the nominal right edge.
  EXPECT_EQ(Matching(chart.canvas, "TextOut 203,407"), (std::vector<std::string>{"TextOut 203,407 周期　[s]"}));
  EXPECT_EQ(Matching(chart.canvas, "TextOut 369,14"), (std::vector<std::string>{"TextOut 369,14 増幅率"}));
  // The last x label sits on the frame's right edge, not the nominal one.
  EXPECT_EQ(Matching(chart.canvas, "TextOut 401,395"), (std::vector<std::string>{"TextOut 401,395 35"}));
}

TEST(DrawWaku, MinorLinesAreDottedAcrossOrSolidTicks) {
  Chart chart;
  TMyGraph& g = chart.graph;
  g.NGridX = 1;
  g.NGridY = 1;
  g.WidthX = 100;
  g.HeightY = 100;
  g.OriginX = 10;
  g.OriginY = 200;
  g.SubX = 4;
  g.SubY = 3;
  g.SubAxis = false;
  ASSERT_TRUE(g.DrawWaku());
  std::vector<std::string> ticks;
  for (const DrawOp& op : chart.canvas.OfKind(Kind::LineTo)) {
    if (op.pen.width == 1) {
      EXPECT_EQ(op.pen.style, PenStyle::Solid);
      ticks.push_back(op.ToString());
    }
  }
  EXPECT_EQ(ticks, (std::vector<std::string>{"LineTo 35,200 35,193", "LineTo 60,200 60,193", "LineTo 85,200 85,193",
                                             "LineTo 10,167 17,167", "LineTo 10,134 17,134"}));

  chart.canvas.ClearLog();
  g.SubAxis = true;
  ASSERT_TRUE(g.DrawWaku());
  ticks.clear();
  for (const DrawOp& op : chart.canvas.OfKind(Kind::LineTo)) {
    if (op.pen.width == 1) {
      EXPECT_EQ(op.pen.style, PenStyle::Dot);
      ticks.push_back(op.ToString());
    }
  }
  EXPECT_EQ(ticks, (std::vector<std::string>{"LineTo 35,200 35,100", "LineTo 60,200 60,100", "LineTo 85,200 85,100",
                                             "LineTo 10,167 110,167", "LineTo 10,134 110,134"}));

  // 0 and 1 sub-divisions give no minor lines at all.
  for (int sub : {0, 1}) {
    chart.canvas.ClearLog();
    g.SubX = sub;
    g.SubY = sub;
    ASSERT_TRUE(g.DrawWaku());
    EXPECT_EQ(chart.canvas.OfKind(Kind::LineTo).size(), 4u) << sub;
  }
}

TEST(DrawWaku, LogarithmicAxesPlaceMinorLinesAtTwoFourSixEightAndLabelDecades) {
  Chart chart;
  TMyGraph& g = chart.graph;
  g.NGridX = 3;
  g.NGridY = 1;
  g.WidthX = 150;  // dx = 50
  g.HeightY = 100;
  g.OriginX = 40;
  g.OriginY = 200;
  g.LinearX = false;
  g.LinearY = false;
  g.SValueX = 0.1f;
  g.VValueX = 10.0f;
  g.SValueY = 1.0f;
  g.VValueY = 10.0f;
  g.SubX = 0;  // no effect on a logarithmic axis
  ASSERT_TRUE(g.DrawWaku());
  std::vector<std::string> minor;
  for (const DrawOp& op : chart.canvas.OfKind(Kind::LineTo)) {
    if (op.pen.style == PenStyle::Dot) minor.push_back(op.ToString());
  }
  // x: 40 + trunc(log10(2j) * 50) = 55, 70, 78, 85; y: 200 - log10(2j) * 100.
  const std::vector<std::string> expected = {
      "LineTo 55,200 55,100",   "LineTo 70,200 70,100",   "LineTo 78,200 78,100",   "LineTo 85,200 85,100",
      "LineTo 105,200 105,100", "LineTo 120,200 120,100", "LineTo 128,200 128,100", "LineTo 135,200 135,100",
      "LineTo 155,200 155,100", "LineTo 170,200 170,100", "LineTo 178,200 178,100", "LineTo 185,200 185,100",
      "LineTo 40,169 190,169",  "LineTo 40,139 190,139",  "LineTo 40,122 190,122",  "LineTo 40,109 190,109",
  };
  EXPECT_EQ(minor, expected);
  EXPECT_EQ(chart.canvas.Texts(),
            (std::vector<std::string>{"0.1", "1", "10", "100", "1", "10", "TitleX [unit]", "TitleY [unit]"}));

  // Decades 30 pixels apart from 1e-05: the second label would run into the
  // first, which reaches under the lowest y label at the corner. The second
  // is left out and the y label rises clear of the first.
  chart.canvas.ClearLog();
  g.WidthX = 90;
  g.SValueX = 0.00001f;
  ASSERT_TRUE(g.DrawWaku());
  EXPECT_EQ(chart.canvas.Texts(),
            (std::vector<std::string>{"1.0e-05", "0", "0.01", "1", "10", "TitleX [unit]", "TitleY [unit]"}));
  const std::vector<DrawOp> labels = chart.canvas.OfKind(Kind::TextOut);
  EXPECT_EQ(labels[0].ToString(), "TextOut 19,205 1.0e-05");
  EXPECT_EQ(labels[3].ToString(), "TextOut 24,193 1");  // at 194 its cell would reach row 205
  EXPECT_EQ(g.TextBoxes().size(), labels.size());
  EXPECT_EQ(g.TextBoxes()[3], (TextBox{24, 193, 30, 205}));
}

TEST(DrawWaku, LogarithmicAxisStartingAtZeroIsReportedAndAbandoned) {
  Chart chart;
  TMyGraph& g = chart.graph;
  g.LinearX = false;
  g.LinearY = false;
  chart.canvas.pen = {0x0000FF, 3, PenStyle::Dot};
  FrameDrawing drawing = g.DrawWaku();
  EXPECT_FALSE(drawing);
  const std::vector<MessageBox> expected = {
      {"X Logarithmic Scale can not be determind.", "X Scale Error", MessageIcon::None, MessageButtons::Ok},
      {"Y Logarithmic Scale can not be determind.", "Y Scale Error", MessageIcon::None, MessageButtons::Ok},
  };
  EXPECT_EQ(drawing.problems, expected);
  // Only the background; the pen stays as the owner left it.
  EXPECT_EQ(chart.canvas.Log(), (std::vector<std::string>{"FillRect 0,0 300,300"}));
  EXPECT_EQ(chart.canvas.pen, (Pen{0x0000FF, 3, PenStyle::Dot}));

  // One bad axis is enough; the other is not reported.
  chart.canvas.ClearLog();
  g.OverWrite = true;
  g.SValueX = 0.1f;
  drawing = g.DrawWaku();
  EXPECT_FALSE(drawing);
  EXPECT_EQ(drawing.problems, (std::vector<MessageBox>{expected[1]}));
  EXPECT_TRUE(chart.canvas.ops().empty());

  // A linear axis at 0 is fine.
  g.LinearY = true;
  drawing = g.DrawWaku();
  EXPECT_TRUE(drawing);
  EXPECT_TRUE(drawing.problems.empty());
}

TEST(DrawWaku, AxisWithoutDivisionsIsRefusedWithoutDividingByZero) {
  Chart chart;
  TMyGraph& g = chart.graph;
  g.NGridY = 0;
  EXPECT_FALSE(g.DrawWaku());
  EXPECT_EQ(chart.canvas.Log(), (std::vector<std::string>{"FillRect 0,0 300,300"}));
  const float x[] = {1.0f, 2.0f};
  chart.canvas.ClearLog();
  g.DrawGraph(2, x, x);
  g.PlotGraph(2, x, x, 0, 3);
  EXPECT_TRUE(chart.canvas.ops().empty());
  g.YScaleUnit(2, x);
  EXPECT_EQ(g.SValueY, 0.0f);
  EXPECT_EQ(g.VValueY, 10.0f);
  g.NGridY = 4;
  g.NGridX = -1;
  EXPECT_FALSE(g.DrawWaku());
}

TEST(DrawGraph, MapsLinearValuesTruncatingTowardZero) {
  Chart chart;
  TMyGraph& g = chart.graph;  // dx = dy = 62, origin (35, 270)
  g.SValueX = 1.0f;
  g.VValueX = 0.5f;
  g.SValueY = -10.0f;
  g.VValueY = 3.0f;
  const float x[] = {1.0f, 1.3f, 0.3f, 3.0f};
  const float y[] = {-10.0f, 0.0f, 100.0f, -11.0f};
  g.DrawGraph(4, x, y);
  // 1.3: 0.3/0.5*62 + 35 = 72.2; 0.3: -1.4*62 + 35 = -51.8 -> -51;
  // y 0: 270 - 10/3*62 = 63.33; 100: 270 - 110/3*62 = -2003.3 -> -2003;
  // 3: 4*62 + 35 = 283; -11: 270 + 1/3*62 = 290.67.
  EXPECT_EQ(chart.canvas.Log(), (std::vector<std::string>{"MoveTo 35,270", "LineTo 35,270 72,63",
                                                          "LineTo 72,63 -51,-2003", "LineTo -51,-2003 283,290"}));
}

TEST(DrawGraph, JoinsAcrossPointsALogAxisCannotShowButBreaksAtMissingValues) {
  Chart chart;
  TMyGraph& g = chart.graph;
  g.LinearX = false;
  g.SValueX = 0.1f;
  g.VValueX = 10.0f;
  g.LinearY = false;
  g.SValueY = 1.0f;
  g.VValueY = 10.0f;
  const float x[] = {0.0f, 1.0f, -1.0f, 10.0f, 100.0f, 1.0f};
  const float y[] = {10.0f, 10.0f, 10.0f, 0.0f, 100.0f, 1.0f};
  g.DrawGraph(6, x, y);
  // float32 0.1 lies just above 0.1, so 1 / 0.1f is a little below 10 and
  // log10 a little below 1: the pixel truncates to 35 + 61.
  EXPECT_EQ(chart.canvas.Log(),
            (std::vector<std::string>{"MoveTo 96,208", "LineTo 96,208 220,146", "LineTo 220,146 96,270"}));

  chart.canvas.ClearLog();
  g.LinearX = g.LinearY = true;
  g.SValueX = g.SValueY = 0.0f;
  g.VValueX = 5.0f;
  const float lx[] = {0.0f, 5.0f, 10.0f, 15.0f, 20.0f, 25.0f};
  const float ly[] = {0.0f, kNoValue, 10.0f, 20.0f, kNoValue, kNoValue};
  g.DrawGraph(6, lx, ly);
  // The point after a missing value starts a new piece of the curve.
  EXPECT_EQ(chart.canvas.Log(),
            (std::vector<std::string>{"MoveTo 35,270", "MoveTo 159,208", "LineTo 159,208 221,146"}));

  chart.canvas.ClearLog();
  const float gx[] = {kNoValue, 5.0f};
  g.DrawGraph(2, gx, lx);
  EXPECT_EQ(chart.canvas.Log(), (std::vector<std::string>{"MoveTo 97,239"}));
}

TEST(PlotGraph, DrawsTheSixMarksWithPenAndBrush) {
  Chart chart;
  TMyGraph& g = chart.graph;
  UnitPixels(g);
  const float x[] = {100.0f};
  const float y[] = {70.0f};  // pixel (135, 200)
  const std::vector<std::vector<std::string>> expected = {
      {"Ellipse 132,197 138,203"},
      {"Polygon 135,197 132,201 138,201", "MoveTo 135,197", "LineTo 135,197 132,201", "LineTo 132,201 138,201",
       "LineTo 138,201 135,197"},
      {"FillRect 132,197 138,203", "MoveTo 132,197", "LineTo 132,197 132,203", "LineTo 132,203 138,203",
       "LineTo 138,203 138,197", "LineTo 138,197 132,197"},
      {"Polygon 135,197 132,200 135,203 138,200", "MoveTo 135,197", "LineTo 135,197 132,200", "LineTo 132,200 135,203",
       "LineTo 135,203 138,200", "LineTo 138,200 135,197"},
      {"MoveTo 132,197", "LineTo 132,197 138,203", "MoveTo 138,197", "LineTo 138,197 132,203"},
      {"MoveTo 135,197", "LineTo 135,197 135,203", "MoveTo 138,200", "LineTo 138,200 132,200"},
      {},
  };
  for (int mark = 0; mark <= 6; ++mark) {
    chart.canvas.ClearLog();
    chart.canvas.pen = {0x0000FF, 2, PenStyle::Solid};
    chart.canvas.brush = {0x00FF00, BrushStyle::Solid};
    g.PlotGraph(1, x, y, mark, 3);
    EXPECT_EQ(chart.canvas.Log(), expected[mark]) << "mark " << mark;
    for (const DrawOp& op : chart.canvas.ops()) {
      EXPECT_EQ(op.pen, (Pen{0x0000FF, 2, PenStyle::Solid}));
      EXPECT_EQ(op.brush, (Brush{0x00FF00, BrushStyle::Solid}));
    }
  }
  // An odd size: the triangle's base is at trunc(py + 2.5).
  chart.canvas.ClearLog();
  g.PlotGraph(1, x, y, 1, 5);
  EXPECT_EQ(chart.canvas.ops()[0].ToString(), "Polygon 135,195 130,202 140,202");
}

TEST(PlotGraph, StopsAtTheFirstPointBeyondTheRightEdgeAndSkipsWhatALogAxisCannotShow) {
  Chart chart;
  TMyGraph& g = chart.graph;  // right edge OriginX + WidthX = 285
  UnitPixels(g);
  const float x[] = {10.0f, 250.0f, 251.0f, 20.0f};  // pixels 45, 285, 286, 55
  const float y[] = {0.0f, 0.0f, 0.0f, 0.0f};
  g.PlotGraph(4, x, y, 4, 1);
  EXPECT_EQ(Matching(chart.canvas, "MoveTo"),
            (std::vector<std::string>{"MoveTo 44,269", "MoveTo 46,269", "MoveTo 284,269", "MoveTo 286,269"}));

  chart.canvas.ClearLog();
  g.LinearY = false;
  g.SValueY = 1.0f;
  g.VValueY = 10.0f;
  g.NGridY = 1;
  g.HeightY = 100;
  const float ly[] = {0.0f, -1.0f, 10.0f, 10.0f};
  const float lx[] = {10.0f, 20.0f, 30.0f, kNoValue};
  g.PlotGraph(4, lx, ly, 0, 2);
  EXPECT_EQ(chart.canvas.Log(), (std::vector<std::string>{"Ellipse 63,168 67,172"}));
}

TEST(ScaleUnit, LinearAxisTakesTheFirstStepThatCoversTheMaximum) {
  Chart chart;
  TMyGraph& g = chart.graph;
  g.NGridX = 5;
  g.SValueX = 3.0f;
  const float a[] = {0.3f, 4.2f};
  g.XScaleUnit(2, a);
  EXPECT_EQ(g.SValueX, 0.0f);
  EXPECT_EQ(g.VValueX, 0.99999994f);
  g.DrawWaku();
  EXPECT_EQ(chart.canvas.Texts(), (std::vector<std::string>{"0", "1", "2", "3", "4", "5", "0", "10", "20", "30", "40",
                                                            "TitleX [unit]", "TitleY [unit]"}));

  g.NGridX = 4;
  const float b[] = {0.7f};
  g.XScaleUnit(1, b);
  EXPECT_EQ(g.VValueX, 0.199999988f);  // 2 x the float32 unit 0.099999994

  const float negative[] = {-5.0f, 0.0f, kNoValue};
  g.XScaleUnit(3, negative);
  EXPECT_EQ(g.VValueX, 1e-10f);
  g.XScaleUnit(0, nullptr);
  EXPECT_EQ(g.VValueX, 1e-10f);

  // A maximum on the top grid line keeps that scale: 5 with 5 divisions.
  g.NGridY = 5;
  const float five[] = {5.0f};
  g.YScaleUnit(1, five);
  EXPECT_EQ(g.SValueY, 0.0f);
  EXPECT_EQ(g.VValueY, 0.99999994f);
  EXPECT_EQ(g.VValueX, 1e-10f);  // the other axis is untouched
  EXPECT_EQ(g.NGridY, 5);
  EXPECT_TRUE(g.LinearY);
}

TEST(ScaleUnit, LogarithmicAxisEndsAtTheFirstPowerOfTenAboveTheMaximum) {
  Chart chart;
  TMyGraph& g = chart.graph;
  g.LinearY = false;
  g.NGridY = 3;
  const float a[] = {37.0f, 2.0f};
  g.YScaleUnit(2, a);
  EXPECT_EQ(g.SValueY, 0.099999994f);  // the float32 unit 99.99999 over 1000
  EXPECT_EQ(g.VValueY, 10.0f);
  const float hundred[] = {100.0f};
  g.YScaleUnit(1, hundred);
  EXPECT_EQ(g.SValueY, 0.99999994f);
  g.NGridX = 1;
  g.SubY = 0;
  ASSERT_TRUE(g.DrawWaku());
  std::vector<std::string> texts = chart.canvas.Texts();
  EXPECT_EQ(std::vector<std::string>(texts.begin() + 2, texts.begin() + 6),
            (std::vector<std::string>{"1", "10", "100", "1000"}));
}

TEST(ScaleUnit, InfiniteMaximumKeepsTheOldScale) {
  Chart chart;
  TMyGraph& g = chart.graph;
  const float inf[] = {1.0f, std::numeric_limits<float>::infinity()};
  g.XScaleUnit(2, inf);
  EXPECT_EQ(g.SValueX, 0.0f);
  EXPECT_EQ(g.VValueX, 5.0f);
  g.LinearX = false;
  g.SValueX = 0.5f;
  g.XScaleUnit(2, inf);
  EXPECT_EQ(g.SValueX, 0.5f);
  EXPECT_EQ(g.VValueX, 5.0f);
  // The largest float needs a step beyond the float range on one division.
  g.LinearX = true;
  g.NGridX = 1;
  const float largest[] = {std::numeric_limits<float>::max()};
  g.XScaleUnit(1, largest);
  EXPECT_EQ(g.SValueX, 0.5f);
  EXPECT_EQ(g.VValueX, 5.0f);
}

TEST(MyGraph, ClearFillsTheWholePictureAndCopyHandsItToTheClipboard) {
  RecordingCanvas canvas(441, 209);
  FakeClipboard clipboard;
  TMyGraph g(canvas, &clipboard);
  EXPECT_EQ(g.Width(), 441);
  EXPECT_EQ(g.Height(), 209);
  canvas.brush = {kWhite, BrushStyle::Clear};
  g.Clear(0x00C0FF);
  ASSERT_EQ(canvas.Log(), (std::vector<std::string>{"FillRect 0,0 441,209"}));
  EXPECT_EQ(canvas.ops()[0].brush, (Brush{0x00C0FF, BrushStyle::Solid}));
  EXPECT_TRUE(g.Copy());
  EXPECT_EQ(clipboard.pictures, (std::vector<const Canvas*>{&canvas}));

  TMyGraph unattached(canvas);
  EXPECT_FALSE(unattached.Copy());
}

}  // namespace
