#include "profile/ProfileFiles.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <random>

#include "FilePortsFake.h"
#include "TempFolder.h"
#include "analysis/ResultFile.h"
#include "app/Workspace.h"
#include "platform/Cp932.h"
#include "platform/Errors.h"

namespace {

std::string Sjis(const std::string& utf8) { return Utf8ToCp932(utf8).value(); }

// The two-layer profile file used throughout, as CP932 bytes.
const std::string kTwoLayers = Sjis(
    "サイト名,地点A\r\n層数,2\r\n層番号,層厚(m),密度,S波速度(m/s)\r\n"
    "1,2.50,1.70,120\r\n2,8.00,1.90,300\r\n,,2.10,700\r\n");

struct LayerText {
  const char* thickness;
  const char* density;
  const char* vs;
};

void FillGrid(ProfileGrid& grid, const std::string& site, const std::vector<LayerText>& layers, const char* baseDensity,
              const char* baseVs) {
  const int n = static_cast<int>(layers.size());
  grid.EdSite = site;
  grid.SetUpDown1Position(n);
  for (int i = 0; i < n; ++i) {
    grid.SetCell(1, i + 1, layers[i].thickness);
    grid.SetCell(2, i + 1, layers[i].density);
    grid.SetCell(3, i + 1, layers[i].vs);
  }
  grid.SetCell(2, n + 1, baseDensity);
  grid.SetCell(3, n + 1, baseVs);
}

// Everything the reader may change, for before-and-after comparisons.
struct Snapshot {
  SoilProfile profile;
  std::vector<std::string> cells;
  std::string edSite, label7, label3, fileName;
  int position = 0;

  explicit Snapshot(const Workspace& ws)
      : profile(ws.profile),
        edSite(ws.grid.EdSite),
        label7(ws.grid.Label7),
        label3(ws.Label3),
        fileName(ws.fileName),
        position(ws.grid.UpDown1Position()) {
    for (int col = 0; col < ProfileGrid::kColumns; ++col)
      for (int row = 0; row < ProfileGrid::kRows; ++row) cells.push_back(ws.grid.Cell(col, row));
  }
  bool operator==(const Snapshot& o) const {
    return profile.siteName == o.profile.siteName && profile.layerCount == o.profile.layerCount &&
           std::memcmp(&profile.layers, &o.profile.layers, sizeof profile.layers) == 0 &&
           profile.totalDepth == o.profile.totalDepth && profile.maxVs == o.profile.maxVs && cells == o.cells &&
           edSite == o.edSite && label7 == o.label7 && label3 == o.label3 && fileName == o.fileName &&
           position == o.position;
  }
};

std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0, end;
  while ((end = bytes.find("\r\n", start)) != std::string::npos) {
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  EXPECT_EQ(start, bytes.size()) << "the file must end with CR LF";
  return lines;
}

class ProfileFilesTest : public testing::Test {
 protected:
  bool Load(const std::string& path, int filter = kAllFilesFilter) {
    dialogs.AnswerOpen(FileDialogAnswer{path, filter});
    return files.LoadProfileFile();
  }
  bool SaveProfile(const std::string& path, int filter = kAllFilesFilter) {
    dialogs.AnswerSave(FileDialogAnswer{path, filter});
    return files.SaveProfileFile();
  }
  bool SaveResult(const std::string& path, int filter = kAllFilesFilter) {
    dialogs.AnswerSave(FileDialogAnswer{path, filter});
    return SaveResultFile(files, ws.result, ws.settings);
  }
  // The workspace after reading the two-layer example.
  void LoadTwoLayers() {
    ASSERT_TRUE(Load(folder.Write("two.csv", kTwoLayers)));
    messages.shown.clear();
  }
  // A completed analysis for n layers with pointCount samples.
  void FakeResult(int n, int points) {
    AmplificationResult& r = ws.result;
    r.pointCount = points;
    for (int j = 0; j < points; ++j) {
      r.frequency[j] = 0.1f * static_cast<float>(j + 1);
      r.period[j] = 1.0f / r.frequency[j];
    }
    for (int m = 0; m < 20; ++m) r.amplification[m].clear();
    for (int m = 0; m < n; ++m) r.amplification[m].assign(points, 1.0f + static_cast<float>(m));
    r.complete = true;
    for (int i = 0; i <= n; ++i) ws.profile.layers[i].dampingRatio = 0.05f;
  }

