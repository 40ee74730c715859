#include "app/BatchRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <sstream>

#include "FakeWindows.h"
#include "FilePortsFake.h"
#include "BatchRunner.h"
#include "TempFolder.h"
#include "analysis/Analysis.h"
#include "analysis/ResultFile.h"
#include "app/Workspace.h"
#include "platform/Conversion.h"
#include "platform/Cp932.h"
#include "profile/ProfileFiles.h"
#include "windows/SettingsFile.h"
#include "graphics/ChartSettings.h"
#include "windows/SettingsRules.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> Lines(const std::string& cp932) {
  std::vector<std::string> lines;
  std::istringstream in(Cp932ToUtf8(cp932).value());
  for (std::string line; std::getline(in, line);) lines.push_back(line.substr(0, line.size() - 1));
  return lines;
}

TEST(BatchArguments, EveryOptionInBothSpellings) {
  std::string error;
  const auto o = ParseBatchArguments({"--method",
                                      "lumped",
                                      "--damping=viscous",
                                      "--ratio",
                                      "0.03",
                                      "--x",
                                      "frequency",
                                      "--x-scale=log",
                                      "--x-lower",
                                      "0.1",
                                      "--x-upper",
                                      "20",
                                      "--points",
                                      "100",
                                      "--y-scale",
                                      "log",
                                      "--y-lower",
                                      "0.5",
                                      "--y-upper",
                                      "50",
                                      "--layers",
                                      "1,3,20",
                                      "--settings",
                                      "s.ini",
                                      "--output-dir",
                                      "out",
                                      "a.csv",
                                      "--",
                                      "-odd.csv"},
                                     error);
  ASSERT_TRUE(o) << error;
  EXPECT_EQ(o->inputs, (std::vector<std::string>{"a.csv", "-odd.csv"}));
  AnalysisSettings s;
  ApplyBatchOverrides(*o, s);
  EXPECT_EQ(s.method, AnalysisMethod::LumpedMass);
  EXPECT_EQ(s.dampingForm, DampingForm::Viscous);
  EXPECT_EQ(s.dampingText, "0.03");
  EXPECT_EQ(s.xQuantity, XQuantity::Frequency);
  EXPECT_EQ(s.xScale, ScaleKind::Logarithmic);
  EXPECT_EQ(s.xLower, "0.1");
  EXPECT_EQ(s.xUpper, "20");
  EXPECT_EQ(s.pointChoice, PointChoice::Points100);
  EXPECT_EQ(s.yScale, ScaleKind::Logarithmic);
  EXPECT_EQ(s.yLower, "0.5");
  EXPECT_EQ(s.yUpper, "50");
  std::array<bool, kMaxLayers> layers{};
  layers[0] = layers[2] = layers[19] = true;
  EXPECT_EQ(s.displayLayers, layers);
  EXPECT_EQ(o->settingsFile, "s.ini");
  EXPECT_EQ(o->outputDir, "out");

  // Options not given leave the settings alone.
  AnalysisSettings untouched;
  ApplyBatchOverrides(*ParseBatchArguments({"a.csv"}, error), untouched);
  EXPECT_EQ(untouched, AnalysisSettings{});
}

