// tovalk-batch over many files: the same output for any number of jobs, the
// summary of many boreholes, and what a full disk leaves behind.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "BatchRunner.h"
#include "TempFolder.h"
#include "TestProfiles.h"
#include "analysis/Analysis.h"
#include "analysis/ModesFile.h"
#include "app/BatchRun.h"
#include "app/BatchSummary.h"
#include "app/Workspace.h"
#include "platform/AtomicFile.h"
#include "platform/Cp932.h"
#include "platform/FixedTexts.h"
#include "platform/Printf.h"
#include "profile/ProfileFiles.h"

namespace {

namespace fs = std::filesystem;

// Every file of a folder and its bytes.
std::map<std::string, std::string> Files(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    files[entry.path().filename().string()] = TempFolder::Read(entry.path().string());
  }
  return files;
}

std::string Profile(const std::string& site, const std::vector<std::string>& layers, const std::string& base) {
  std::string text =
      "サイト名," + site + "\r\n層数," + std::to_string(layers.size()) + "\r\n層番号,層厚(m),密度,S波速度(m/s)\r\n";
  for (size_t k = 0; k < layers.size(); ++k) text += std::to_string(k + 1) + "," + layers[k] + "\r\n";
  return Sjis(text + ",," + base + "\r\n");
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, ',');) fields.push_back(field);
  return fields;
}

std::vector<std::string> Lines(const std::string& cp932) {
  std::vector<std::string> lines;
  std::istringstream in(Cp932ToUtf8(cp932).value());
  for (std::string line; std::getline(in, line);) {
    EXPECT_EQ(line.back(), '\r');
    lines.push_back(line.substr(0, line.size() - 1));
  }
  return lines;
}

TEST(BatchJobs, AnyNumberOfJobsWritesAndPrintsTheSameInInputOrder) {
  TempFolder folder;
  std::vector<std::string> inputs;
  for (int i = 0; i < 12; ++i) {
    const std::string name = std::string("p") + std::to_string(i);
    if (i % 4 == 1) {
      inputs.push_back(folder.Write(name + ".csv", Sjis("サイト名,X\r\n層数,25\r\nh\r\n")));
    } else if (i % 4 == 3) {
      inputs.push_back(folder / (name + "-missing.csv"));
    } else {
      const char* examples[] = {"five-layers.csv", "twenty-layers.csv", "single-layer.csv"};
      inputs.push_back(folder.Write(name + ".csv", TempFolder::Read(kExamples + examples[i % 3])));
    }
  }
  auto runWith = [&](const std::string& jobs) {
    std::vector<std::string> args = {"--jobs",       jobs,           "--points",  "400",
                                     "--output-dir", folder / "out", "--summary", folder / "out/summary.csv"};
    args.insert(args.end(), inputs.begin(), inputs.end());
    const BatchRunOutput run = Batch(args, folder.path().string(), true);
    const auto files = Files(folder / "out");
    fs::remove_all(folder / "out");
    return std::pair{run, files};
  };
  const auto [one, oneFiles] = runWith("1");
  const auto [four, fourFiles] = runWith("4");
  EXPECT_EQ(one.status, 1);
  EXPECT_EQ(four.status, 1);
  EXPECT_EQ(four.out, one.out);
  EXPECT_EQ(four.err, one.err);
  EXPECT_EQ(fourFiles, oneFiles);
  EXPECT_EQ(oneFiles.size(), 6u + 1u);  // six good files and the summary

  // Progress counts the files in order, each failure after its own line.
  const std::string bad = inputs[1];
  EXPECT_EQ(one.err.substr(0, one.err.find(bad + ": ")),
            "\r[1/12] " + inputs[0] + "\033[K\r\033[K\r[2/12] " + bad + "\033[K\r\033[K");
  size_t position = 0;
  for (int k = 1; k <= 12; ++k) {
    const std::string mark = std::string("[") + std::to_string(k) + "/12] " + inputs[k - 1];
    const size_t at = one.err.find(mark, position);
    ASSERT_NE(at, std::string::npos) << mark;
    position = at;
  }
  // Standard output lists the results in input order.
  std::string expected;
  for (int i = 0; i < 12; ++i) {
    if (i % 2 == 0) expected += folder / ("out/p" + std::to_string(i) + "-result.csv") + "\n";
  }
  EXPECT_EQ(one.out, expected + (folder / "out/summary.csv") + "\n");
}

