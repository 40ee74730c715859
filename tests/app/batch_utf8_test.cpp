// tovalk-batch on profiles saved as UTF-8: the same result file, byte for
// byte, as for the CP932 file the program itself would have written.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "app/BatchRun.h"
#include "platform/Cp932.h"
#include "analysis/AnalysisSettings.h"

namespace {

const std::string kExamples = std::string(TOVALK_SOURCE_DIR) + "/examples/";
const char* const kExampleNames[] = {"five-layers", "single-layer", "twenty-layers", "velocity-inversion"};

std::string Utf8Twin(const std::string& cp932File) { return Cp932ToUtf8(TempFolder::Read(cp932File)).value(); }

TEST(BatchUtf8, EveryExampleSavedAsUtf8GivesTheCp932ResultByteForByte) {
  TempFolder folder;
  std::vector<std::string> args = {"--method", "lumped",    "--x", "frequency",    "--x-lower",
                                   "0.1",      "--x-upper", "20",  "--output-dir", folder / "out"};
  for (const char* name : kExampleNames) {
    const std::string cp932 = kExamples + name + ".csv";
    args.push_back(cp932);
    args.push_back(folder.Write(std::string(name) + "-bom.csv", "\xEF\xBB\xBF" + Utf8Twin(cp932)));
    args.push_back(folder.Write(std::string(name) + "-plain.csv", Utf8Twin(cp932)));
  }
  std::ostringstream out, err;
  ASSERT_EQ(RunBatch(args, folder.path().string(), out, err, false), 0) << err.str();
  EXPECT_EQ(err.str(), "");
  for (const char* name : kExampleNames) {
    const std::string expected = TempFolder::Read(folder / "out/" + name + "-result.csv");
    ASSERT_GT(expected.size(), 1000u) << name;
    EXPECT_EQ(TempFolder::Read(folder / "out/" + name + "-bom-result.csv"), expected) << name;
    EXPECT_EQ(TempFolder::Read(folder / "out/" + name + "-plain-result.csv"), expected) << name;
  }
}

TEST(BatchUtf8, RunBatchFileReadsATwinAndReportsWhatCp932CannotHold) {
  TempFolder folder;
  AnalysisSettings settings;
  const std::string cp932 = kExamples + std::string("five-layers.csv");
  const std::string utf8 = folder.Write("utf8.csv", "\xEF\xBB\xBF" + Utf8Twin(cp932));
  ASSERT_TRUE(RunBatchFile(cp932, folder / "a.csv", settings).ok);
  const BatchFileOutcome twin = RunBatchFile(utf8, folder / "b.csv", settings);
  ASSERT_TRUE(twin.ok);
  EXPECT_TRUE(twin.messages.empty());
  EXPECT_EQ(TempFolder::Read(folder / "b.csv"), TempFolder::Read(folder / "a.csv"));

  const std::string emoji = folder.Write("emoji.csv", "サイト名,😀\r\n層数,1\r\nh\r\n1,2,1.7,120\r\n,,2,500\r\n");
  const BatchFileOutcome refused = RunBatchFile(emoji, folder / "c.csv", settings);
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(refused.messages, std::vector<std::string>{"ファイル " + emoji + " に Shift-JIS で表せない文字があります"});
  EXPECT_FALSE(std::ifstream(folder / "c.csv").good());
}

}  // namespace