TEST(BatchArguments, MistakesAreNamed) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--method", "fast", "a.csv"}, "bad value 'fast' for --method"},
      {{"--points", "300", "a.csv"}, "bad value '300' for --points"},
      {{"--charts", "a.csv"}, "unknown option --charts"},
      {{"a.csv", "--ratio"}, "missing value for --ratio"},
      {{"--layers", "0,3", "a.csv"}, "bad value '0,3' for --layers (all, or layer numbers 1 to 20 such as 1,3,5)"},
      {{"--layers", "1,,3", "a.csv"}, "bad value '1,,3' for --layers (all, or layer numbers 1 to 20 such as 1,3,5)"},
      {{"--method", "lumped"}, "no profile file given"},
  };
  for (const auto& [args, expected] : cases) {
    std::string error;
    EXPECT_FALSE(ParseBatchArguments(args, error));
    EXPECT_EQ(error, expected);
  }
  TempFolder folder;
  const BatchRunOutput run = Batch({"--bogus", "x.csv"}, folder.path().string());
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err.substr(0, run.err.find('\n')), "tovalk-batch: unknown option --bogus");

  const BatchRunOutput version = Batch({"--version"}, folder.path().string());
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "tovalk-batch 1.0\n");
  EXPECT_EQ(version.err, "");
  // A picture format with no picture asked for is said, and changes nothing else.
  const std::string input = folder.Write("p.csv", TempFolder::Read(kExamples + "single-layer.csv"));
  const BatchRunOutput format = Batch({"--chart-format", "svg", input}, folder.path().string());
  EXPECT_EQ(format.status, 0);
  EXPECT_EQ(format.err, "tovalk-batch: --chart-format has no effect without --chart or --diagram\n");
  EXPECT_EQ(format.out, (folder / "p-result.csv") + "\n");
}

TEST(BatchOutputPath, StemResultBesideTheInputOrInTheOutputFolder) {
  EXPECT_EQ(BatchOutputPath("dir/a.csv", std::nullopt), "dir/a-result.csv");
  EXPECT_EQ(BatchOutputPath("a.csv", std::nullopt), "a-result.csv");
  EXPECT_EQ(BatchOutputPath("/d.x/a.b.csv", std::nullopt), "/d.x/a.b-result.csv");
  EXPECT_EQ(BatchOutputPath("dir/noext", std::string("out")), "out/noext-result.csv");
  EXPECT_EQ(BatchOutputPath("dir/a.csv", std::string("out/")), "out/a-result.csv");
}

// The desktop program's own controllers on fake windows: the settings typed
// into the settings window, the file read by "実 行" (which then applies the
// settings, "設定", and analyses), and "保 存". The batch must write the same
// bytes.
std::string DesktopResultFile(const std::string& input, const std::function<void(AnalysisSettings&)>& typeSettings,
                              const fs::path& saveAs) {
  Program p{fs::path(saveAs).parent_path().string()};
  typeSettings(p.settings.settings());
  p.mainView.radio = kItemLoad;
  p.dialogs.AnswerOpen(FileDialogAnswer{input, kAllFilesFilter});
  p.main.Button2Click();
  p.dialogs.AnswerSave(FileDialogAnswer{saveAs.string(), kAllFilesFilter});
  p.main.Button8Click();
  EXPECT_TRUE(p.messages.shown.empty()) << p.messages.shown.front().text;
  return TempFolder::Read(saveAs);
}

TEST(BatchRun, WritesWhatTheDesktopSaveWrites) {
  TempFolder folder;
  const BatchRunOutput run =
      Batch({"--method", "lumped", "--damping", "viscous", "--ratio", "0.03", "--x", "frequency", "--x-lower", "0.1",
             "--x-upper", "20", "--points", "100", "--output-dir", folder / "out", kExamples + "five-layers.csv"},
            folder.path().string());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, (folder / "out/five-layers-result.csv") + "\n");

  const std::string desktop = DesktopResultFile(
      kExamples + "five-layers.csv",
      [](AnalysisSettings& s) {
        s.method = AnalysisMethod::LumpedMass;
        s.dampingForm = DampingForm::Viscous;
        s.dampingText = "0.03";
        s.xQuantity = XQuantity::Frequency;
        s.xLower = "0.1";
        s.xUpper = "20";
        s.pointChoice = PointChoice::Points100;
      },
      folder / "desktop.csv");
  const std::string batch = TempFolder::Read(folder / "out/five-layers-result.csv");
  EXPECT_EQ(batch, desktop);
  const std::vector<std::string> lines = Lines(batch);
  ASSERT_EQ(lines.size(), 5u + 8u + 100u);
  EXPECT_EQ(lines[9], "解析法,等価質点系解析");
  EXPECT_EQ(lines[10], "粘性型減衰,減衰比,  0.030");
  EXPECT_EQ(lines[13].substr(0, 22), "   1,   0.100,  10.000");
}