// Result files are committed in groups; a file that fails in the middle of
// one neither loses the files before it nor holds back its own message.
TEST(BatchJobs, AFailureInTheMiddleOfAGroupIsReportedInItsPlace) {
  TempFolder folder;
  const std::string example = TempFolder::Read(kExamples + "five-layers.csv");
  std::vector<std::string> inputs;
  for (const char* name : {"a", "b", "c", "bad", "d"}) {
    inputs.push_back(folder.Write(std::string(name) + ".csv", std::string(name) == "bad" ? "x\r\n" : example));
  }
  const std::string out = folder / "out";
  fs::create_directories(out + "/b-result.csv");  // b's result cannot be written
  std::ofstream(out + "/c-result.csv", std::ios::binary) << "old c";
  std::ofstream(out + "/d-result.csv", std::ios::binary) << "old d";
  // The same file written alone, by the one-file path that commits each file.
  ASSERT_TRUE(RunBatchFile(inputs[0], folder / "alone.csv", AnalysisSettings{}).ok);
  const std::string expected = TempFolder::Read(folder / "alone.csv");

  for (const char* jobs : {"1", "2"}) {
    std::vector<std::string> args = {"--jobs", jobs, "--output-dir", out};
    args.insert(args.end(), inputs.begin(), inputs.end());
    const BatchRunOutput run = Batch(args, folder.path().string());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, out + "/a-result.csv\n" + out + "/c-result.csv\n" + out + "/d-result.csv\n");
    EXPECT_EQ(run.err, out + "/b-result.csv: " + kCannotCreateFile + "\n" + inputs[3] + ": ファイル " + inputs[3] +
                           " は途中で終わっています（層データが足りません）\n");
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(out)) names.insert(entry.path().filename().string());
    // No temporary file is left.
    EXPECT_EQ(names, (std::set<std::string>{"a-result.csv", "b-result.csv", "c-result.csv", "d-result.csv"}));
    EXPECT_TRUE(fs::is_directory(out + "/b-result.csv"));
    for (const char* name : {"a", "c", "d"}) {
      EXPECT_EQ(TempFolder::Read(out + "/" + name + "-result.csv"), expected) << name;
    }
    std::ofstream(out + "/c-result.csv", std::ios::binary) << "old c";
  }
}

TEST(BatchArguments, JobsChartFormatAndSummaryValues) {
  std::string error;
  const auto o = ParseBatchArguments({"--jobs", "3", "--chart-format=svg", "--summary", "s.csv", "a.csv"}, error);
  ASSERT_TRUE(o) << error;
  EXPECT_EQ(o->jobs, 3u);
  EXPECT_EQ(o->chartFormat, PictureFormat::Svg);
  EXPECT_EQ(o->summaryFile, "s.csv");
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--jobs", "0", "a.csv"}, "bad value '0' for --jobs (a number of files at a time, 1 to 256)"},
      {{"--jobs", "-2", "a.csv"}, "bad value '-2' for --jobs (a number of files at a time, 1 to 256)"},
      {{"--jobs", "257", "a.csv"}, "bad value '257' for --jobs (a number of files at a time, 1 to 256)"},
      {{"--chart-format", "jpeg", "a.csv"}, "bad value 'jpeg' for --chart-format"},
      {{"--summary=", "a.csv"}, "bad value '' for --summary"},
  };
  for (const auto& [args, message] : cases) {
    EXPECT_FALSE(ParseBatchArguments(args, error));
    EXPECT_EQ(error, message);
  }
}

