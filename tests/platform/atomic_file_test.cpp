#include "platform/AtomicFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "TempFolder.h"

namespace {

namespace fs = std::filesystem;

size_t Entries(const fs::path& folder) {
  size_t count = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++count;
  return count;
}

TEST(AtomicFile, ReplacesTheFileKeepingItsModeAndFollowingLinks) {
  TempFolder folder;
  const std::string path = folder.Write("a.csv", "old");
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_TRUE(WriteFileAtomically(path, "new\r\n"));
  EXPECT_EQ(TempFolder::Read(path), "new\r\n");
  EXPECT_EQ(fs::status(path).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

  // Through a link the linked file is replaced and the link stays a link.
  const std::string link = folder / "link.csv";
  fs::create_symlink(path, link);
  ASSERT_TRUE(WriteFileAtomically(link, "via link"));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(TempFolder::Read(path), "via link");
  EXPECT_EQ(Entries(folder.path()), 2u);  // no temporary file left

  // An empty file is a file too.
  ASSERT_TRUE(WriteFileAtomically(folder / "empty", ""));
  EXPECT_EQ(fs::file_size(folder / "empty"), 0u);
}

TEST(AtomicFile, FailuresLeaveTheTargetAndReportTheReason) {
  TempFolder folder;
  const AtomicWriteResult missingFolder = WriteFileAtomically(folder / "none/a.csv", "x");
  EXPECT_FALSE(missingFolder);
  EXPECT_EQ(missingFolder.error, ENOENT);

  fs::create_directory(folder / "sub");
  const AtomicWriteResult onFolder = WriteFileAtomically(folder / "sub", "x");
  EXPECT_FALSE(onFolder);
  EXPECT_EQ(onFolder.error, EISDIR);
  EXPECT_TRUE(fs::is_directory(folder / "sub"));

  // Devices are written in place, never renamed over.
  EXPECT_TRUE(WriteFileAtomically("/dev/null", "x"));
  const AtomicWriteResult full = WriteFileAtomically("/dev/full", "x");
  EXPECT_FALSE(full);
  EXPECT_EQ(full.error, ENOSPC);
  EXPECT_TRUE(fs::is_character_file("/dev/full"));
  // A pipe nobody reads fails at once rather than hanging.
  const std::string pipe = folder / "pipe";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(WriteFileAtomically(pipe, "x").error, ENXIO);
  EXPECT_EQ(Entries(folder.path()), 2u);
}

}  // namespace