TEST(BatchRun, WritesWhatTheDesktopSaveWritesForEveryExampleAt400Points) {
  TempFolder folder;
  const std::vector<std::string> examples = {"single-layer", "five-layers", "twenty-layers", "velocity-inversion"};
  std::vector<std::string> args = {"--method",  "transfer", "--x",          "frequency",   "--x-scale", "log",
                                   "--x-lower", "0.1",      "--x-upper",    "20",          "--points",  "400",
                                   "--layers",  "all",      "--output-dir", folder / "out"};
  for (const std::string& name : examples) args.push_back(kExamples + name + ".csv");
  const BatchRunOutput run = Batch(args, folder.path().string());
  ASSERT_EQ(run.status, 0) << run.err;
  for (const std::string& name : examples) {
    const std::string desktop = DesktopResultFile(
        kExamples + name + ".csv",
        [](AnalysisSettings& s) {
          s.xQuantity = XQuantity::Frequency;
          s.xScale = ScaleKind::Logarithmic;
          s.xLower = "0.1";
          s.xUpper = "20";
          s.pointChoice = PointChoice::Points400;
          s.displayLayers.fill(true);
        },
        folder / (name + "-desktop.csv"));
    const std::string batch = TempFolder::Read(folder / ("out/" + name + "-result.csv"));
    EXPECT_EQ(batch, desktop) << name;
    const std::vector<std::string> lines = Lines(batch);
    const size_t n = std::stoul(lines.at(1).substr(lines.at(1).find(',') + 1));
    EXPECT_EQ(lines.size(), n + 8u + 400u) << name;
  }
}

TEST(BatchRun, ABadFileIsReportedAndSkippedWhileTheOthersRun) {
  TempFolder folder;
  const std::string count = folder.Write("count.csv", Sjis("サイト名,X\r\n層数,25\r\nh\r\n"));
  const std::string number =
      folder.Write("number.csv", Sjis("サイト名,X\r\n層数,1\r\nh\r\n1,2,abc,100\r\n,,2,400\r\n"));
  const std::string good = folder.Write("good.csv", TempFolder::Read(kExamples + "single-layer.csv"));
  const std::string missing = folder / "missing.csv";
  // The typing mistakes that would otherwise end in a floating-point fault.
  const std::string head = Sjis("サイト名,X\r\n層数,2\r\nh\r\n1,2,1.8,150\r\n");
  const std::string nobase = folder.Write("nobase.csv", head + "2,3,1.9,250\r\n");
  const std::string commas = folder.Write("commas.csv", head + "2,3,1.9,250\r\n2.00,400\r\n");
  const std::string zero = folder.Write("zero.csv", head + "2,3,1.9,0\r\n,,2.0,400\r\n");
  const std::string blank = folder.Write("blank.csv", head + "2,3 ,1.9,250\r\n,,2.0,400\r\n");

  const BatchRunOutput run = Batch({count, good, number, missing, nobase, commas, zero, blank}, folder.path().string());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, count + ": ファイル " + count + " の層数 25 は 1～20 の範囲にありません\n" + number +
                         ": ファイル " + number + " の 4 行目: 'abc' は浮動小数点数ではありません\n" + missing +
                         ": ファイル " + missing + " はありません\n" + nobase + ": ファイル " + nobase +
                         " の基盤層（第3層）のＳ波速度が与えられていません！\n" + commas + ": ファイル " + commas +
                         " の基盤層（第3層）のＳ波速度が与えられていません！\n" + zero + ": ファイル " + zero +
                         " の第2層のＳ波速度に0以下の値は設定できません！\n" + blank + ": ファイル " + blank +
                         " の 5 行目: '3 ' の後の空白で値が次の欄にずれています（コンマの前に空白は置けません）\n");
  EXPECT_EQ(run.out, (folder / "good-result.csv") + "\n");
  EXPECT_TRUE(fs::exists(folder / "good-result.csv"));
  for (const char* stem : {"count", "number", "nobase", "commas", "zero", "blank"}) {
    EXPECT_FALSE(fs::exists(folder / (std::string(stem) + "-result.csv"))) << stem;
  }
}