  TempFolder folder;
  Workspace ws;
  ScriptedDialogs dialogs;
  RecordingMessages messages;
  ProfileFiles files{ws, dialogs, messages};
};

MessageBox FileErrorBox(const std::string& text) { return ErrorBox(text, "ファイルエラー"); }

// ---------------------------------------------------------------------------
// Writing

TEST_F(ProfileFilesTest, WritesTheTwoLayerExampleByteForByte) {
  ws.fileName = "old.csv";
  ws.startDir = "/start/here";
  FillGrid(ws.grid, "地点A", {{"2.5", "1.7", "120"}, {"8", "1.9", "300"}}, "2.1", "700");
  const std::string path = folder / "two.csv";
  ASSERT_TRUE(SaveProfile(path));
  // サイト名,地点A and 層数,2 spelt out in CP932, then the rest.
  EXPECT_EQ(TempFolder::Read(path),
            std::string("\x83\x54\x83\x43\x83\x67\x96\xbc,\x92\x6e\x93\x5f"
                        "A\r\n"
                        "\x91\x77\x90\x94,2\r\n") +
                Sjis("層番号,層厚(m),密度,S波速度(m/s)\r\n1,2.50,1.70,120\r\n2,8.00,1.90,300\r\n"
                     ",,2.10,700\r\n"));
  EXPECT_EQ(TempFolder::Read(path), kTwoLayers);
  EXPECT_TRUE(messages.shown.empty());
  ASSERT_EQ(dialogs.saveRequests.size(), 1u);
  EXPECT_EQ(dialogs.saveRequests[0].filter, kSaveDialogFilter);
  EXPECT_EQ(dialogs.saveRequests[0].initialFolder, "/start/here");
  EXPECT_EQ(ws.fileName, "two.csv");
  EXPECT_EQ(ws.Label3, "ﾌｧｲﾙ名 : two.csv");
  EXPECT_EQ(ws.grid.Label7, "ﾌｧｲﾙ名 : two.csv");
}

TEST_F(ProfileFilesTest, WritesTheResultFileByteForByte) {
  FillGrid(ws.grid, "地点A", {{"2.5", "1.7", "120"}, {"8", "1.9", "300"}}, "2.1", "700");
  FakeResult(2, 3);
  AmplificationResult& r = ws.result;
  r.frequency = {10.0f, 5.0f, 2.5f};
  r.period = {0.1f, 0.2f, 0.4f};
  r.amplification[0] = {1.0f, 2.345678f, kNoValue};
  r.amplification[1] = {1.5f, 12.3456f, 100.0f};
  ws.fileName = "keep.csv";
  ws.Label3 = ws.grid.Label7 = "ﾌｧｲﾙ名 : keep.csv";

  const std::string head =
      "サイト名,地点A\r\n層数,2\r\n層番号,層厚(m),密度,S波速度(m/s),減衰比\r\n"
      "1,  2.50,  1.70,   120, 0.050\r\n2,  8.00,  1.90,   300, 0.050\r\n,,2.10,700,0.050\r\n";
  const std::string table =
      ",振動数,周期,増幅度\r\n,,, 第1層, 第2層\r\n"
      "   1,  10.000,   0.100,   1.000,   1.500\r\n"
      "   2,   5.000,   0.200,   2.346,  12.346\r\n"
      "   3,   2.500,   0.400,     ---, 100.000\r\n";
  const std::string path = folder / "result.csv";
  ASSERT_TRUE(SaveResult(path));
  EXPECT_EQ(TempFolder::Read(path), Sjis(head + "解析法,伝達マトリックス法\r\n履歴型減衰,減衰比,  0.050\r\n" + table));

  // The method and damping lines follow the settings at the moment of saving.
  ws.settings.method = AnalysisMethod::LumpedMass;
  ws.settings.dampingForm = DampingForm::Viscous;
  ASSERT_TRUE(SaveResult(path));
  EXPECT_EQ(TempFolder::Read(path), Sjis(head + "解析法,等価質点系解析\r\n粘性型減衰,減衰比,  0.050\r\n" + table));
  ws.settings.method = AnalysisMethod::Reflection;
  ASSERT_TRUE(SaveResult(path));
  EXPECT_EQ(Lines(Cp932ToUtf8(TempFolder::Read(path)).value())[6], "重複反射法");

  // Overwriting asked each time; the file labels are the profile's business.
  EXPECT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(ws.fileName, "keep.csv");
  EXPECT_EQ(ws.Label3, "ﾌｧｲﾙ名 : keep.csv");
  EXPECT_EQ(ws.grid.Label7, "ﾌｧｲﾙ名 : keep.csv");
}

TEST_F(ProfileFilesTest, TwentyLayersAndFourHundredPointsGive428LinesOf23Fields) {
  std::vector<LayerText> layers(20, {"1.5", "1.8", "200"});
  FillGrid(ws.grid, "深い地点", layers, "2.2", "800");
  FakeResult(20, 400);
  ws.result.amplification[19][399] = kNoValue;
  const std::string path = folder / "deep.csv";
  ASSERT_TRUE(SaveResult(path));
  const std::vector<std::string> lines = Lines(Cp932ToUtf8(TempFolder::Read(path)).value());
  ASSERT_EQ(lines.size(), 428u);
  for (size_t i = 28; i < lines.size(); ++i) {
    EXPECT_EQ(std::count(lines[i].begin(), lines[i].end(), ',') + 1, 23) << "line " << i + 1;
  }
  EXPECT_EQ(lines[427].substr(0, 5), " 400,");
  EXPECT_EQ(lines[427].substr(lines[427].size() - 9), ",     ---");

  // Read back it is the same profile as the profile file of the same grid.
  const SoilProfile saved = ws.profile;
  Workspace other;
  ProfileFiles reader(other, dialogs, messages);
  dialogs.AnswerOpen(FileDialogAnswer{path, kAllFilesFilter});
  ASSERT_TRUE(reader.LoadProfileFile());
  ASSERT_TRUE(SaveProfile(folder / "deep-profile.csv"));
  Workspace third;
  ProfileFiles reader3(third, dialogs, messages);
  dialogs.AnswerOpen(FileDialogAnswer{folder / "deep-profile.csv", kAllFilesFilter});
  ASSERT_TRUE(reader3.LoadProfileFile());
  EXPECT_EQ(other.profile.layerCount, 20);
  EXPECT_EQ(std::memcmp(&other.profile.layers, &third.profile.layers, sizeof saved.layers), 0);
  EXPECT_EQ(other.profile.siteName, "深い地点");
  EXPECT_EQ(other.profile.totalDepth, third.profile.totalDepth);
}

TEST_F(ProfileFilesTest, ProfileRoundTripRoundsValuesAndCutsTheSiteName) {
  FillGrid(ws.grid, " 地点名", {{"2.675", "1.333", "150.6"}, {"10", "1.9", "249.4"}}, "2.0", "650.5");
  ASSERT_TRUE(SaveProfile(folder / "p.csv"));

  Workspace back;
  ProfileFiles reader(back, dialogs, messages);
  dialogs.AnswerOpen(FileDialogAnswer{folder / "p.csv", kAllFilesFilter});
  ASSERT_TRUE(reader.LoadProfileFile());
  const SoilProfile& p = back.profile;
  EXPECT_EQ(p.siteName, "地点名");  // the leading blank of the default is gone
  EXPECT_EQ(p.layerCount, 2);
  EXPECT_EQ(p.layers[0].thickness, 2.67f);  // 2.675f lies just below 2.675
  EXPECT_EQ(p.layers[0].density, 1.33f);
  EXPECT_EQ(p.layers[0].vs, 151.0f);
  EXPECT_EQ(p.layers[1].vs, 249.0f);
  EXPECT_EQ(p.layers[2].density, 2.0f);
  EXPECT_EQ(p.layers[2].vs, 650.0f);  // "%.0f" rounds the tie to even
  float depth = 2.67f;
  EXPECT_EQ(p.layers[0].bottomDepth, depth);
  depth = depth + 10.0f;
  EXPECT_EQ(p.layers[1].bottomDepth, depth);
  EXPECT_EQ(p.totalDepth, depth);
  EXPECT_EQ(p.maxVs, 249.0f);

  ws.grid.EdSite = "地点 A";
  ASSERT_TRUE(SaveProfile(folder / "p.csv"));
  dialogs.AnswerOpen(FileDialogAnswer{folder / "p.csv", kAllFilesFilter});
  ASSERT_TRUE(reader.LoadProfileFile());
  EXPECT_EQ(back.profile.siteName, "地点");

  ws.grid.EdSite = "";
  ASSERT_TRUE(SaveProfile(folder / "p.csv"));
  EXPECT_EQ(TempFolder::Read(folder / "p.csv").substr(0, 11), Sjis("サイト名,\r\n"));
  dialogs.AnswerOpen(FileDialogAnswer{folder / "p.csv", kAllFilesFilter});
  ASSERT_TRUE(reader.LoadProfileFile());
  EXPECT_EQ(back.profile.siteName, "");
}

TEST_F(ProfileFilesTest, CsvRuleAppliesOnlyToANameWithoutExtensionUnderTheCsvFilter) {
  EXPECT_EQ(ApplyCsvRule({"/d/result", kCsvFilter}), "/d/result.csv");
  EXPECT_EQ(ApplyCsvRule({"/d/result", kAllFilesFilter}), "/d/result");
  EXPECT_EQ(ApplyCsvRule({"/d/result.txt", kCsvFilter}), "/d/result.txt");
  EXPECT_EQ(ApplyCsvRule({"/d/result.", kCsvFilter}), "/d/result.");
  EXPECT_EQ(ApplyCsvRule({"/d.v2/result", kCsvFilter}), "/d.v2/result.csv");

  FillGrid(ws.grid, "A", {{"1", "1", "100"}}, "2", "500");
  ASSERT_TRUE(SaveProfile(folder / "saved", kCsvFilter));
  EXPECT_EQ(ws.fileName, "saved.csv");
  EXPECT_TRUE(std::filesystem::exists(folder / "saved.csv"));
  EXPECT_FALSE(std::filesystem::exists(folder / "saved"));

  // Reading "data" under "*.csv" looks for data.csv only.
  folder.Write("data", kTwoLayers);
  const Snapshot before(ws);
  EXPECT_FALSE(Load(folder / "data", kCsvFilter));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], FileErrorBox("ファイル " + (folder / "data.csv") + " はありません"));
  EXPECT_EQ(Snapshot(ws), before);
  EXPECT_TRUE(Load(folder / "data", kAllFilesFilter));
}

