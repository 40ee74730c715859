// The chart and the stratum diagram rendered by the Qt canvas and saved as
// PNG, checked pixel by pixel after reading the files back.
#include "FilePortsFake.h"
#include "TestProfiles.h"
#include "graphics/qt/PictureExport.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QRgb>

#include <filesystem>
#include <string>
#include <vector>

#include "analysis/Analysis.h"
#include "RecordingCanvas.h"

namespace {

namespace fs = std::filesystem;

// A profile and its analysis with the default settings, every layer shown.
struct AnalysedSite {
  AnalysedSite(const std::string& site, const std::vector<LayerValues>& layers, float baseDensity, float baseVs) {
    profile = MakeProfile(layers, baseDensity, baseVs, site);
    for (size_t i = 0; i < layers.size(); ++i) settings.displayLayers[i] = true;
    result.pointCount = 400;
    AnalysisOutcome outcome = Analyse(profile, settings, result);
    result = std::move(outcome.result);
  }
  ChartPictureSources Sources() const { return {profile, result, settings}; }

  SoilProfile profile;
  AmplificationResult result;
  AnalysisSettings settings;
};

AnalysedSite ThreeLayers() {
  return AnalysedSite("湾岸地点Ｂ", {{2, 1.8f, 140}, {6, 1.6f, 110}, {8, 1.8f, 180}}, 2.1f, 500);
}

AnalysedSite TwentyLayers() {
  const std::vector<LayerValues> layers = {
      {1.5f, 1.60f, 95},  {2.0f, 1.55f, 105}, {2.5f, 1.55f, 110}, {3.0f, 1.60f, 120}, {3.0f, 1.60f, 130},
      {3.0f, 1.65f, 140}, {3.5f, 1.65f, 150}, {3.5f, 1.70f, 160}, {4.0f, 1.70f, 175}, {4.0f, 1.75f, 190},
      {4.0f, 1.75f, 200}, {4.5f, 1.80f, 215}, {4.5f, 1.80f, 230}, {5.0f, 1.85f, 250}, {5.0f, 1.85f, 270},
      {5.0f, 1.90f, 290}, {5.5f, 1.90f, 320}, {5.5f, 1.95f, 350}, {6.0f, 1.95f, 390}, {6.0f, 2.00f, 430}};
  return AnalysedSite("沖積平野Ｃ", layers, 2.2f, 700);
}

// Pictures go beside the test program, inside the build folder.
std::string PicturePath(const std::string& name) {
  const fs::path folder = fs::read_symlink("/proc/self/exe").parent_path() / "pictures";
  fs::create_directories(folder);
  return (folder / name).string();
}

QImage Saved(const std::string& path) {
  QImage image(QString::fromStdString(path));
  EXPECT_FALSE(image.isNull()) << path;
  return image;
}

QRgb Rgb(Colour c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
const QRgb kWhiteRgb = qRgb(255, 255, 255);
const QRgb kBlackRgb = qRgb(0, 0, 0);

// End points of the curve segments drawn in the colour, well inside the frame
// and clear of the legend, the inset and the captions, from the same chart
// drawn on the recording canvas.
std::vector<Point> CurvePoints(const ChartPictureSources& sources, Colour colour) {
  RecordingCanvas canvas(kChartPictureWidth, kChartPictureHeight);
  EXPECT_EQ(RenderChartPicture(canvas, sources), "");
  std::vector<Point> points;
  for (const DrawOp& op : canvas.OfKind(DrawOp::Kind::LineTo)) {
    const Point p = op.points[1];
    if (op.pen.colour == colour && op.pen.width == 2 && p.x > 60 && p.x < 190 && p.y > 100 && p.y < 380) {
      points.push_back(p);
    }
  }
  return points;
}

TEST(Pictures, ThreeLayerChartAndDiagram) {
  const AnalysedSite site = ThreeLayers();
  ASSERT_TRUE(site.result.complete);

  const std::string chartPath = PicturePath("chart-3layers.png");
  ASSERT_EQ(SaveChartPicture(chartPath, site.Sources()), "");
  const QImage chart = Saved(chartPath);
  ASSERT_EQ(chart.size(), QSize(441, 441));
  // The last curve drawn, layer 3's, is green at its vertices.
  const std::vector<Point> points = CurvePoints(site.Sources(), 0x008000);
  ASSERT_GT(points.size(), 10u);
  for (const Point& p : points) EXPECT_EQ(chart.pixel(p.x, p.y), Rgb(0x008000)) << p.x << "," << p.y;
  EXPECT_EQ(chart.pixel(0, 0), kWhiteRgb);
  // The frame's 2-pixel left edge and bottom edge.
  EXPECT_EQ(chart.pixel(49, 200), kBlackRgb);
  EXPECT_EQ(chart.pixel(50, 200), kBlackRgb);
  EXPECT_EQ(chart.pixel(300, 390), kBlackRgb);
  // The legend line of layer 1 (red) in the blank lead of its text.
  EXPECT_EQ(chart.pixel(220, 50), Rgb(0x0000FF));
  EXPECT_EQ(chart.pixel(220, 68), Rgb(0xFF0000));

  const std::string diagramPath = PicturePath("stratum-3layers.png");
  ASSERT_EQ(SaveStratumPicture(diagramPath, site.profile), "");
  const QImage diagram = Saved(diagramPath);
  ASSERT_EQ(diagram.size(), QSize(233, 441));
  // Layer 1 (2 m, 140 m/s): rows 60 … 89, columns 45 … 100, red fill.
  EXPECT_EQ(diagram.pixel(48, 62), Rgb(0x0000FF));
  EXPECT_EQ(diagram.pixel(99, 88), Rgb(0x0000FF));
  EXPECT_EQ(diagram.pixel(101, 75), kWhiteRgb);  // right of the bar
  // Layer 2 (blue) and 3 (green).
  EXPECT_EQ(diagram.pixel(48, 100), Rgb(0xFF0000));
  EXPECT_EQ(diagram.pixel(48, 250), Rgb(0x008000));
  // Base band from y 300 to 360: hatch lines on rows 3 mod 8 and columns
  // 4 mod 8, white between them.
  EXPECT_EQ(diagram.pixel(62, 307), kBlackRgb);
  EXPECT_EQ(diagram.pixel(62, 315), kBlackRgb);
  EXPECT_EQ(diagram.pixel(68, 305), kBlackRgb);
  EXPECT_EQ(diagram.pixel(62, 305), kWhiteRgb);
  EXPECT_EQ(diagram.pixel(70, 345), kWhiteRgb);
  EXPECT_EQ(diagram.pixel(68, 365), kWhiteRgb);  // below the band: no hatch
}

TEST(Pictures, TwentyLayerChartAndDiagrams) {
  const AnalysedSite site = TwentyLayers();
  ASSERT_TRUE(site.result.complete);

  const std::string chartPath = PicturePath("chart-20layers.png");
  ASSERT_EQ(SaveChartPicture(chartPath, site.Sources()), "");
  const QImage chart = Saved(chartPath);
  // Twenty rows 18 pixels apart would reach the x labels at y 395: they are
  // 17 apart, the last (layer 20) at y 44 + 17·19 = 367, its line at 373;
  // below the frame the white picture.
  EXPECT_EQ(chart.pixel(220, 373), Rgb(0xC080FF));
  EXPECT_EQ(chart.pixel(220, 392), kWhiteRgb);

  const std::string diagramPath = PicturePath("stratum-20layers.png");
  ASSERT_EQ(SaveStratumPicture(diagramPath, site.profile), "");
  const QImage diagram = Saved(diagramPath);
  // 81 m on a 100 m axis of 5 × 60 pixels: layer 1 (1.5 m) takes rows
  // 60 … 63, layer 20 rows 285 … 302, the base band 303 … 359.
  EXPECT_EQ(diagram.pixel(48, 62), Rgb(0x0000FF));
  EXPECT_EQ(diagram.pixel(48, 289), Rgb(0xC080FF));
  EXPECT_EQ(diagram.pixel(62, 307), kBlackRgb);
  EXPECT_EQ(diagram.pixel(62, 305), kWhiteRgb);

  const std::string singlePath = PicturePath("stratum-20layers-single.png");
  ASSERT_EQ(SaveStratumPicture(singlePath, site.profile, kDefaultLayerColours, false), "");
  const QImage single = Saved(singlePath);
  EXPECT_EQ(single.pixel(48, 62), Rgb(0xFBF7F3));
  EXPECT_EQ(single.pixel(48, 289), Rgb(0xAF5F0F));  // layer 20, the darkest shade
}

TEST(Pictures, FailuresAreReportedNotSaved) {
  AnalysedSite site = ThreeLayers();
  site.settings.displayLayers = {};
  const std::string path = PicturePath("never-written.png");
  fs::remove(path);
  EXPECT_EQ(SaveChartPicture(path, site.Sources()), "増幅特性を表示する層番号が指定されておりません");
  EXPECT_FALSE(fs::exists(path));

  site.settings.displayLayers[0] = true;
  site.settings.xUpper = "五";
  EXPECT_EQ(SaveChartPicture(path, site.Sources()), "'五' は浮動小数点数ではありません");
  EXPECT_FALSE(fs::exists(path));

  // A folder that does not exist: the reason names the file.
  const std::string missingFolder = PicturePath("no-such-folder/chart.png");
  site.settings.xUpper = std::string("5");  // GCC 12 warns (-Wrestrict) falsely on assigning the literal
  EXPECT_EQ(SaveChartPicture(missingFolder, site.Sources()), "'" + missingFolder + "' に画像を保存できません");
}

}  // namespace