TEST(BatchRun, SettingsComeFromTheIniFileAndOptionsOverrideThem) {
  TempFolder folder;
  const std::string input = folder.Write("p.csv", TempFolder::Read(kExamples + "five-layers.csv"));
  AnalysisSettings ini;
  ini.method = AnalysisMethod::LumpedMass;
  ini.pointChoice = PointChoice::Points100;
  ASSERT_TRUE(SaveSettings(folder / "tovalk.ini", ini));

  ASSERT_EQ(Batch({input}, folder.path().string()).status, 0);
  std::vector<std::string> lines = Lines(TempFolder::Read(folder / "p-result.csv"));
  EXPECT_EQ(lines.size(), 5u + 8u + 100u);
  EXPECT_EQ(lines[9], "解析法,等価質点系解析");

  ASSERT_EQ(Batch({"--method", "transfer", input}, folder.path().string()).status, 0);
  lines = Lines(TempFolder::Read(folder / "p-result.csv"));
  EXPECT_EQ(lines.size(), 5u + 8u + 100u);
  EXPECT_EQ(lines[9], "解析法,伝達マトリックス法");

  // Another working folder has no tovalk.ini: the defaults (200 points).
  TempFolder elsewhere;
  ASSERT_EQ(Batch({input}, elsewhere.path().string()).status, 0);
  EXPECT_EQ(Lines(TempFolder::Read(folder / "p-result.csv")).size(), 5u + 8u + 200u);

  // --settings names the file; a missing one is an error before any file runs.
  ASSERT_EQ(Batch({"--settings", folder / "tovalk.ini", input}, elsewhere.path().string()).status, 0);
  EXPECT_EQ(Lines(TempFolder::Read(folder / "p-result.csv")).size(), 5u + 8u + 100u);
  const BatchRunOutput missing = Batch({"--settings", folder / "none.ini", input}, folder.path().string());
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.err, "tovalk-batch: settings file " + (folder / "none.ini") + " not found\n");
}

TEST(BatchRun, SettingsThatWouldFailEveryFileStopTheRunOnce) {
  TempFolder folder;
  const std::string input = folder.Write("p.csv", TempFolder::Read(kExamples + "single-layer.csv"));
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--x-lower", "5", "--x-upper", "1"}, "縦横軸の目盛りこの値を設定できません"},
      {{"--y-scale", "log"}, "対数目盛りの原点に0を設定できません"},
      {{"--x-lower", "-1", "--y-lower", "5", "--y-upper", "1"}, "縦横軸の目盛りに負の値は設定できません"},
      {{"--ratio", "abc"}, "'abc' は浮動小数点数ではありません"},
      {{"--ratio", "-0.05"}, "減衰比に負の値は設定できません"},
      {{"--method", "reflection"}, "重複反射による増幅特性の計算は用意されていません　　　"},
  };
  for (auto [args, message] : cases) {
    args.push_back(input);
    args.push_back(input);
    const BatchRunOutput run = Batch(args, folder.path().string());
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "tovalk-batch: " + message + "\n");
    EXPECT_FALSE(fs::exists(folder / "p-result.csv"));
  }
  // The same from the settings file.
  AnalysisSettings ini;
  ini.dampingText = "-0.05";
  ASSERT_TRUE(SaveSettings(folder / "tovalk.ini", ini));
  const BatchRunOutput run = Batch({input}, folder.path().string());
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err, "tovalk-batch: 減衰比に負の値は設定できません\n");
  EXPECT_FALSE(fs::exists(folder / "p-result.csv"));
}