TEST_F(ProfileFilesTest, OverwriteIsAskedAndCancelLeavesTheFileAlone) {
  FillGrid(ws.grid, "A", {{"1", "1", "100"}}, "2", "500");
  const std::string path = folder.Write("old.csv", "old content");
  messages.replies = {MessageResult::Cancel};
  EXPECT_FALSE(SaveProfile(path));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0],
            QuestionBox("ファイル " + path + " はすでにあります．上書きしてよろしいですか？", "ファイル名重複エラー"));
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::Question);
  EXPECT_EQ(messages.shown[0].buttons, MessageButtons::OkCancel);
  EXPECT_EQ(TempFolder::Read(path), "old content");
  EXPECT_EQ(ws.fileName, "");

  EXPECT_TRUE(SaveProfile(path));  // OK this time
  EXPECT_EQ(TempFolder::Read(path).substr(0, 8), Sjis("サイト名"));
  EXPECT_EQ(ws.fileName, "old.csv");
}

TEST_F(ProfileFilesTest, AFailedWriteIsReportedAndChangesNoLabel) {
  FillGrid(ws.grid, "A", {{"1", "1", "100"}}, "2", "500");
  const MessageBox cannotCreate = FileErrorBox("ファイルを作成することができませんでした");

  EXPECT_FALSE(SaveProfile(folder / "no-such-folder/p.csv"));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], cannotCreate);
  EXPECT_EQ(ws.fileName, "");
  EXPECT_EQ(ws.Label3, "ﾌｧｲﾙ名 : ");

  // A device that is full: asked to overwrite (it exists), then the error.
  messages.shown.clear();
  EXPECT_FALSE(SaveProfile("/dev/full"));
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[1], cannotCreate);
  EXPECT_EQ(ws.fileName, "");

  if (geteuid() != 0) {  // permissions do not stop root
    messages.shown.clear();
    const std::string locked = folder / "locked";
    std::filesystem::create_directory(locked);
    std::filesystem::permissions(locked, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_FALSE(SaveProfile(locked + "/p.csv"));
    EXPECT_EQ(messages.shown, std::vector<MessageBox>{cannotCreate});
    std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
  }
}

