#include "storage/file_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/files.h"
#include "scratch_dir.h"

namespace {

struct MaskCase {
  const char* Mask;
  const char* Name;
  bool Matches;
};

class MatchesMaskTest : public testing::TestWithParam<MaskCase> {};

TEST_P(MatchesMaskTest, MatchesTheWholeName) {
  EXPECT_EQ(MatchesMask(GetParam().Mask, GetParam().Name), GetParam().Matches)
      << GetParam().Mask << " vs " << GetParam().Name;
}

INSTANTIATE_TEST_SUITE_P(
    Wildcards, MatchesMaskTest,
    testing::Values(MaskCase{"*.dat", "Jan.DAT", true}, MaskCase{"*.dat", "x.dat.dat", true},
                    MaskCase{"*.dat", "a.dat.bak", false}, MaskCase{"*.dat", ".dat", true},
                    MaskCase{"*.dat", "dat", false}, MaskCase{"ab", "abab", false},
                    MaskCase{"ab", "a", false}, MaskCase{"a?c", "abc", true},
                    MaskCase{"a?c", "ac", false}, MaskCase{"*", "", true},
                    MaskCase{"*", "anything.at.all", true}, MaskCase{"", "", true},
                    MaskCase{"", "a", false}, MaskCase{"a**", "a", true},
                    MaskCase{"a*?", "a", false}, MaskCase{"*a*b", "xaybzb", true},
                    MaskCase{"*a*b", "xaybzc", false}, MaskCase{"?*", "", false},
                    MaskCase{"[ab]", "[AB]", true}, MaskCase{"\xC4*", "\xE4x", false}));

TEST(MatchesMaskTest, PathologicalMasksStayFast) {
  // A back-tracking matcher needs about 2^60 steps for these.
  std::string mask;
  for (int i = 0; i < 60; ++i) mask += "*a";
  mask += "*b";
  const std::string name(5000, 'a');
  EXPECT_FALSE(MatchesMask(mask, name));
  EXPECT_TRUE(MatchesMask(mask, name + "b"));
  EXPECT_FALSE(MatchesMask(std::string(4000, '*') + "?b", std::string(4000, 'a')));
}

class FileHelpersTest : public testing::Test {
 protected:
  TScratchDir Dir;
};

TEST_F(FileHelpersTest, EnsureFileExistsCreatesAnEmptyFileOnce) {
  const std::string path = Dir.Path("Connection.log");
  EnsureFileExists(path);
  ASSERT_TRUE(FileExists(path));
  EXPECT_EQ(Dir.Read("Connection.log"), "");

  Dir.Write("kept.dat", "[1]\r\nHours=5\r\n");
  const auto stamp = std::filesystem::last_write_time(Dir.Path("kept.dat"));
  std::filesystem::last_write_time(Dir.Path("kept.dat"), stamp - std::chrono::hours(48));
  EnsureFileExists(Dir.Path("kept.dat"));
  EXPECT_EQ(Dir.Read("kept.dat"), "[1]\r\nHours=5\r\n");
  EXPECT_EQ(std::filesystem::last_write_time(Dir.Path("kept.dat")), stamp - std::chrono::hours(48));
}

TEST_F(FileHelpersTest, EnsureFileExistsLeavesFoldersAndMissingFoldersAlone) {
  MakeDirectory(Dir.Path("data"));
  EnsureFileExists(Dir.Path("data"));
  EXPECT_TRUE(std::filesystem::is_directory(Dir.Path("data")));
  const std::string nowhere = Dir.Path("missing") + PathDelim + "x.log";
  EnsureFileExists(nowhere);
  EXPECT_FALSE(std::filesystem::exists(nowhere));
}

// A collector reads the file at any moment: it is the old text or the new,
// and a write that cannot be made leaves the old one and no temporary file.
TEST_F(FileHelpersTest, ReplaceFileTextSwapsInWholeTextsOrNothing) {
  Dir.Write("m.prom", "old\n");
  EXPECT_TRUE(ReplaceFileText(Dir.Path("m.prom"), "new\n"));
  EXPECT_EQ(Dir.Read("m.prom"), "new\n");
  EXPECT_FALSE(FileExists(Dir.Path("m.prom.tmp")));

  const std::string nowhere = Dir.Path("missing") + PathDelim + "m.prom";
  EXPECT_FALSE(ReplaceFileText(nowhere, "x\n"));
  EXPECT_FALSE(std::filesystem::exists(Dir.Path("missing")));

  MakeDirectory(Dir.Path("taken.prom"));  // the name is a folder's
  EXPECT_FALSE(ReplaceFileText(Dir.Path("taken.prom"), "x\n"));
  EXPECT_TRUE(std::filesystem::is_directory(Dir.Path("taken.prom")));
  EXPECT_FALSE(FileExists(Dir.Path("taken.prom.tmp")));
}

TEST_F(FileHelpersTest, FindFilesListsMatchingFilesOnly) {
  Dir.Write("46357.dat", "");
  Dir.Write("46388.DAT", "");
  Dir.Write("notes.txt", "");
  Dir.Write("46357.dat.bak", "");
  MakeDirectory(Dir.Path("old.dat"));
  Dir.Write("old.dat" + std::string(1, PathDelim) + "46000.dat", "");

  std::vector<std::string> files = {"kept"};
  FindFiles(Dir.Folder(), "*.dat", files);
  std::sort(files.begin() + 1, files.end());
  EXPECT_EQ(files,
            (std::vector<std::string>{"kept", Dir.Path("46357.dat"), Dir.Path("46388.DAT")}));

  // Without the trailing delimiter the paths come out the same.
  std::vector<std::string> again;
  std::string folder = Dir.Folder();
  folder.pop_back();
  FindFiles(folder, "4635?.dat", again);
  EXPECT_EQ(again, (std::vector<std::string>{Dir.Path("46357.dat")}));

  std::vector<std::string> none;
  FindFiles(Dir.Path("missing"), "*", none);
  EXPECT_TRUE(none.empty());
}

}  // namespace