// The values are worked out by hand from the profiles' numbers.
TEST(BatchSummary, FiguresOfShallowAndDeepProfilesAndTheirPeaks) {
  TempFolder folder;
  // 10 m of layers: Vs30 = 30 / (4/100 + 6/200 + 20/400) = 250; 4H/Vs = 4 (0.04 + 0.03).
  const std::string shallow =
      folder.Write("shallow.csv", Profile("浅い地点", {"4,1.60,100", "6,1.70,200"}, "2.00,400"));
  // 45 m: the top 30 m are 10 m at 150, 15 m at 250, 5 m at 350.
  const std::string deep =
      folder.Write("deep.csv", Profile("深い地点", {"10,1.70,150", "15,1.80,250", "20,1.90,350"}, "2.10,600"));
  // One layer of 10 m at 150 m/s: one mass of half the layer on one spring,
  // so omega^2 = 2 Vs^2 / H^2 and T1 = 2 pi H / (sqrt(2) Vs) = 0.29619 s;
  // Vs30 = 30 / (10/150 + 20/400) = 257.14; 4H/Vs = 40/150.
  const std::string single = folder.Write("single.csv", Profile("単層", {"10,1.60,150"}, "2.00,400"));
  const std::string failing = folder.Write("bad.csv", Sjis("サイト名,X\r\n層数,0\r\nh\r\n"));

  const std::string summaryPath = folder / "all.csv";
  const BatchRunOutput run =
      Batch({"--points", "400", "--summary", summaryPath, shallow, failing, deep, single}, folder.path().string());
  EXPECT_EQ(run.status, 1);
  const std::string bytes = TempFolder::Read(summaryPath);
  const std::vector<std::string> lines = Lines(bytes);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0],
            "ファイル,サイト名,層数,層厚合計(m),Vs30(m/s),4H/Vs(s),1次固有周期(s),最大増幅率,振動数(Hz),周期(s)");
  const std::vector<std::string> a = Fields(lines[1]), b = Fields(lines[2]), c = Fields(lines[3]);
  EXPECT_EQ(std::vector<std::string>(a.begin(), a.begin() + 6),
            (std::vector<std::string>{shallow, "浅い地点", "2", "10.00", "250.0", "0.280"}));
  EXPECT_EQ(std::vector<std::string>(b.begin(), b.begin() + 6),
            (std::vector<std::string>{deep, "深い地点", "3", "45.00", "212.8", "0.735"}));
  EXPECT_EQ(std::vector<std::string>(c.begin(), c.begin() + 7),
            (std::vector<std::string>{single, "単層", "1", "10.00", "257.1", "0.267", "0.296"}));

  // The peak: the largest value of the result file's layer-1 column, with
  // the frequency and period of its row, read back from the written file.
  for (const auto& [input, row] : {std::pair{shallow, a}, std::pair{deep, b}, std::pair{single, c}}) {
    const std::string stem = input.substr(0, input.size() - 4);
    const std::vector<std::string> result = Lines(TempFolder::Read(stem + "-result.csv"));
    // The table follows the layer titles ",,, 第1層, ...".
    size_t row0 = 0;
    while (row0 < result.size() && result[row0].rfind(",,,", 0) != 0) ++row0;
    ASSERT_EQ(result.size() - row0 - 1, 400u) << input;
    double best = -1.0;
    std::vector<std::string> bestRow;
    for (size_t i = row0 + 1; i < result.size(); ++i) {
      const std::vector<std::string> f = Fields(result[i]);
      const double value = std::stod(f.at(3));
      if (value > best) {
        best = value;
        bestRow = f;
      }
    }
    auto trim = [](const std::string& s) { return s.substr(s.find_first_not_of(' ')); };
    EXPECT_EQ((std::vector<std::string>{row[7], row[8], row[9]}),
              (std::vector<std::string>{trim(bestRow[3]), trim(bestRow[1]), trim(bestRow[2])}))
        << input;
  }
}