// A disk that fills up part-way through the write: the old file survives
// whole and no temporary file is left behind.
TEST_F(ProfileFilesTest, ADiskFullWriteKeepsTheOldFile) {
  std::vector<LayerText> layers(20, {"1.5", "1.8", "200"});
  FillGrid(ws.grid, "A", layers, "2.2", "800");
  FakeResult(20, 400);
  const std::string path = folder.Write("keep.csv", "the old result");

  struct rlimit saved {};
  getrlimit(RLIMIT_FSIZE, &saved);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = SaveResult(path);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(written);
  ASSERT_EQ(messages.shown.size(), 2u);  // the overwrite question, then the error
  EXPECT_EQ(messages.shown[1], FileErrorBox("ファイルを作成することができませんでした"));
  EXPECT_EQ(TempFolder::Read(path), "the old result");
  size_t entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder.path())) ++entries;
  EXPECT_EQ(entries, 1u);
}

TEST_F(ProfileFilesTest, WritersRefuseWhatCannotBeWrittenBeforeAskingForAName) {
  // The grid's own refusal.
  EXPECT_FALSE(SaveProfile(folder / "x.csv"));
  EXPECT_EQ(messages.shown, std::vector<MessageBox>{ErrorBox("数値の入っていないセルがあります！", "データエラー")});

  FillGrid(ws.grid, "A", {{"1", "1", "100"}, {"2", "1.5", "150"}}, "", "500");
  messages.shown.clear();
  EXPECT_FALSE(SaveResult(folder / "x.csv"));
  EXPECT_EQ(messages.shown,
            std::vector<MessageBox>{ErrorBox("基盤層（第3層）の密度が与えられていません！", "データエラー")});
  EXPECT_EQ(ws.profile.layerCount, 0);  // the grid was not taken over

  // No analysis yet, then an analysis of fewer layers than the grid now has.
  FillGrid(ws.grid, "A", {{"1", "1", "100"}, {"2", "1.5", "150"}}, "2", "500");
  const MessageBox noResult = ErrorBox("保存する増幅特性の計算結果がありません", "データエラー");
  messages.shown.clear();
  EXPECT_FALSE(SaveResult(folder / "x.csv"));
  EXPECT_EQ(messages.shown, std::vector<MessageBox>{noResult});
  FakeResult(1, 100);
  messages.shown.clear();
  EXPECT_FALSE(SaveResult(folder / "x.csv"));
  EXPECT_EQ(messages.shown, std::vector<MessageBox>{noResult});
  FakeResult(2, 100);
  ws.result.complete = false;  // an interrupted analysis
  messages.shown.clear();
  EXPECT_FALSE(SaveResult(folder / "x.csv"));
  EXPECT_EQ(messages.shown, std::vector<MessageBox>{noResult});

  // A site name CP932 cannot hold, and one too long for the reader's line.
  ws.grid.EdSite = "地点\U0001F600";
  messages.shown.clear();
  EXPECT_FALSE(SaveProfile(folder / "x.csv"));
  EXPECT_EQ(messages.shown,
            std::vector<MessageBox>{ErrorBox("地点名に Shift-JIS で保存できない文字があります", "データエラー")});
  std::string longest;
  for (int i = 0; i < 44; ++i) longest += "地";
  ws.grid.EdSite = longest + "あ";  // 90 bytes: one too many
  messages.shown.clear();
  EXPECT_FALSE(SaveProfile(folder / "x.csv"));
  EXPECT_EQ(messages.shown,
            std::vector<MessageBox>{ErrorBox("地点名が長すぎてファイルに保存できません", "データエラー")});

  // Values so large that their line would be cut when read.
  ws.grid.EdSite = "A";
  ws.grid.SetCell(1, 2, "3e38");
  ws.grid.SetCell(2, 2, "3e38");
  ws.grid.SetCell(3, 2, "3e38");
  messages.shown.clear();
  EXPECT_FALSE(SaveProfile(folder / "x.csv"));
  EXPECT_EQ(messages.shown,
            std::vector<MessageBox>{ErrorBox("第2層の数値が大きすぎてファイルに保存できません", "データエラー")});

  EXPECT_TRUE(dialogs.saveRequests.empty());
  EXPECT_FALSE(std::filesystem::exists(folder / "x.csv"));

  // The longest site name that fits comes back whole.
  ws.grid.SetCell(1, 2, "2");
  ws.grid.SetCell(2, 2, "1.5");
  ws.grid.SetCell(3, 2, "150");
  ws.grid.EdSite = longest + "a";  // 89 bytes
  ASSERT_TRUE(SaveProfile(folder / "x.csv"));
  ASSERT_TRUE(Load(folder / "x.csv"));
  EXPECT_EQ(ws.profile.siteName, longest + "a");
}