TEST(BatchRun, ProgressOnATerminalAndNoResultWrittenTwice) {
  TempFolder folder;
  fs::create_directory(folder / "a");
  fs::create_directory(folder / "b");
  const std::string a = folder.Write("a/x.csv", TempFolder::Read(kExamples + "single-layer.csv"));
  const std::string b = folder.Write("b/x.csv", TempFolder::Read(kExamples + "single-layer.csv"));
  const BatchRunOutput run = Batch({"--output-dir", folder / "out/deeper", a, b}, folder.path().string(), true);
  EXPECT_EQ(run.status, 1);
  const std::string output = folder / "out/deeper/x-result.csv";
  EXPECT_EQ(run.out, output + "\n");
  EXPECT_EQ(run.err, "\r[1/2] " + a + "\033[K\r\033[K\r[2/2] " + b + "\033[K\r\033[K" + b + ": the result file " +
                         output + " was already written for another input\n\r\033[K");

  // One file shows no progress.
  const BatchRunOutput single = Batch({a}, folder.path().string(), true);
  EXPECT_EQ(single.status, 0);
  EXPECT_EQ(single.err, "");
}

// The pictures are drawn by writers the program supplies; here they record
// what they were asked to draw.
TEST(BatchRun, PicturesAreWrittenBesideTheResultFromTheAnalysedProfile) {
  TempFolder out;
  std::vector<std::string> calls;
  BatchPictures pictures;
  pictures.chart = [&](const Workspace& ws, PictureFormat format, std::string& bytes) {
    calls.push_back(std::string("chart ") + PictureFormatName(format) + " " + std::to_string(ws.profile.layerCount) +
                    (ws.result.complete ? " analysed" : ""));
    bytes = "chart";
    return std::string();
  };
  pictures.diagram = [&](const Workspace& ws, PictureFormat format, std::string& bytes) {
    calls.push_back(std::string("diagram ") + PictureFormatName(format) + " " + std::to_string(ws.profile.layerCount));
    bytes = "diagram";
    return std::string();
  };
  const BatchRunOutput run =
      Batch({"--chart", "--diagram", "--output-dir", out.path().string(), kExamples + "five-layers.csv"},
            out.path().string(), false, pictures);
  EXPECT_EQ(run.status, 0) << run.err;
  const std::string stem = (out.path() / "five-layers").string();
  EXPECT_EQ(calls, (std::vector<std::string>{"chart png 5 analysed", "diagram png 5"}));
  EXPECT_EQ(run.out, stem + "-chart.png\n" + stem + "-stratum.png\n" + stem + "-result.csv\n");
  EXPECT_EQ(TempFolder::Read(stem + "-chart.png"), "chart");
  EXPECT_EQ(TempFolder::Read(stem + "-stratum.png"), "diagram");

  // The vector formats take their own extensions.
  calls.clear();
  const BatchRunOutput pdf = Batch({"--chart", "--diagram", "--chart-format", "pdf", "--output-dir",
                                    out.path().string(), kExamples + "five-layers.csv"},
                                   out.path().string(), false, pictures);
  EXPECT_EQ(pdf.status, 0) << pdf.err;
  EXPECT_EQ(calls, (std::vector<std::string>{"chart pdf 5 analysed", "diagram pdf 5"}));
  EXPECT_EQ(pdf.out, stem + "-chart.pdf\n" + stem + "-stratum.pdf\n" + stem + "-result.csv\n");
}