TEST(BatchSummary, FirstPeriodIsTheOneTheModesTableShows) {
  TempFolder folder;
  const std::string input = folder.Write("p.csv", TempFolder::Read(kExamples + "twenty-layers.csv"));
  ASSERT_EQ(Batch({"--summary", folder / "s.csv", input}, folder.path().string()).status, 0);
  const std::vector<std::string> row = Fields(Lines(TempFolder::Read(folder / "s.csv")).at(1));

  Workspace ws;
  ProfileFileParse parse = ParseProfileFile(TempFolder::Read(input));
  ASSERT_EQ(parse.problem, ProfileFileProblem::None);
  SoilProfile& p = ws.profile;
  p.layerCount = parse.data.layerCount;
  for (int i = 0; i < p.layerCount; ++i) {
    p.layers[i].thickness = parse.data.layers[i].thickness;
    p.layers[i].density = parse.data.layers[i].density;
    p.layers[i].vs = parse.data.layers[i].vs;
  }
  p.layers[p.layerCount].density = *parse.data.baseDensity;
  p.layers[p.layerCount].vs = *parse.data.baseVs;
  for (int i = 0; i <= p.layerCount; ++i) p.layers[i].dampingRatio = 0.05f;
  ComputeDerivedValues(p);
  ws.result.pointCount = 200;
  // The natural-period table the desktop window shows.
  const AnalysisOutcome outcome = Analyse(ws.profile, ws.settings, ws.result);
  ASSERT_TRUE(outcome.modes.has_value());
  const float firstPeriod = outcome.modes->period[0];
  ASSERT_GT(firstPeriod, 0.0f);
  EXPECT_EQ(row.at(6), Printf("%.3f", static_cast<double>(firstPeriod)));
}

// The editor's grid keeps two decimals and whole velocities; the analysis
// runs on the file's values, and so do the modes file and T1, as the main
// window's tables show them.
TEST(BatchSummary, ModesFileAndFirstPeriodAreThoseOfTheAnalysis) {
  TempFolder folder;
  const std::string input =
      folder.Write("fine.csv", Utf8ToCp932("サイト名,細密\r\n層数,2\r\n層番号,層厚(m),密度,S波速度(m/s)\r\n"
                                           "1,2.345,1.755,143.4\r\n2,3.333,1.85,251.6\r\n,,2.0,500\r\n")
                                   .value());
  ASSERT_EQ(Batch({"--modes", "--summary", folder / "s.csv", input}, folder.path().string()).status, 0);

  SoilProfile fine = MakeProfile({{2.345f, 1.755f, 143.4f}, {3.333f, 1.85f, 251.6f}}, 2.0f, 500.0f, "細密");
  AmplificationResult samples;
  samples.pointCount = 200;
  AnalysisSettings settings;
  settings.pointChoice = PointChoice::Points200;
  const AnalysisOutcome outcome = Analyse(fine, settings, samples);
  ASSERT_TRUE(outcome.modes.has_value());
  EXPECT_EQ(TempFolder::Read(folder / "fine-modes.csv"), FormatModesFile("細密", *outcome.modes).value());
  const std::vector<std::string> row = Fields(Lines(TempFolder::Read(folder / "s.csv")).at(1));
  EXPECT_EQ(row.at(6), Printf("%.3f", static_cast<double>(outcome.modes->period[0])));
}

TEST(BatchSummary, WrittenAtomicallyAndNotAtAllForBadOptions) {
  TempFolder folder;
  const std::string input = folder.Write("p.csv", TempFolder::Read(kExamples + "single-layer.csv"));
  const std::string summary = folder.Write("s.csv", "old summary");
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--summary", summary, "--points", "300", input},
        std::vector<std::string>{"--summary", summary, "--y-scale", "log", input}}) {
    EXPECT_EQ(Batch(args, folder.path().string()).status, 2);
    EXPECT_EQ(TempFolder::Read(summary), "old summary");
  }
  const std::string fresh = folder / "fresh.csv";
  EXPECT_EQ(Batch({"--summary", fresh, "--jobs", "x", input}, folder.path().string()).status, 2);
  EXPECT_FALSE(fs::exists(fresh));

  // Every file failing still gives the header: the run happened.
  const BatchRunOutput none = Batch({"--summary", fresh, folder / "missing.csv"}, folder.path().string());
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(Lines(TempFolder::Read(fresh)).size(), 1u);

  // A summary that cannot be written fails the run and names the file.
  const std::string intoFolder = (folder.path() / "").string();
  const BatchRunOutput unwritable = Batch({"--summary", intoFolder, input}, folder.path().string());
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_EQ(unwritable.err, intoFolder + ": ファイルを作成することができませんでした\n");
}

