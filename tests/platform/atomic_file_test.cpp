#include "platform/AtomicFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "TempFolder.h"
#include "platform/StagedGroup.h"

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
  EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

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

TEST(StagedFiles, NothingChangesBeforeTheCommitAndAFailedOneKeepsItsOldFile) {
  TempFolder folder;
  const std::string a = folder.Write("a.csv", "old a");
  fs::permissions(a, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  const std::string b = folder.Write("b.csv", "old b");
  std::vector<StagedFile> staged(3);
  ASSERT_TRUE(StageFileAtomically(a, "new a", staged[0]));
  ASSERT_TRUE(StageFileAtomically(b, "new b", staged[1]));
  ASSERT_TRUE(StageFileAtomically(folder / "c.csv", "new c", staged[2]));
  EXPECT_EQ(TempFolder::Read(a), "old a");
  EXPECT_EQ(TempFolder::Read(staged[1].temp), "new b");
  EXPECT_FALSE(fs::exists(folder / "c.csv"));
  EXPECT_EQ(Entries(folder.path()), 5u);

  // b's temporary file vanishes before the commit: its rename fails.
  fs::remove(staged[1].temp);
  EXPECT_EQ(CommitStagedFiles(staged), (std::vector<bool>{true, false, true}));
  EXPECT_EQ(TempFolder::Read(a), "new a");
  EXPECT_EQ(fs::status(a).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(TempFolder::Read(b), "old b");
  EXPECT_EQ(TempFolder::Read(folder / "c.csv"), "new c");
  EXPECT_EQ(Entries(folder.path()), 3u);  // no temporary file left

  // Staging fails as a save fails, leaving nothing behind; a device is
  // written at once and counts as committed.
  StagedFile none;
  EXPECT_EQ(StageFileAtomically(folder / "none/d.csv", "x", none).error, ENOENT);
  std::vector<StagedFile> device(1);
  ASSERT_TRUE(StageFileAtomically("/dev/null", "x", device[0]));
  EXPECT_TRUE(device[0].temp.empty());
  EXPECT_EQ(CommitStagedFiles(device), std::vector<bool>{true});
  EXPECT_EQ(Entries(folder.path()), 3u);
}

TEST(StagedFiles, AGroupCommitsInOrderWhenDueAndAbandonsWhatItNeverCommitted) {
  TempFolder folder;
  const std::string a = folder.Write("a.csv", "old a");
  std::string log;
  {
    StagedGroup group(2, std::chrono::hours(1));
    EXPECT_FALSE(group.Due());
    for (const char* name : {"a.csv", "b.csv"}) {
      StagedFile file;
      ASSERT_TRUE(StageFileAtomically(folder / name, std::string("new ") + name, file));
      group.Add(std::move(file),
                [&log, name](bool committed) { log += std::string(name) + (committed ? "+ " : "- "); });
      EXPECT_EQ(group.Due(), std::string(name) == "b.csv");
    }
    EXPECT_EQ(log, "");
    group.Commit();
    EXPECT_EQ(log, "a.csv+ b.csv+ ");
    EXPECT_EQ(TempFolder::Read(a), "new a.csv");
    group.Commit();  // nothing left: nothing runs twice
    EXPECT_EQ(log, "a.csv+ b.csv+ ");

    StagedFile late;
    ASSERT_TRUE(StageFileAtomically(a, "never", late));
    group.Add(std::move(late), [&log](bool) { log += "late"; });
    EXPECT_EQ(Entries(folder.path()), 3u);
  }
  // The group ended without a commit: the file is as it was, its temporary
  // file gone, and nothing was reported.
  EXPECT_EQ(log, "a.csv+ b.csv+ ");
  EXPECT_EQ(TempFolder::Read(a), "new a.csv");
  EXPECT_EQ(Entries(folder.path()), 2u);

  // A group is also due once its first file has waited long enough.
  StagedGroup quick(100, std::chrono::milliseconds(0));
  StagedFile file;
  ASSERT_TRUE(StageFileAtomically(a, "quick", file));
  quick.Add(std::move(file), [](bool) {});
  EXPECT_TRUE(quick.Due());
}

// In the background a group's callbacks wait for the caller's next Commit or
// Settle, so what they print comes at the same points whatever the disk took.
TEST(StagedFiles, ABackgroundCommitReportsAtTheCallersNextCommitOrSettle) {
  TempFolder folder;
  const std::string a = folder.Write("a.csv", "old a");
  std::string log;
  auto stage = [&](StagedGroup& group, const std::string& name, const std::string& bytes) {
    StagedFile file;
    ASSERT_TRUE(StageFileAtomically(folder / name, bytes, file));
    group.Add(std::move(file), [&log, name](bool committed) { log += name + (committed ? "+ " : "- "); });
  };
  {
    StagedGroup group(2, std::chrono::hours(1), StagedGroup::Commits::InBackground);
    stage(group, "a.csv", "new a");
    stage(group, "b.csv", "new b");
    group.Commit();
    EXPECT_EQ(log, "");
    // c's target becomes a folder before its commit: it cannot be put in place.
    stage(group, "c.csv", "new c");
    fs::create_directory(folder / "c.csv");
    group.Commit();  // settles a and b first
    EXPECT_EQ(log, "a.csv+ b.csv+ ");
    EXPECT_EQ(TempFolder::Read(a), "new a");
    group.Settle();
    EXPECT_EQ(log, "a.csv+ b.csv+ c.csv- ");
    EXPECT_TRUE(fs::is_directory(folder / "c.csv"));
    group.Settle();
    group.Commit();  // nothing left: nothing runs twice
    EXPECT_EQ(log, "a.csv+ b.csv+ c.csv- ");
    EXPECT_EQ(Entries(folder.path()), 3u);  // a, b and the folder c: no temporary file

    // Handed over and never settled: the file is committed, its callback
    // does not run once the group is gone.
    stage(group, "d.csv", "new d");
    group.Commit();
    stage(group, "e.csv", "never");
  }
  EXPECT_EQ(log, "a.csv+ b.csv+ c.csv- ");
  EXPECT_EQ(TempFolder::Read(folder / "d.csv"), "new d");
  EXPECT_FALSE(fs::exists(folder / "e.csv"));
  EXPECT_EQ(Entries(folder.path()), 4u);
}

}  // namespace