TEST(BatchRun, APictureThatCannotBeDrawnFailsItsFile) {
  TempFolder out;
  BatchPictures pictures;
  pictures.chart = [](const Workspace&, PictureFormat, std::string&) {
    return std::string("増幅特性を表示する層番号が指定されておりません");
  };
  const BatchRunOutput run = Batch({"--chart", "--output-dir", out.path().string(), kExamples + "single-layer.csv"},
                                   out.path().string(), false, pictures);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, kExamples + "single-layer.csv: 増幅特性を表示する層番号が指定されておりません\n");
  EXPECT_FALSE(fs::exists(out.path() / "single-layer-result.csv"));
}

TEST(BatchRun, PicturesWithoutADrawingBuildAreRefusedUpFront) {
  TempFolder out;
  const BatchRunOutput run = Batch({"--diagram", kExamples + "single-layer.csv"}, out.path().string());
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("--chart, --diagram"), std::string::npos);
  EXPECT_TRUE(run.out.empty());
}

}  // namespace

namespace {

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(BatchRun, ModesFileHoldsThePeriodTableAndTheModeShapes) {
  TempFolder out;
  const BatchRunOutput run =
      Batch({"--modes", "--output-dir", out.path().string(), kExamples + "single-layer.csv"}, out.path().string());
  EXPECT_EQ(run.status, 0) << run.err;
  const std::string stem = (out.path() / "single-layer").string();
  EXPECT_EQ(run.out, stem + "-modes.csv\n" + stem + "-result.csv\n");
  // H 10 m, Vs 120 m/s: λ = 2·Vs²/H² = 288, T = 2π/√288 = 0.3702 s.
  EXPECT_EQ(ReadBytes(stem + "-modes.csv"),
            Sjis("サイト名,埋立地Ａ\r\n層数,1\r\n次数,固有周期(s),振動数(Hz)\r\n1,0.370,2.701\r\n"
                 "固有モード,1次\r\n1,1.000\r\n"));
}

TEST(BatchRun, ModesFileOfFiveLayersHasAColumnPerMode) {
  TempFolder out;
  const BatchRunOutput run =
      Batch({"--modes", "--output-dir", out.path().string(), kExamples + "five-layers.csv"}, out.path().string());
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> lines = Lines(ReadBytes(out.path() / "five-layers-modes.csv"));
  ASSERT_EQ(lines.size(), 14u);
  EXPECT_EQ(lines[1], "層数,5");
  EXPECT_EQ(lines[8], "固有モード,1次,2次,3次,4次,5次");
  for (int p = 0; p < 5; ++p) EXPECT_EQ(lines[9 + p].substr(0, 2), std::to_string(p + 1) + ",");
}

TEST(BatchRun, AModesFileThatCannotBeWrittenFailsItsFile) {
  TempFolder out;
  fs::create_directory(out.path() / "single-layer-modes.csv");  // a folder in the way
  const BatchRunOutput run =
      Batch({"--modes", "--output-dir", out.path().string(), kExamples + "single-layer.csv"}, out.path().string());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  const std::string modes = (out.path() / "single-layer-modes.csv").string();
  // Named like every file the batch cannot write.
  EXPECT_EQ(run.err, modes + ": ファイルを作成することができませんでした\n");
  EXPECT_FALSE(fs::exists(out.path() / "single-layer-result.csv"));
}

TEST(BatchRun, ADeepSoftStronglyDampedSiteRunsUpTo50Hz) {
  TempFolder out;
  const fs::path input = out.path() / "deep.csv";
  std::ofstream(input, std::ios::binary) << Sjis(
      "サイト名,深い軟弱地盤\r\n層数,1\r\n層番号,層厚(m),密度,S波速度(m/s)\r\n1,60.00,1.60,60\r\n,,2.00,500\r\n");
  const BatchRunOutput run = Batch(
      {"--ratio", "0.3", "--x", "frequency", "--x-lower", "0", "--x-upper", "50", "--points", "400", input.string()},
      out.path().string());
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_TRUE(fs::exists(out.path() / "deep-result.csv"));
}

}  // namespace
