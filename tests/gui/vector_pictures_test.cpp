// The chart and the stratum diagram as SVG and PDF: the same drawing with
// the texts kept as text, the Japanese font embedded in the PDF.
#include <gtest/gtest.h>

#include <QString>
#include <QXmlStreamReader>

#include <sys/mount.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "TestProfiles.h"
#include "analysis/Analysis.h"
#include "graphics/qt/PictureExport.h"
#include "platform/MessageBox.h"

namespace {

struct Site {
  Site() {
    profile = MakeProfile({{2, 1.8f, 140}, {6, 1.6f, 110}}, 2.1f, 500, "臨海地点Ｄ");
    settings.displayLayers[0] = settings.displayLayers[1] = true;
    result.pointCount = 200;
    AnalysisOutcome outcome = Analyse(profile, settings, result);
    result = std::move(outcome.result);
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
  ASSERT_EQ(SaveChartPicture(folder / "chart.pdf", {site.profile, site.result, site.settings}, PictureFormat::Pdf), "");
  ASSERT_EQ(SaveStratumPicture(folder / "diagram.pdf", site.profile, kDefaultLayerColours, true, PictureFormat::Pdf),
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

// Every format on a disk that fills up: the old picture stays byte for byte
// and a new one leaves nothing behind. (The batch's own test covers a
// file-size limit where no file system can be mounted.)
TEST(VectorPictures, AFullDiskKeepsTheOldPictureInEveryFormat) {
  TempFolder folder;
  const std::string disk = folder / "disk";
  std::filesystem::create_directory(disk);
  if (geteuid() != 0 || mount("tovalk-test", disk.c_str(), "tmpfs", 0, "size=192k") != 0) {
    GTEST_SKIP() << "no small file system can be mounted here";
  }
  struct Unmount {
    std::string path;
    ~Unmount() { umount2(path.c_str(), MNT_DETACH); }
  } unmount{disk};
  const Site site;
  for (const PictureFormat format : {PictureFormat::Png, PictureFormat::Svg, PictureFormat::Pdf}) {
    const std::string old = disk + "/old." + PictureFormatName(format);
    const std::string fresh = disk + "/fresh." + PictureFormatName(format);
    std::ofstream(old, std::ios::binary) << "old picture";
    {
      std::ofstream filler(disk + "/filler", std::ios::binary);
      const std::string block(4096, 'x');
      while (filler.write(block.data(), block.size())) {
      }
    }
    const ChartPictureSources sources{site.profile, site.result, site.settings};
    EXPECT_EQ(SaveChartPicture(old, sources, format), "'" + old + "' に画像を保存できません");
    EXPECT_EQ(SaveChartPicture(fresh, sources, format), "'" + fresh + "' に画像を保存できません");
    std::filesystem::remove(disk + "/filler");
    EXPECT_EQ(TempFolder::Read(old), "old picture");
    size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(disk)) ++entries;
    EXPECT_EQ(entries, 1u) << PictureFormatName(format);
    std::filesystem::remove(old);
  }
}

}  // namespace
