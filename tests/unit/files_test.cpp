#include "platform/files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "scratch_dir.h"

namespace {

class FilesTest : public testing::Test {
 protected:
  TScratchDir Dir;
};

TEST_F(FilesTest, ReadersShareAndExclusiveOpenSharesWithNobody) {
  Dir.Write("settings.ini", "[Settings]\r\n");
  const std::string path = Dir.Path("settings.ini");
  {
    auto reader = TFile::OpenRead(path);
    ASSERT_TRUE(reader);
    EXPECT_TRUE(TFile::OpenRead(path));
    EXPECT_FALSE(TFile::OpenExclusive(path));
    EXPECT_EQ(reader->ReadAll(), "[Settings]\r\n");
  }
  auto writer = TFile::OpenExclusive(path);
  ASSERT_TRUE(writer);
  EXPECT_FALSE(TFile::OpenRead(path));
  EXPECT_FALSE(TFile::OpenExclusive(path));
  writer->Close();
  EXPECT_TRUE(TFile::OpenExclusive(path));
}

TEST_F(FilesTest, CreateAlwaysEmptiesAndSharesWithNobody) {
  Dir.Write("a.tmp", "old content that is long");
  auto file = TFile::CreateAlways(Dir.Path("a.tmp"));
  ASSERT_TRUE(file);
  EXPECT_FALSE(TFile::OpenRead(Dir.Path("a.tmp")));
  file->Write("new\r\n", 5);
  file->Flush();
  file->Close();
  EXPECT_EQ(Dir.Read("a.tmp"), "new\r\n");
}

TEST_F(FilesTest, RenameReplacingMovesTheNewFileOverTheOld) {
  Dir.Write("settings.ini", "old");
  Dir.Write("settings.ini.tmp", "new");
  ASSERT_TRUE(RenameReplacing(Dir.Path("settings.ini.tmp"), Dir.Path("settings.ini")));
  EXPECT_EQ(Dir.Read("settings.ini"), "new");
  EXPECT_FALSE(FileExists(Dir.Path("settings.ini.tmp")));
  EXPECT_FALSE(RenameReplacing(Dir.Path("settings.ini.tmp"), Dir.Path("settings.ini")));
  EXPECT_TRUE(RemoveFile(Dir.Path("settings.ini")));
  EXPECT_FALSE(RemoveFile(Dir.Path("settings.ini")));
}

TEST_F(FilesTest, CreateNewRefusesAnExistingFile) {
  auto created = TFile::CreateNew(Dir.Path("new.log"));
  ASSERT_TRUE(created);
  created->Close();
  EXPECT_FALSE(TFile::CreateNew(Dir.Path("new.log")));
  EXPECT_FALSE(TFile::CreateNew(Dir.Path("missing") + PathDelim + "x"));
  EXPECT_FALSE(TFile::OpenRead(Dir.Path("absent")));
}

TEST_F(FilesTest, FoldersAreNotFiles) {
  ASSERT_TRUE(MakeDirectory(Dir.Path("data")));
  EXPECT_FALSE(MakeDirectory(Dir.Path("data")));
  EXPECT_FALSE(FileExists(Dir.Path("data")));
  EXPECT_EQ(FileStamp(Dir.Path("data")).Size, -1);
  EXPECT_FALSE(TFile::OpenRead(Dir.Path("data")));
  Dir.Write("f", "");
  EXPECT_TRUE(FileExists(Dir.Path("f")));
  EXPECT_FALSE(FileExists(Dir.Path("g")));
}

// Another writer's change shows: in the length, or at the same length in
// the time, also less than two seconds later.
TEST_F(FilesTest, FileStampFollowsLengthAndTime) {
  Dir.Write("stamp.dat", "Recv=100");
  const TFileStamp first = FileStamp(Dir.Path("stamp.dat"));
  EXPECT_EQ(first.Size, 8);
  EXPECT_EQ(FileStamp(Dir.Path("stamp.dat")), first);
  Dir.Write("stamp.dat", "Recv=300");
  const auto path = std::filesystem::path(Dir.Path("stamp.dat"));
  std::filesystem::last_write_time(
      path, std::filesystem::last_write_time(path) + std::chrono::milliseconds(10));
  const TFileStamp second = FileStamp(Dir.Path("stamp.dat"));
  EXPECT_EQ(second.Size, 8);
  EXPECT_NE(second, first);
  Dir.Write("stamp.dat", "Recv=1000");
  EXPECT_EQ(FileStamp(Dir.Path("stamp.dat")).Size, 9);
  EXPECT_EQ(FileStamp(Dir.Path("absent.dat")).Size, -1);
}

TEST_F(FilesTest, ReadOnlyAttribute) {
  Dir.Write("ro.ini", "");
  EXPECT_FALSE(IsReadOnly(Dir.Path("ro.ini")));
  std::filesystem::permissions(Dir.Path("ro.ini"), std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  EXPECT_TRUE(IsReadOnly(Dir.Path("ro.ini")));
  std::filesystem::permissions(Dir.Path("ro.ini"), std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);
}

TEST_F(FilesTest, ListDirectoryGivesFilesAndFolders) {
  Dir.Write("one.dat", "");
  MakeDirectory(Dir.Path("sub"));
  auto entries = ListDirectory(Dir.Folder());
  std::sort(entries.begin(), entries.end(),
            [](const TDirEntry& a, const TDirEntry& b) { return a.Name < b.Name; });
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].Name, "one.dat");
  EXPECT_FALSE(entries[0].IsDirectory);
  EXPECT_EQ(entries[1].Name, "sub");
  EXPECT_TRUE(entries[1].IsDirectory);
  EXPECT_TRUE(ListDirectory(Dir.Path("missing")).empty());
}

TEST(ExeFolderTest, IsTheFolderOfTheRunningProgram) {
  const std::string folder = ExeFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), PathDelim);
  EXPECT_EQ(ExePath().substr(0, folder.size()), folder);
  EXPECT_TRUE(FileExists(ExePath()));
}

}  // namespace