// ---------------------------------------------------------------------------
// Reading

TEST_F(ProfileFilesTest, ReadingFillsProfileGridAndLabels) {
  ws.startDir = "/start";
  ws.profile.layers[0].dampingRatio = 0.07f;
  for (int row = 1; row < ProfileGrid::kRows; ++row) ws.grid.SetCell(4, row, "old");
  ASSERT_TRUE(Load(folder.Write("two.csv", kTwoLayers)));
  EXPECT_TRUE(messages.shown.empty());
  ASSERT_EQ(dialogs.openRequests.size(), 1u);
  EXPECT_EQ(dialogs.openRequests[0].filter, kOpenDialogFilter);
  EXPECT_EQ(dialogs.openRequests[0].initialFolder, "/start");

  const SoilProfile& p = ws.profile;
  EXPECT_EQ(p.siteName, "地点A");
  EXPECT_EQ(p.layerCount, 2);
  EXPECT_EQ(p.layers[0].thickness, 2.5f);
  EXPECT_EQ(p.layers[1].density, 1.9f);
  EXPECT_EQ(p.layers[2].density, 2.1f);
  EXPECT_EQ(p.layers[2].vs, 700.0f);
  EXPECT_EQ(p.layers[1].bottomDepth, 10.5f);
  EXPECT_EQ(p.totalDepth, 10.5f);
  EXPECT_EQ(p.maxVs, 300.0f);
  EXPECT_EQ(p.layers[0].dampingRatio, 0.07f);  // not part of a file

  const ProfileGrid& g = ws.grid;
  const std::vector<std::vector<std::string>> rows = {
      {"  2.50", "  1.70", "   120", "  0.00"},
      {"  8.00", "  1.90", "   300", "  2.50"},
      {"", "  2.10", "   700", " 10.50"},
  };
  for (int row = 1; row <= 3; ++row)
    for (int col = 1; col <= 4; ++col) EXPECT_EQ(g.Cell(col, row), rows[row - 1][col - 1]) << row << "," << col;
  for (int row = 4; row < ProfileGrid::kRows; ++row) EXPECT_EQ(g.Cell(4, row), "");
  EXPECT_EQ(g.UpDown1Position(), 2);
  EXPECT_EQ(g.EdSite, "地点A");
  EXPECT_EQ(ws.fileName, "two.csv");
  EXPECT_EQ(ws.Label3, "ﾌｧｲﾙ名 : two.csv");
  EXPECT_EQ(g.Label7, "ﾌｧｲﾙ名 : two.csv");
}

TEST_F(ProfileFilesTest, ABaseValueTheFileDoesNotGiveIsNotTakenFromAnEarlierProfile) {
  ws.profile.layers[2].density = 1.95f;  // left from an earlier, longer profile
  ws.profile.layers[2].vs = 500.0f;
  const std::string head = "サイト名,B\r\n層数,2\r\n層番号\r\n1,2,1.7,120\r\n2,8,1.9,300\r\n";
  // No base line, or an empty velocity field: the editor's own check names
  // the missing velocity before the file replaces anything.
  for (const std::string& base : {std::string(), std::string(",,2.20,\r\n")}) {
    const std::string path = folder.Write("nobase.csv", Sjis(head + base));
    messages.shown.clear();
    EXPECT_FALSE(Load(path));
    EXPECT_EQ(messages.shown,
              std::vector<MessageBox>{
                  ErrorBox("ファイル " + path + " の基盤層（第3層）のＳ波速度が与えられていません！", "データエラー")});
    EXPECT_EQ(ws.profile.layers[2].vs, 500.0f);
    EXPECT_EQ(ws.profile.layerCount, 0);
  }
  ASSERT_TRUE(Load(folder.Write("base.csv", Sjis(head + ",,2.20,600\r\n"))));
  EXPECT_EQ(ws.profile.layers[2].density, 2.2f);
  EXPECT_EQ(ws.profile.layers[2].vs, 600.0f);
}