TEST(BatchSummary, SiteFiguresAndPeakAgainstHandValues) {
  SoilProfile p;
  p.layerCount = 2;
  p.layers[0].thickness = 12.5f;
  p.layers[0].vs = 125.0f;
  p.layers[1].thickness = 7.5f;
  p.layers[1].vs = 250.0f;
  p.layers[2].vs = 500.0f;
  // 12.5/125 + 7.5/250 + 10/500 = 0.1 + 0.03 + 0.02 = 0.15 s for the top 30 m.
  const SiteFigures f = ComputeSiteFigures(p);
  EXPECT_DOUBLE_EQ(f.totalThickness, 20.0);
  EXPECT_DOUBLE_EQ(f.vs30, 200.0);
  EXPECT_DOUBLE_EQ(f.groundPeriod, 0.52);

  AmplificationResult r;
  r.pointCount = 4;
  r.amplification[0] = {1.0f, kNoValue, 3.5f, 3.5f, 9.0f};  // the fifth sample is beyond the count
  EXPECT_EQ(PeakSample(r), 2);
  r.amplification[0] = {kNoValue, kNoValue, kNoValue, kNoValue};
  EXPECT_EQ(PeakSample(r), std::nullopt);
}

// ---------------------------------------------------------------------------
// A full disk

// A folder on a file system that is full after `room` bytes: a small tmpfs
// where the test may mount one (as root), else nothing: the caller then uses
// a file-size limit instead.
class SmallDisk {
 public:
  explicit SmallDisk(const TempFolder& folder, size_t room) : path_(folder / "disk") {
    fs::create_directory(path_);
    const std::string options = "size=" + std::to_string(room);
    mounted_ = geteuid() == 0 && mount("tovalk-test", path_.c_str(), "tmpfs", 0, options.c_str()) == 0;
  }
  ~SmallDisk() {
    if (mounted_) umount2(path_.c_str(), MNT_DETACH);
  }
  bool mounted() const { return mounted_; }
  const std::string& path() const { return path_; }

  // Fills what is left with a file of its own.
  void Fill() const {
    std::ofstream filler(path_ + "/filler", std::ios::binary);
    const std::string block(4096, 'x');
    while (filler.write(block.data(), block.size())) {
    }
  }

 private:
  std::string path_;
  bool mounted_ = false;
};

BatchPictures FakePictures(std::string chart, std::string diagram) {
  BatchPictures pictures;
  pictures.chart = [chart](const Workspace&, PictureFormat, std::string& bytes) {
    bytes = chart;
    return std::string();
  };
  pictures.diagram = [diagram](const Workspace&, PictureFormat, std::string& bytes) {
    bytes = diagram;
    return std::string();
  };
  return pictures;
}

// Runs the batch in a child process whose files may not grow beyond `limit`
// bytes; writes that would pass it fail as on a full disk.
BatchRunOutput BatchWithFileSizeLimit(const std::vector<std::string>& args, const std::string& workingDir,
                                      const BatchPictures& pictures, rlim_t limit) {
  TempFolder capture;
  const std::string outPath = capture / "out", errPath = capture / "err";
  const pid_t child = fork();
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    std::ostringstream out, err;
    const rlimit size{limit, limit};
    setrlimit(RLIMIT_FSIZE, &size);
    const int status = RunBatch(args, workingDir, out, err, false, pictures);
    const rlimit open{RLIM_INFINITY, RLIM_INFINITY};
    setrlimit(RLIMIT_FSIZE, &open);
    std::ofstream(outPath) << out.str();
    std::ofstream(errPath) << err.str();
    _exit(status);
  }
  int status = 0;
  waitpid(child, &status, 0);
  BatchRunOutput run;
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = TempFolder::Read(outPath);
  run.err = TempFolder::Read(errPath);
  return run;
}

