// The chart and the stratum diagram as SVG and PDF: the same drawing with
// the texts kept as text, the Japanese font embedded in the PDF.
#include <gtest/gtest.h>

#include <QString>
#include <QXmlStreamReader>

#include <cstdio>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "TestProfiles.h"
#include "analysis/AnalysisDriver.h"
#include "analysis/HeadlessWindows.h"
#include "graphics/qt/PictureExport.h"
#include "platform/MessageBox.h"

namespace {

struct Site {
  Site() {
    profile = MakeProfile({{2, 1.8f, 140}, {6, 1.6f, 110}}, 2.1f, 500, "臨海地点Ｄ");
    settings.displayLayers[0] = settings.displayLayers[1] = true;
    result.pointCount = 200;
    HeadlessWindows windows;
    class Quiet : public MessagePort {
      MessageResult Show(const MessageBox&) override { return MessageResult::Ok; }
    } quiet;
    AnalysisDriver(profile, result, settings, windows, quiet).BtnAmplitudeClick();
  }
  SoilProfile profile;
  AmplificationResult result;
  AnalysisSettings settings;
};

struct SvgContent {
  QString width, height, viewBox;
  std::vector<std::string> texts;
};

SvgContent ParseSvg(const std::string& bytes) {
  SvgContent svg;
  QXmlStreamReader xml(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == QStringLiteral("svg")) {
      svg.width = xml.attributes().value("width").toString();
      svg.height = xml.attributes().value("height").toString();
      svg.viewBox = xml.attributes().value("viewBox").toString();
    } else if (xml.name() == QStringLiteral("text")) {
      svg.texts.push_back(xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed().toStdString());
    }
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  return svg;
}

// The generator splits a text where its script changes; a viewer's search
// sees the runs one after another.
bool Has(const std::vector<std::string>& texts, const std::string& text) {
  std::string all;
  for (const std::string& t : texts) all += t + "|";
  return all.find(text) != std::string::npos;
}

std::string Command(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return output;
  char buffer[4096];
  for (size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, got);
  pclose(pipe);
  return output;
}

TEST(VectorPictures, SvgIsWellFormedXmlOfThePictureSizeWithItsTexts) {
  const Site site;
  std::string chart, diagram;
  ASSERT_EQ(EncodeChartPicture({site.profile, site.result, site.settings}, PictureFormat::Svg, chart), "");
  ASSERT_EQ(EncodeStratumPicture(site.profile, PictureFormat::Svg, diagram), "");

  const SvgContent c = ParseSvg(chart);
  EXPECT_EQ(c.viewBox, "0 0 441 441");
  EXPECT_TRUE(Has(c.texts, "増幅率")) << chart.substr(0, 2000);
  EXPECT_TRUE(Has(c.texts, "臨海地点"));
  EXPECT_TRUE(Has(c.texts, "|20|"));
  
  const SvgContent d = ParseSvg(diagram);
  EXPECT_EQ(d.viewBox, "0 0 233 441");
  EXPECT_TRUE(Has(d.texts, "波速度"));
  EXPECT_TRUE(Has(d.texts, "|500|"));
}

TEST(VectorPictures, PdfTextsAreExtractableAndTheFontIsEmbedded) {
  const Site site;
  TempFolder folder;
  ASSERT_EQ(SaveChartPicture(folder / "chart.pdf", {site.profile, site.result, site.settings}, PictureFormat::Pdf),
            "");
  ASSERT_EQ(SaveStratumPicture(folder / "diagram.pdf", site.profile, kDefaultLayerColours, true,
                               PictureFormat::Pdf),
            "");
  const std::string chartText = Command("pdftotext '" + (folder / "chart.pdf") + "' -");
  EXPECT_NE(chartText.find("増幅率"), std::string::npos) << chartText;
  EXPECT_NE(chartText.find("臨海地点Ｄ"), std::string::npos) << chartText;
  EXPECT_NE(Command("pdftotext '" + (folder / "diagram.pdf") + "' -").find("Ｓ波速度"), std::string::npos);

  // One page of 441 x 441 pixels at 96 dpi: 330.75 points, which the page
  // sizes of the toolkit round to whole points.
  const std::string info = Command("pdfinfo -box '" + (folder / "chart.pdf") + "'");
  EXPECT_NE(info.find("Pages:           1"), std::string::npos) << info;
  EXPECT_NE(info.find("0.00     0.00   331.00   331.00"), std::string::npos) << info;
  const std::string fonts = Command("pdffonts '" + (folder / "chart.pdf") + "'");
  EXPECT_NE(fonts.find("IPA"), std::string::npos) << fonts;
  EXPECT_NE(fonts.find(" yes "), std::string::npos) << fonts;  // embedded
}

}  // namespace