TEST_F(ProfileFilesTest, RefusedFilesLeaveEverythingAsItWas) {
  LoadTwoLayers();
  const Snapshot before(ws);
  auto refused = [&](const std::string& bytes, const std::string& text) {
    const std::string path = folder.Write("bad.csv", bytes);
    messages.shown.clear();
    EXPECT_FALSE(Load(path)) << text;
    EXPECT_EQ(messages.shown, std::vector<MessageBox>{FileErrorBox("ファイル " + path + text)});
    EXPECT_TRUE(Snapshot(ws) == before) << text;
  };
  const std::string site = Sjis("サイト名,C\r\n");
  const std::string header = Sjis("層番号,層厚(m),密度,S波速度(m/s)\r\n");
  for (const char* count : {"0", "-1", "21", "29", "30", "1000000000"}) {
    refused(site + Sjis("層数,") + count + "\r\n" + header + "1,1,1,100\r\n",
            std::string(" の層数 ") + count + " は 1～20 の範囲にありません");
  }
  const std::string endsEarly = " は途中で終わっています（層データが足りません）";
  refused("", endsEarly);
  refused(site, endsEarly);
  refused(site + Sjis("層数,2\r\n"), endsEarly);
  refused(site + Sjis("層数,2\r\n") + header + "1,1,1,100\r\n", endsEarly);

  const std::string notCp932 = " に Shift-JIS として読めない文字があります";
  refused("\x83\x54\x83,C\r\n", notCp932);  // a lead byte without its trail byte
  refused(site +
              "\x91\x77\x90\x94,\xa0"
              "2\r\n",
          notCp932);  // 0xA0 is no CP932 character
  refused(site + Sjis("層数,1\r\n") + header + "1,1,1,100\r\n,,2,\xfd\r\n", notCp932);

  // A missing file, a folder, and a file that cannot be read.
  messages.shown.clear();
  EXPECT_FALSE(Load(folder / "absent.csv"));
  EXPECT_FALSE(Load(folder.path().string()));
  EXPECT_EQ(messages.shown[1].text, "ファイル " + folder.path().string() + " はありません");
  const std::string socketPath = folder / "socket";
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  EXPECT_FALSE(Load(socketPath));
  close(fd);
  EXPECT_EQ(messages.shown.back(), FileErrorBox("ファイルを読み出すことができませんでした"));
  EXPECT_TRUE(Snapshot(ws) == before);

  // A pipe with no writer reads as an empty file instead of hanging.
  const std::string pipe = folder / "pipe";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_FALSE(Load(pipe));
  EXPECT_EQ(messages.shown.back(),
            FileErrorBox("ファイル " + pipe + " は途中で終わっています（層データが足りません）"));
  EXPECT_TRUE(Snapshot(ws) == before);

  // Cancel: nothing at all.
  messages.shown.clear();
  dialogs.AnswerOpen(std::nullopt);
  EXPECT_FALSE(files.LoadProfileFile());
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(Snapshot(ws) == before);
}

TEST_F(ProfileFilesTest, DamagedFilesAreRefusedNamingTheFileTheLineAndTheCause) {
  LoadTwoLayers();
  const Snapshot before(ws);
  enum Kind { DataBox, FileBox, Raises };
  struct Case {
    std::string bytes;
    Kind kind;
    std::string says;  // after "ファイル PATH"; a fault names no file
  };
  const std::string head = Sjis("サイト名,C\r\n層数,3\r\nh\r\n");
  const std::string layers = "1,1,1,100\r\n2,1,1,100\r\n3,1,1,100\r\n";
  std::string longHeader = Sjis("層番号,層厚(m),密度,S波速度(m/s)");
  longHeader.resize(120, ' ');
  const std::string shifted = "' の後の空白で値が次の欄にずれています（コンマの前に空白は置けません）";
  const Case cases[] = {
      // The editor's checks of the values, and a velocity no analysis takes.
      {head + layers, DataBox, " の基盤層（第4層）のＳ波速度が与えられていません！"},
      {head + layers + "2.00,400\r\n", DataBox, " の基盤層（第4層）のＳ波速度が与えられていません！"},
      {head + layers + ",,2.0,\r\n", DataBox, " の基盤層（第4層）のＳ波速度が与えられていません！"},
      {head + layers + ",,,400\r\n", DataBox, " の基盤層（第4層）の密度が与えられていません！"},
      {head + "1,1,1,100\r\n2,1,1,0\r\n3,1,1,100\r\n,,2,500\r\n", DataBox,
       " の第2層のＳ波速度に0以下の値は設定できません！"},
      {head + layers + ",,2,-500\r\n", DataBox, " の基盤層（第4層）のＳ波速度に0以下の値は設定できません！"},
      // Fields quoted as they stand, on the line they stand on.
      {Sjis("サイト名,C\r\n層数,x\r\n"), Raises, " の 2 行目: 'x' は整数ではありません"},
      {Sjis("サイト名,C\r\n層数\r\n"), Raises, " の 2 行目: '' は整数ではありません"},
      {head + "1,1,1,100\r\n2,1,abc,100\r\n3,1,1,100\r\n,,2,500\r\n", Raises,
       " の 5 行目: 'abc' は浮動小数点数ではありません"},
      {head + "1,,1,100\r\n", Raises, " の 4 行目: '' は浮動小数点数ではありません"},
      {head + layers + ",,2,5x\r\n", Raises, " の 7 行目: '5x' は浮動小数点数ではありません"},
      {head + "1,1,1,100\r\n2,1,1,100\r\n3 ,2.00,1.80,150\r\n,,2,500\r\n", FileBox, " の 6 行目: '3 " + shifted},
      {head + "1,12 ,1.8,150\r\n", FileBox, " の 4 行目: '12 " + shifted},
      {head + layers + ",,2.1 ,700\r\n", FileBox, " の 7 行目: '2.1 " + shifted},
      {Sjis("サイト名,C\r\n層数,3\r\n") + longHeader + "\r\n" + layers + ",,2,500\r\n", FileBox,
       " の見出しの行が長すぎて読み込めません"},
      {Sjis("サイト名,C\r\n層数,5\r\nh\r\n") + layers + ",,2,500\r\n", FileBox,
       " の 2 行目: 層数 5 に対して層の行が 3 行しかありません"},
      // What only the arithmetic finds keeps its fault.
      {head + "1,1,1,100\r\n2,1,1e39,100\r\n3,1,1,100\r\n,,2,500\r\n", Raises, "浮動小数点数のオーバーフロー"},
      {head + "1,3e38,1,100\r\n2,3e38,1,100\r\n3,1,1,100\r\n,,2,500\r\n", Raises,
       "浮動小数点数のオーバーフロー"},  // the depth sum overflows
  };
  for (const Case& c : cases) {
    const std::string path = folder.Write("bad.csv", c.bytes);
    const std::string text = c.says.starts_with(" ") ? "ファイル " + path + c.says : c.says;
    messages.shown.clear();
    if (c.kind == Raises) {
      try {
        Load(path);
        ADD_FAILURE() << "no error for " << text;
      } catch (const UserActionError& e) {
        EXPECT_EQ(std::string(e.what()), text);
      }
      EXPECT_TRUE(messages.shown.empty()) << text;
    } else {
      EXPECT_FALSE(Load(path)) << text;
      EXPECT_EQ(messages.shown,
                std::vector<MessageBox>{ErrorBox(text, c.kind == DataBox ? "データエラー" : "ファイルエラー")});
    }
    EXPECT_TRUE(Snapshot(ws) == before) << text;
  }
}