TEST(BatchFullDisk, OldFilesStayWholeAndNoPartialFileIsLeft) {
  TempFolder folder;
  SmallDisk disk(folder, 256 * 1024);
  const std::string out = disk.mounted() ? disk.path() : folder / "out";
  fs::create_directories(out);
  const std::string input = folder.Write("site.csv", TempFolder::Read(kExamples + "twenty-layers.csv"));
  const std::string fresh = folder.Write("fresh.csv", TempFolder::Read(kExamples + "five-layers.csv"));
  const std::string bigChart(48 * 1024, 'c');

  const std::vector<std::string> first = {"--chart",   "--diagram",          "--output-dir", out,
                                          "--summary", out + "/summary.csv", input};
  ASSERT_EQ(Batch(first, folder.path().string(), false, FakePictures("old chart", "old diagram")).status, 0);
  const auto before = Files(out);
  ASSERT_EQ(before.size(), 4u);

  // Now the same again, and a file never written before, with new pictures
  // that do not fit.
  const std::vector<std::string> again = {"--chart", "--diagram", "--points",           "400", "--output-dir",
                                          out,       "--summary", out + "/summary.csv", input, fresh};
  const BatchPictures pictures = FakePictures(bigChart, "new diagram");
  BatchRunOutput run;
  if (disk.mounted()) {
    disk.Fill();
    run = Batch(again, folder.path().string(), false, pictures);
    fs::remove(out + "/filler");
  } else {
    run = BatchWithFileSizeLimit(again, folder.path().string(), pictures, 16 * 1024);
  }
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, disk.mounted() ? "" : out + "/summary.csv\n");
  const std::string unwritten = ": ファイルを作成することができませんでした\n";
  // Under a file-size limit a summary of the header alone still fits.
  EXPECT_EQ(run.err, out + "/site-chart.png" + unwritten + out + "/fresh-chart.png" + unwritten +
                         (disk.mounted() ? out + "/summary.csv" + unwritten : ""));
  // Byte for byte what was there; nothing new, no temporary file.
  auto after = Files(out);
  if (!disk.mounted()) after["summary.csv"] = before.at("summary.csv");
  EXPECT_EQ(after, before);

  // With room again the same run goes through.
  const BatchRunOutput roomy = Batch(again, folder.path().string(), false, pictures);
  EXPECT_EQ(roomy.status, 0) << roomy.err;
  EXPECT_EQ(TempFolder::Read(out + "/site-chart.png"), bigChart);
}

TEST(BatchFullDisk, AResultFileThatDoesNotFitIsNamed) {
  TempFolder folder;
  SmallDisk disk(folder, 64 * 1024);
  const std::string out = disk.mounted() ? disk.path() : folder / "out";
  fs::create_directories(out);
  const std::string input = folder.Write("site.csv", TempFolder::Read(kExamples + "twenty-layers.csv"));
  const std::string old =
      folder.Write(fs::path(out).lexically_relative(folder.path()).string() + "/site-result.csv", "old result");
  const std::vector<std::string> args = {"--points", "400", "--output-dir", out, input};
  BatchRunOutput run;
  if (disk.mounted()) {
    disk.Fill();
    run = Batch(args, folder.path().string());
    fs::remove(out + "/filler");
  } else {
    run = BatchWithFileSizeLimit(args, folder.path().string(), {}, 8 * 1024);
  }
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, out + "/site-result.csv: ファイルを作成することができませんでした\n");
  EXPECT_EQ(Files(out), (std::map<std::string, std::string>{{"site-result.csv", "old result"}}));
  EXPECT_EQ(TempFolder::Read(old), "old result");
}

}  // namespace
