#include "windows/SettingsFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

const std::string kDefaultFile =
    "0,\x89\xf0\x90\xcd\x96@\r\n"
    "0,\x8c\xb8\x90\x8a\x8c^\r\n"
    "0.05,\x8c\xb8\x90\x8a\x94\xe4\r\n"
    "0,X\x8e\xb2\x89\xba\x8c\xc0\r\n"
    "5,X\x8e\xb2\x8f\xe3\x8c\xc0\r\n"
    "5,X\x8e\xb2\x95\xaa\x8a\x84\r\n"
    "5,X\x8e\xb2\x95\x9b\x95\xaa\x8a\x84\r\n"
    "0,X\x8e\xb2\x97\xca\r\n"
    "0,X\x8e\xb2\x96\xda\x90\xb7\r\n"
    "0,Y\x8e\xb2\x89\xba\x8c\xc0\r\n"
    "20,Y\x8e\xb2\x8f\xe3\x8c\xc0\r\n"
    "4,Y\x8e\xb2\x95\xaa\x8a\x84\r\n"
    "5,Y\x8e\xb2\x95\x9b\x95\xaa\x8a\x84\r\n"
    "0,Y\x8e\xb2\x96\xda\x90\xb7\r\n"
    "1,\x89\xf0\x90\xcd\x93_\x90\x94\r\n";

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("tovalk-settings-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  fs::path Ini() const { return folder_ / kSettingsFileName; }
  void Write(const std::string& bytes) const { std::ofstream(Ini(), std::ios::binary) << bytes; }
  std::string Read() const {
    std::ifstream in(Ini(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  AnalysisSettings Load(const std::string& bytes) const {
    Write(bytes);
    AnalysisSettings settings;
    EXPECT_EQ(LoadSettings(Ini(), settings), SettingsLoad::Loaded);
    return settings;
  }

  fs::path folder_;
};

TEST_F(SettingsFileTest, MissingFileKeepsTheDefaults) {
  AnalysisSettings settings;
  EXPECT_EQ(LoadSettings(Ini(), settings), SettingsLoad::Missing);
  EXPECT_EQ(settings, AnalysisSettings{});
  EXPECT_EQ(settings.pointChoice, PointChoice::Points200);
  EXPECT_EQ(settings.yUpper, "20");
}

TEST_F(SettingsFileTest, DefaultsAreWrittenByteForByte) {
  std::string error = "untouched";
  ASSERT_TRUE(SaveSettings(Ini(), AnalysisSettings{}, &error));
  EXPECT_EQ(error, "untouched");
  EXPECT_EQ(Read(), kDefaultFile);
  // Nothing else is left in the folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
  EXPECT_EQ(Load(kDefaultFile), AnalysisSettings{});
}

TEST_F(SettingsFileTest, SavedValuesReadBackAsTheyWere) {
  AnalysisSettings saved;
  saved.method = AnalysisMethod::Reflection;
  saved.dampingForm = DampingForm::Viscous;
  saved.dampingText = "０.03";  // a full-width digit survives the round trip as typed
  saved.xLower = "0.1";
  saved.xUpper = "10";
  saved.xDivisions = 10;
  saved.xSubDivisions = 0;
  saved.xQuantity = XQuantity::Frequency;
  saved.xScale = ScaleKind::Logarithmic;
  saved.yLower = "1";
  saved.yUpper = "abc";  // saved as it stands, valid or not
  saved.yDivisions = 1;
  saved.ySubDivisions = 3;
  saved.yScale = ScaleKind::Logarithmic;
  saved.pointChoice = PointChoice::Points400;
  saved.displayLayers[7] = true;  // not persisted
  saved.boldCurves = false;       // not persisted
  ASSERT_TRUE(SaveSettings(Ini(), saved));

  AnalysisSettings loaded;
  ASSERT_EQ(LoadSettings(Ini(), loaded), SettingsLoad::Loaded);
  AnalysisSettings expected = saved;
  expected.displayLayers = AnalysisSettings{}.displayLayers;
  expected.boldCurves = true;
  EXPECT_EQ(loaded, expected);
}

TEST_F(SettingsFileTest, ValuesAreBroughtIntoTheirControlsRanges) {
  const AnalysisSettings s = Load(
      "7,\x89\xf0\x90\xcd\x96@\n"  // 7,解析法: beyond the last method chooses the last
      "+1xyz,label\n"
      "0.05,label\n"
      "0,label\n"
      "5,label\n"
      "12,X\x8e\xb2\x95\xaa\x8a\x84\n"  // 12,X軸分割
      "-1,label\n"
      "-3,X\x8e\xb2\x97\xca\n"  // -3,X軸量: no item chosen
      "x,label\n"
      "0,label\n"
      "20,label\n"
      "0,label\n"
      "99999999999999999999,label\n"
      "3,label\n"
      "-99999999999999999999,label\n");
  EXPECT_EQ(s.method, AnalysisMethod::Reflection);
  EXPECT_EQ(s.dampingForm, DampingForm::Viscous);
  EXPECT_EQ(s.xDivisions, 10);
  EXPECT_EQ(s.xSubDivisions, 0);
  EXPECT_EQ(s.xQuantity, XQuantity::None);
  EXPECT_EQ(s.xScale, ScaleKind::Linear);  // no digits gives 0
  EXPECT_EQ(s.yDivisions, 1);
  EXPECT_EQ(s.ySubDivisions, 5);
  EXPECT_EQ(s.yScale, ScaleKind::Logarithmic);
  EXPECT_EQ(s.pointChoice, PointChoice::None);
}

// The choices go to the file as their stored index: a group with no item
// chosen as -1 and back as no choice, an index beyond the items as it stands.
TEST(SettingsFileChoices, NoChoiceIsMinusOneAndAnOutOfRangeIndexIsWrittenAsItStands) {
  AnalysisSettings none;
  none.method = AnalysisMethod::None;
  none.dampingForm = DampingForm::None;
  none.xQuantity = XQuantity::None;
  none.xScale = ScaleKind::None;
  none.yScale = ChoiceOf<ScaleKind>(4);
  none.pointChoice = PointChoice::None;
  std::string bytes;
  ASSERT_TRUE(FormatSettings(none, bytes));
  std::string expected = kDefaultFile;
  for (const auto& [from, to] : {std::pair<std::string, std::string>{"0,\x89\xf0", "-1,\x89\xf0"},
                                 {"0,\x8c\xb8\x90\x8a\x8c^", "-1,\x8c\xb8\x90\x8a\x8c^"},
                                 {"0,X\x8e\xb2\x97\xca", "-1,X\x8e\xb2\x97\xca"},
                                 {"0,X\x8e\xb2\x96\xda", "-1,X\x8e\xb2\x96\xda"},
                                 {"0,Y\x8e\xb2\x96\xda", "4,Y\x8e\xb2\x96\xda"},
                                 {"1,\x89\xf0\x90\xcd\x93_", "-1,\x89\xf0\x90\xcd\x93_"}}) {
    const size_t at = expected.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    expected.replace(at, from.size(), to);
  }
  EXPECT_EQ(bytes, expected);

  AnalysisSettings read;
  ParseSettings(bytes, read);
  AnalysisSettings want = none;
  want.yScale = ScaleKind::Logarithmic;  // read into the group's range: its last item
  EXPECT_EQ(read, want);
}

TEST_F(SettingsFileTest, LimitTypedWithABlankIsSavedAsTypedAndReadAsItsFirstPart) {
  AnalysisSettings settings;
  settings.yUpper = "1 0";
  ASSERT_TRUE(SaveSettings(Ini(), settings));
  const std::string bytes = Read();
  EXPECT_NE(bytes.find("\r\n1 0,Y\x8e\xb2\x8f\xe3\x8c\xc0\r\n"), std::string::npos);
  AnalysisSettings loaded;
  ASSERT_EQ(LoadSettings(Ini(), loaded), SettingsLoad::Loaded);
  EXPECT_EQ(loaded.yUpper, "1");
}

TEST_F(SettingsFileTest, LineEndsAndMissingValues) {
  // LF alone, and a value without a label, whose CR LF is a line end and not
  // part of the value.
  AnalysisSettings s = Load("1\r\n1\n0.07\r\n");
  EXPECT_EQ(s.method, AnalysisMethod::LumpedMass);
  EXPECT_EQ(s.dampingForm, DampingForm::Viscous);
  EXPECT_EQ(s.dampingText, "0.07");
  EXPECT_EQ(s.xUpper, "5");  // the lines that are not there keep their defaults
  EXPECT_EQ(s.pointChoice, PointChoice::Points200);

  // Empty, blank and value-less lines keep their settings and do not shift
  // the lines after them.
  s = Load("\n   \n,\x8c\xb8\x90\x8a\x94\xe4\n2\n");
  EXPECT_EQ(s.method, AnalysisMethod::TransferMatrix);
  EXPECT_EQ(s.dampingForm, DampingForm::Hysteretic);
  EXPECT_EQ(s.dampingText, "0.05");
  EXPECT_EQ(s.xLower, "2");

  // A text that is not CP932 keeps its setting.
  s = Load("0\n0\n\x81\x7f,x\n");
  EXPECT_EQ(s.dampingText, "0.05");
  EXPECT_EQ(Load("").xUpper, "5");
}

TEST_F(SettingsFileTest, LongLinesContinueAsTheNextLine) {
  // 199 bytes form one line; the rest of a longer line is read as the next.
  const std::string longLine = "0.05," + std::string(194, 'x') + "7,tail\n";
  ASSERT_EQ(longLine.size(), 206u);
  const AnalysisSettings s = Load("1\n1\n" + longLine + "3,X\n8\n");
  EXPECT_EQ(s.dampingText, "0.05");
  EXPECT_EQ(s.xLower, "7");
  EXPECT_EQ(s.xUpper, "3");
  EXPECT_EQ(s.xDivisions, 8);
  // A CR LF counts as one byte, as a text-mode read sees it.
  const std::string exact = "0.06," + std::string(193, 'y') + "\r\n";
  const AnalysisSettings t = Load("1\r\n1\r\n" + exact + "4\r\n9\r\n");
  EXPECT_EQ(t.dampingText, "0.06");
  EXPECT_EQ(t.xLower, "4");
  EXPECT_EQ(t.xUpper, "9");
}

TEST_F(SettingsFileTest, FailedSaveLeavesTheOldFileAndSaysWhy) {
  Write(kDefaultFile);
  AnalysisSettings settings;
  settings.xUpper = "5😀";
  std::string error;
  EXPECT_FALSE(SaveSettings(Ini(), settings, &error));
  EXPECT_EQ(error, "'5😀' はShift-JISで保存できない文字を含んでいます");
  EXPECT_EQ(Read(), kDefaultFile);

  error.clear();
  EXPECT_FALSE(SaveSettings(folder_ / "no-such-folder" / kSettingsFileName, AnalysisSettings{}, &error));
  const fs::path missing = folder_ / "no-such-folder" / kSettingsFileName;
  EXPECT_EQ(error,
            "設定ﾌｧｲﾙ " + missing.string() + " を保存できません（そのようなファイルやディレクトリはありません）");

  // A folder where the file should be: the reason in Japanese too.
  fs::create_directory(folder_ / "taken");
  error.clear();
  EXPECT_FALSE(SaveSettings(folder_ / "taken", AnalysisSettings{}, &error));
  EXPECT_EQ(error, "設定ﾌｧｲﾙ " + (folder_ / "taken").string() + " を保存できません（ディレクトリです）");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 2);
}

TEST_F(SettingsFileTest, LineBreaksInAFieldCannotShiftTheFile) {
  AnalysisSettings settings;
  settings.dampingText = "0.04\r\n9";
  ASSERT_TRUE(SaveSettings(Ini(), settings));
  AnalysisSettings loaded;
  ASSERT_EQ(LoadSettings(Ini(), loaded), SettingsLoad::Loaded);
  EXPECT_EQ(loaded.dampingText, "0.04");
  EXPECT_EQ(loaded.xLower, "0");
  EXPECT_EQ(loaded.pointChoice, PointChoice::Points200);
}

}  // namespace

namespace {

TEST(SettingsFileUtf8, AnEditorsUtf8FileReadsAsItsCp932Twin) {
  // Saved from an editor as UTF-8 with the mark: before, the mark stood in
  // front of the first value and the method silently became 0.
  const std::string utf8 =
      "2,解析法\r\n1,減衰型\r\n0.03,減衰比\r\n0.1,X軸下限\r\n20,X軸上限\r\n4,X軸分割\r\n2,X軸副分割\r\n"
      "1,X軸量\r\n1,X軸目盛\r\n1,Y軸下限\r\n50,Y軸上限\r\n3,Y軸分割\r\n1,Y軸副分割\r\n1,Y軸目盛\r\n0,解析点数\r\n";
  for (const std::string& bytes : {"\xEF\xBB\xBF" + utf8, utf8}) {
    AnalysisSettings s;
    ParseSettings(bytes, s);
    EXPECT_EQ(s.method, AnalysisMethod::Reflection);
    EXPECT_EQ(s.dampingForm, DampingForm::Viscous);
    EXPECT_EQ(s.dampingText, "0.03");
    EXPECT_EQ(s.xLower, "0.1");
    EXPECT_EQ(s.xUpper, "20");
    EXPECT_EQ(s.xDivisions, 4);
    EXPECT_EQ(s.xSubDivisions, 2);
    EXPECT_EQ(s.yUpper, "50");
    EXPECT_EQ(s.yScale, ScaleKind::Logarithmic);
    EXPECT_EQ(s.pointChoice, PointChoice::Points100);
  }
  // A label CP932 cannot hold still leaves every value readable.
  AnalysisSettings s;
  ParseSettings(
      "\xEF\xBB\xBF"
      "1,解析法😀\r\n1,減衰型\r\n0.02,減衰比\r\n",
      s);
  EXPECT_EQ(s.method, AnalysisMethod::LumpedMass);
  EXPECT_EQ(s.dampingForm, DampingForm::Viscous);
  EXPECT_EQ(s.dampingText, "0.02");
}

}  // namespace