TEST_F(ProfileFilesTest, OddButReadableLines) {
  // LF alone, forty fields, a lone CR inside a line, a line cut by the buffer.
  std::string forty = "1,2.5,1.7,120";
  for (int i = 4; i < 40; ++i) forty.append(",x");
  ASSERT_TRUE(Load(folder.Write("odd.csv", Sjis("サイト名,D\n層数,2\n\n") + forty + "\n2,1,1,1,\r9\n,,2,500")));
  EXPECT_EQ(ws.profile.layers[0].vs, 120.0f);
  EXPECT_EQ(ws.profile.layers[2].vs, 500.0f);

  // 98 bytes before the line end fit; 99 are cut, and the rest would shift
  // every line after it, so the file is refused.
  const std::string fits = "1,2,1.7,120" + std::string(98 - 11, ' ');
  ASSERT_TRUE(Load(folder.Write("fits.csv", Sjis("サイト名,E\r\n層数,1\r\nh\r\n") + fits + "\r\n,,2,500\r\n")));
  EXPECT_EQ(ws.profile.layers[1].vs, 500.0f);
  EXPECT_EQ(ws.profile.layers[1].density, 2.0f);
  const std::string cut = folder.Write("cut.csv", Sjis("サイト名,E\r\n層数,1\r\nh\r\n") + fits + " \r\n,,2,500\r\n");
  EXPECT_FALSE(Load(cut));
  EXPECT_EQ(messages.shown.back(), FileErrorBox("ファイル " + cut + " の第1層の行が長すぎて読み込めません"));
}

// ---------------------------------------------------------------------------
// Files saved as UTF-8, and lines too long to read

const std::string kBom = "\xEF\xBB\xBF";

std::string Utf8(const std::string& cp932) { return Cp932ToUtf8(cp932).value(); }

// ASCII padding, then double-byte characters, so that the 100-byte buffer
// cuts the line between the two bytes of a character.
std::string CutInsideACharacter(const std::string& start) {
  std::string line = start;
  if (Sjis(line).size() % 2 != 0) line += "x";
  while (Sjis(line).size() < 104) line += "粘";
  return line;
}

TEST_F(ProfileFilesTest, Utf8FilesReadAsTheirCp932Twins) {
  FakeResult(2, 100);
  ws.profile = {};
  FillGrid(ws.grid, "地点Ａ－１", {{"2.5", "1.7", "120"}, {"8", "1.9", "300"}}, "2.1", "700");
  ASSERT_TRUE(SaveResult(folder / "result.csv"));
  const std::string result = TempFolder::Read(folder / "result.csv");

  std::vector<std::string> cp932Files = {kTwoLayers, result};
  for (const char* example : {"five-layers.csv", "single-layer.csv", "twenty-layers.csv", "velocity-inversion.csv"}) {
    cp932Files.push_back(TempFolder::Read(std::string(TOVALK_SOURCE_DIR) + "/examples/" + example));
  }
  const std::string other = Sjis("サイト名,別\r\n層数,1\r\nh\r\n1,9,9,99\r\n,,9,999\r\n");
  for (const std::string& cp932 : cp932Files) {
    // Each read starts from another profile, so nothing is left over from the twin.
    ASSERT_TRUE(Load(folder.Write("other.csv", other)));
    ASSERT_TRUE(Load(folder.Write("twin.csv", cp932)));
    const Snapshot expected(ws);
    std::string lfOnly = Utf8(cp932);
    for (size_t at; (at = lfOnly.find("\r\n")) != std::string::npos;) lfOnly.erase(at, 1);
    for (const std::string& utf8 : {kBom + Utf8(cp932), Utf8(cp932), lfOnly}) {
      ASSERT_TRUE(Load(folder.Write("other.csv", other)));
      ASSERT_TRUE(Load(folder.Write("twin.csv", utf8))) << utf8;
      EXPECT_TRUE(Snapshot(ws) == expected) << utf8;
    }
  }
  EXPECT_TRUE(messages.shown.empty());
  ASSERT_TRUE(Load(folder.Write("twin.csv", Utf8(result))));
  EXPECT_EQ(ws.profile.siteName, "地点Ａ－１");
  EXPECT_EQ(ws.profile.layers[2].vs, 700.0f);
}

TEST_F(ProfileFilesTest, TheLineRuleCountsTheBytesAFileWouldHaveInCp932) {
  // 98 bytes in CP932 (146 in UTF-8) fit; 99 are cut, and a cut line is
  // refused rather than read with its rest as the count line.
  // "密" in UTF-8 is no CP932 text, so the file without the mark is UTF-8 too.
  std::string name;
  for (int i = 0; i < 44; ++i) name += "密";
  const std::string rest = "\r\n層数,1\r\nh\r\n1,2,1.7,120\r\n,,2,500\r\n";
  for (const std::string& bom : {std::string(), kBom}) {
    ASSERT_TRUE(Load(folder.Write("fits.csv", bom + "サイト名," + name + "A" + rest)));
    EXPECT_EQ(ws.profile.siteName, name + "A");
    ASSERT_EQ(Sjis("サイト名," + name + "A").size(), 98u);
    const std::string cut = folder.Write("cut.csv", bom + "サイト名," + name + "AB" + rest);
    messages.shown.clear();
    EXPECT_FALSE(Load(cut));
    EXPECT_EQ(messages.shown,
              std::vector<MessageBox>{FileErrorBox("ファイル " + cut + " の地点名が長すぎて読み込めません")});
  }
}

TEST_F(ProfileFilesTest, ALineCutInsideACharacterIsTooLongNotUnreadable) {
  LoadTwoLayers();
  const Snapshot before(ws);
  const std::string head = "サイト名,C\r\n層数,2\r\n層番号,層厚(m),密度,S波速度(m/s)\r\n";
  const std::string layers = "1,1,1,100\r\n2,1,1,100\r\n";
  struct Case {
    std::string utf8;
    std::string says;
  };
  const Case cases[] = {
      {CutInsideACharacter("サイト名,A") + "\r\n層数,2\r\n", "の地点名が長すぎて読み込めません"},
      {"サイト名,C\r\n" + CutInsideACharacter("層数,2,") + "\r\n", "の層数の行が長すぎて読み込めません"},
      {"サイト名,C\r\n層数,2\r\n" + CutInsideACharacter("層番号,") + "\r\n", "の見出しの行が長すぎて読み込めません"},
      {head + "1,1,1,100\r\n" + CutInsideACharacter("2,1,1,100,") + "\r\n,,2,500\r\n",
       "の第2層の行が長すぎて読み込めません"},
      {head + layers + CutInsideACharacter(",,2,500,") + "\r\n", "の基盤層（第3層）の行が長すぎて読み込めません"},
  };
  for (const Case& c : cases) {
    for (const std::string& bytes : {Sjis(c.utf8), c.utf8, kBom + c.utf8}) {
      const std::string path = folder.Write("long.csv", bytes);
      messages.shown.clear();
      EXPECT_FALSE(Load(path)) << c.says;
      EXPECT_EQ(messages.shown, std::vector<MessageBox>{FileErrorBox("ファイル " + path + " " + c.says)});
      EXPECT_TRUE(Snapshot(ws) == before) << c.says;
    }
  }
  // A cut after a whole character, and a line cut by the buffer after the
  // base line, are no such problem.
  ASSERT_TRUE(Load(folder.Write("fine.csv", Sjis(head + layers + ",,2,500\r\n" + CutInsideACharacter("x")))));
}

TEST_F(ProfileFilesTest, Utf8ThatCp932CannotHoldIsRefusedAndNeitherKeepsTheShiftJisMessage) {
  LoadTwoLayers();
  const Snapshot before(ws);
  const std::string path =
      folder.Write("emoji.csv", kBom + "サイト名,地点😀\r\n層数,1\r\nh\r\n1,2,1.7,120\r\n,,2,500\r\n");
  messages.shown.clear();
  EXPECT_FALSE(Load(path));
  EXPECT_EQ(messages.shown,
            std::vector<MessageBox>{FileErrorBox("ファイル " + path + " に Shift-JIS で表せない文字があります")});
  EXPECT_TRUE(Snapshot(ws) == before);

  // A UTF-8 mark before CP932 text is neither kind of file.
  const std::string mixed = folder.Write("mixed.csv", kBom + kTwoLayers);
  messages.shown.clear();
  EXPECT_FALSE(Load(mixed));
  EXPECT_EQ(messages.shown,
            std::vector<MessageBox>{FileErrorBox("ファイル " + mixed + " に Shift-JIS として読めない文字があります")});
  EXPECT_TRUE(Snapshot(ws) == before);
}

TEST(ProfileReaderGarbageTest, NeverCrashesAndNeverHalfReads) {
  std::mt19937 random(1234);
  for (int round = 0; round < 2000; ++round) {
    std::string bytes(random() % 600, '\0');
    for (char& c : bytes) c = static_cast<char>(random() % 7 == 0 ? "0123456789,.\n"[random() % 13] : random());
    try {
      const ProfileFileParse parse = ParseProfileFile(bytes);
      if (parse.problem == ProfileFileProblem::None) {
        EXPECT_GE(parse.data.layerCount, 1);
        EXPECT_LE(parse.data.layerCount, 20);
      }
    } catch (const UserActionError&) {
    }
  }
  const std::string longLine = Sjis("サイト名,") + std::string(5000, 'x') + "\r\n";
  EXPECT_EQ(ParseProfileFile(longLine).problem, ProfileFileProblem::LineTooLong);
}

}  // namespace
