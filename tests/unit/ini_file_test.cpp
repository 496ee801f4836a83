#include "storage/ini_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/files.h"
#include "scratch_dir.h"

namespace {

namespace fs = std::filesystem;

class IniFileTest : public testing::Test {
 protected:
  std::string Path() const { return Dir.Path("settings.ini"); }
  void Write(const std::string& content) const { Dir.Write("settings.ini", content); }
  std::string Read() const { return Dir.Read("settings.ini"); }

  // Moves the file's time stamp into the past, so a later write is seen as newer.
  void Age(const std::string& name = "settings.ini") const {
    fs::last_write_time(Dir.Path(name),
                        fs::last_write_time(Dir.Path(name)) - std::chrono::hours(1));
  }

  // Past the interval in which outside changes are not looked for.
  static void LetTimePass() { std::this_thread::sleep_for(std::chrono::milliseconds(50)); }

  TScratchDir Dir;
};

TEST_F(IniFileTest, MissingFileIsCreatedOnFirstReadAndWrittenOnFirstWrite) {
  TIniFile32 ini(Path(), false);
  EXPECT_TRUE(ini.CanSave());
  EXPECT_EQ(ini.ReadString("S", "K", "none"), "none");
  EXPECT_TRUE(FileExists(Path()));
  EXPECT_EQ(Read(), "");
  ini.WriteString("S", "K", "V");
  EXPECT_EQ(Read(), "[S]\r\nK=V\r\n");
  EXPECT_FALSE(ini.Modified());
  EXPECT_FALSE(FileExists(Path() + ".tmp"));
}

struct InsertCase {
  const char* Name;
  const char* Before;
  const char* Section;
  const char* Ident;
  const char* After;
};

class IniInsertTest : public IniFileTest, public testing::WithParamInterface<InsertCase> {};

TEST_P(IniInsertTest, NewKeysGoToTheEndOfTheirSection) {
  Write(GetParam().Before);
  TIniFile32 ini(Path(), false);
  ini.WriteString(GetParam().Section, GetParam().Ident, "9");
  EXPECT_EQ(Read(), GetParam().After);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, IniInsertTest,
    testing::Values(InsertCase{"BeforeTheSeparatingEmptyLine", "[A]\r\na=1\r\n\r\n[B]\r\nb=2\r\n",
                               "A", "x", "[A]\r\na=1\r\nx=9\r\n\r\n[B]\r\nb=2\r\n"},
                    InsertCase{"DirectlyBeforeTheNextHeader", "[A]\r\na=1\r\n[B]\r\nb=2\r\n", "A",
                               "x", "[A]\r\na=1\r\nx=9\r\n[B]\r\nb=2\r\n"},
                    InsertCase{"LastSectionAfterItsLastLine", "[A]\r\na=1\r\n\r\n[B]\r\nb=2\r\n",
                               "B", "y", "[A]\r\na=1\r\n\r\n[B]\r\nb=2\r\ny=9\r\n"},
                    InsertCase{"LastSectionBeforeTrailingEmptyLines", "[A]\r\na=1\r\n\r\n", "A",
                               "x", "[A]\r\na=1\r\nx=9\r\n\r\n"},
                    InsertCase{"NewSectionAfterAnEmptyLine", "[A]\r\na=1\r\n", "C", "c",
                               "[A]\r\na=1\r\n\r\n[C]\r\nc=9\r\n"},
                    InsertCase{"NewSectionReusesAnEmptyLastLine", "[A]\r\na=1\r\n\r\n", "C", "c",
                               "[A]\r\na=1\r\n\r\n[C]\r\nc=9\r\n"},
                    InsertCase{"ReplacesAValueInPlace", "[A]\r\nKey=1\r\nb=2\r\n", "A", "key",
                               "[A]\r\nkey=9\r\nb=2\r\n"},
                    InsertCase{"FirstOfTwoEqualHeaders", "[A]\r\na=1\r\n\r\n[a]\r\nb=2\r\n", "A",
                               "b", "[A]\r\na=1\r\nb=9\r\n\r\n[a]\r\nb=2\r\n"},
                    InsertCase{"HeaderWithTrailingBlanksIsNotFound", "[A]  \r\na=1\r\n", "A", "a",
                               "[A]  \r\na=1\r\n\r\n[A]\r\na=9\r\n"},
                    InsertCase{"KeysBeforeTheFirstHeaderBelongNowhere", "x=1\r\n[A]\r\n", "A", "x",
                               "x=1\r\n[A]\r\nx=9\r\n"}),
    [](const auto& info) { return info.param.Name; });

TEST_F(IniFileTest, EqualWriteLeavesTheFileAndItsStampAlone) {
  Write("[Settings]\r\nCUI=5\r\n");
  Age();
  const auto stamp = fs::last_write_time(Path());
  TIniFile32 ini(Path(), false);
  ini.WriteInteger("Settings", "CUI", 5);
  EXPECT_EQ(fs::last_write_time(Path()), stamp);
  EXPECT_FALSE(ini.Modified());
  // The key's spelling is part of the line.
  ini.WriteInteger("Settings", "cui", 5);
  EXPECT_EQ(Read(), "[Settings]\r\ncui=5\r\n");
}

TEST_F(IniFileTest, ValuesKeepTheirBlanksAndKeysLoseThem) {
  Write("[S]\r\nEmpty=\r\nRate= 5\r\n  Spaced = 7\r\nnot a key\r\n=orphan\r\n");
  TIniFile32 ini(Path(), false);
  EXPECT_EQ(ini.ReadString("S", "Empty", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadString("S", "Rate", ""), " 5");
  EXPECT_EQ(ini.ReadInteger("S", "Rate", 0), 5);
  EXPECT_EQ(ini.ReadString("S", "Spaced", ""), " 7");
  EXPECT_EQ(ini.ReadSection("S"), (std::vector<std::string>{"Empty", "Rate", "Spaced"}));
  EXPECT_TRUE(ini.ReadSection("Missing").empty());
}

struct IntegerCase {
  const char* Name;
  const char* Text;
  int32_t Value;  // the default 77 where the text is not a number
};

class IniIntegerTest : public IniFileTest, public testing::WithParamInterface<IntegerCase> {};

TEST_P(IniIntegerTest, ReadsThePlatformIntegerSyntax) {
  Write(std::string("[S]\r\nV=") + GetParam().Text + "\r\n");
  TIniFile32 ini(Path(), false);
  EXPECT_EQ(ini.ReadInteger("S", "V", 77), GetParam().Value);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, IniIntegerTest,
    testing::Values(
        IntegerCase{"Decimal", "42", 42}, IntegerCase{"LeadingBlanks", "   42", 42},
        IntegerCase{"Negative", "-17", -17}, IntegerCase{"Plus", "+17", 17},
        IntegerCase{"ZeroX", "0x1F", 31}, IntegerCase{"Dollar", "$1F", 31},
        IntegerCase{"X", "x1F", 31}, IntegerCase{"UpperZeroX", "0X1f", 31},
        IntegerCase{"HexTopBit", "$8000000F", -2147483633},
        IntegerCase{"HexAllBits", "$FFFFFFFF", -1}, IntegerCase{"Lowest", "-2147483648", INT32_MIN},
        IntegerCase{"Highest", "2147483647", INT32_MAX}, IntegerCase{"TooHigh", "2147483648", 77},
        IntegerCase{"TooLow", "-2147483649", 77}, IntegerCase{"HexTooLong", "$100000000", 77},
        IntegerCase{"TrailingText", "12abc", 77}, IntegerCase{"TrailingBlank", "12 ", 77},
        IntegerCase{"Word", "true", 77}, IntegerCase{"SignOnly", "-", 77},
        IntegerCase{"DollarOnly", "$", 77}, IntegerCase{"ZeroXOnly", "0x", 77},
        IntegerCase{"Blank", " ", 77}),
    [](const auto& info) { return info.param.Name; });

TEST_F(IniFileTest, Int64AndBooleans) {
  Write(
      "[S]\r\nBig=9223372036854775807\r\nSmall=-9223372036854775808\r\nOver=9223372036854775808"
      "\r\nHex=$FFFFFFFFFFFFFFFF\r\nOne=1\r\nTwo=2\r\nMinus=-1\r\nZero=0\r\nWord=true\r\n");
  TIniFile32 ini(Path(), false);
  EXPECT_EQ(ini.ReadInt64("S", "Big", 0), INT64_MAX);
  EXPECT_EQ(ini.ReadInt64("S", "Small", 0), INT64_MIN);
  EXPECT_EQ(ini.ReadInt64("S", "Over", 5), 5);
  EXPECT_EQ(ini.ReadInt64("S", "Hex", 5), -1);
  EXPECT_TRUE(ini.ReadBool("S", "One", false));
  EXPECT_TRUE(ini.ReadBool("S", "Two", false));
  EXPECT_TRUE(ini.ReadBool("S", "Minus", false));
  EXPECT_FALSE(ini.ReadBool("S", "Zero", true));
  EXPECT_TRUE(ini.ReadBool("S", "Word", true));
  EXPECT_FALSE(ini.ReadBool("S", "Word", false));
  ini.WriteBool("S", "Flag", true);
  ini.WriteInt64("S", "Huge", INT64_MIN);
  EXPECT_EQ(ini.ReadString("S", "Flag", ""), "1");
  EXPECT_EQ(ini.ReadInt64("S", "Huge", 0), INT64_MIN);
}

TEST_F(IniFileTest, LetterCaseOfKeysAndSections) {
  Write("[SETTINGS]\r\nMaxPeak=5\r\n\xC4nderung=1\r\n\r\n[\xC4mter]\r\nA=1\r\n");
  TIniFile32 ini(Path(), false);
  EXPECT_EQ(ini.ReadInteger("Settings", "maxpeak", 0), 5);
  // Keys fold ASCII letters only; section names fold accented letters too.
  EXPECT_EQ(ini.ReadInteger("Settings", "\xE4nderung", 0), 0);
  EXPECT_EQ(ini.ReadInteger("Settings", "\xC4NDERUNG", 0), 1);
  EXPECT_EQ(ini.ReadInteger("\xE4mter", "a", 0), 1);
  EXPECT_TRUE(ini.SectionExists("settings"));
  EXPECT_FALSE(ini.SectionExists("Setting"));
}

TEST_F(IniFileTest, DuplicateHeadersAndHeaderShapes) {
  Write("[A]\r\nk=1\r\n[ B ]\r\n[A]\r\nk=2\r\n[]\r\n [C]\r\n[D] \r\nk=3\r\n");
  TIniFile32 ini(Path(), false);
  EXPECT_EQ(ini.ReadInteger("A", "k", 0), 1);
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"A", "B", "A", "D"}));
  EXPECT_FALSE(ini.SectionExists("B"));  // found by name only as written
  EXPECT_EQ(ini.ReadInteger("D", "k", 0), 0);
  ini.DeleteKey("A", "k");
  EXPECT_EQ(ini.ReadInteger("A", "k", 0), 0);
  EXPECT_EQ(Read(), "[A]\r\n[ B ]\r\n[A]\r\nk=2\r\n[]\r\n [C]\r\n[D] \r\nk=3\r\n");
}

TEST_F(IniFileTest, SavingTidiesBlankLinesOfLongerFiles) {
  Write("\r\n[A]\r\na=1\r\n\r\n\r\n\r\n");
  TIniFile32 ini(Path(), false);
  ini.WriteString("A", "b", "2");
  EXPECT_EQ(Read(), "[A]\r\na=1\r\nb=2\r\n\r\n");

  Dir.Write("short.ini", "\r\n\r\n");
  TIniFile32 shortFile(Dir.Path("short.ini"), true);
  shortFile.Refresh();
  shortFile.UpdateFile();
  EXPECT_EQ(Dir.Read("short.ini"), "\r\n\r\n");
}

TEST_F(IniFileTest, CachedChangesAreSavedByTheDestructor) {
  {
    TIniFile32 ini(Path(), true);
    ini.WriteString("S", "K", "1");
    EXPECT_EQ(Read(), "");
    EXPECT_TRUE(ini.Modified());
  }
  EXPECT_EQ(Read(), "[S]\r\nK=1\r\n");
  {
    TIniFile32 ini(Path(), false);
    ini.BatchUpdate = true;
    ini.WriteString("S", "K", "2");
    ini.WriteString("S", "L", "3");
    EXPECT_EQ(Read(), "[S]\r\nK=1\r\n");
  }
  EXPECT_EQ(Read(), "[S]\r\nK=2\r\nL=3\r\n");
}

TEST_F(IniFileTest, SwitchingCacheOffSavesOnce) {
  TIniFile32 ini(Path(), false);
  ini.SetCacheUpdates(true);
  ini.WriteInteger("StopWatch", "D", 10);
  ini.WriteInteger("StopWatch", "Rx", 20);
  EXPECT_EQ(Read(), "");
  ini.SetCacheUpdates(false);
  EXPECT_EQ(Read(), "[StopWatch]\r\nD=10\r\nRx=20\r\n");
  EXPECT_FALSE(ini.Modified());
}

TEST_F(IniFileTest, TwoObjectsSeeEachOthersWritesThroughTheStamp) {
  Write("[S]\r\nK=1\r\n");
  Age();
  TIniFile32 reader(Path(), false), writer(Path(), false);
  EXPECT_EQ(reader.ReadInteger("S", "K", 0), 1);
  writer.WriteInteger("S", "K", 2);
  LetTimePass();
  EXPECT_EQ(reader.ReadInteger("S", "K", 0), 2);

  // A cached object takes another's write while it holds no change of its
  // own, also one of the same length within the same second; a change it
  // has not saved yet stays as it is.
  TIniFile32 cached(Path(), true);
  EXPECT_EQ(cached.ReadInteger("S", "K", 0), 2);
  writer.WriteInteger("S", "K", 3);
  LetTimePass();
  EXPECT_EQ(cached.ReadInteger("S", "K", 0), 3);
  cached.WriteInteger("T", "K", 1);
  writer.WriteInteger("S", "K", 4);
  LetTimePass();
  EXPECT_EQ(cached.ReadInteger("S", "K", 0), 3);
  cached.UpdateFile();
  EXPECT_EQ(Read(), "[S]\r\nK=3\r\n\r\n[T]\r\nK=1\r\n");
}

// A NUL byte ends the text; text after it makes the file damaged, its lines
// what came before. NUL padding alone (the container's, or a zeroed tail)
// does not.
TEST_F(IniFileTest, TextAfterANulByteMarksTheFileDamaged) {
  using namespace std::string_literals;
  Write("[46357]\r\nRecv=5\r\n\0[46358]\r\nRecv=7\r\n"s);
  TIniFile32 cut(Path(), false);
  EXPECT_EQ(cut.ReadInteger("46357", "Recv", 0), 5);
  EXPECT_FALSE(cut.SectionExists("46358"));
  EXPECT_TRUE(cut.Damaged());
  EXPECT_EQ(cut.LastLoadError(), "a NUL byte cuts its text short");
  Write("[46357]\r\nRecv=5\r\n\0\0\0\0"s);
  TIniFile32 padded(Path(), false);
  EXPECT_EQ(padded.ReadInteger("46357", "Recv", 0), 5);
  EXPECT_FALSE(padded.Damaged());
}

TEST_F(IniFileTest, ContainerStartsAfterTwentyFourBytes) {
  // Exactly the header's size: plain text, however it begins.
  Write(std::string("ESTREAM") + std::string(15, 'x') + "\r\n");
  TIniFile32 plain(Path(), false);
  EXPECT_FALSE(plain.SectionExists("none"));
  EXPECT_TRUE(plain.Loaded());
  EXPECT_EQ(plain.Lines().size(), 1u);

  // One byte more: a container, here with a wrong checksum.
  const std::string damaged = std::string("ESTREAM") + std::string(18, '\0');
  Dir.Write("damaged.dat", damaged);
  Age("damaged.dat");
  const auto stamp = fs::last_write_time(Dir.Path("damaged.dat"));
  TIniFile32 ini(Dir.Path("damaged.dat"), false);
  EXPECT_FALSE(ini.CanSave());
  EXPECT_EQ(ini.ReadString("S", "K", "dflt"), "dflt");
  EXPECT_FALSE(ini.Loaded());
  EXPECT_FALSE(ini.CanSave());
  EXPECT_NE(ini.LastLoadError().find("checksum"), std::string::npos);
  ini.WriteString("S", "K", "lost");  // lives in memory only
  EXPECT_EQ(Dir.Read("damaged.dat"), damaged);
  EXPECT_EQ(fs::last_write_time(Dir.Path("damaged.dat")), stamp);
}

TEST_F(IniFileTest, TextBeginningLikeAContainerStaysReadable) {
  Write("ESTREAM\x01\r\n");
  {
    TIniFile32 ini(Path(), false);
    ini.WriteString("Settings", "CUI", "5");
  }
  EXPECT_EQ(Read().substr(0, 7), "ESTREAM");
  TIniFile32 back(Path(), false);
  EXPECT_EQ(back.ReadInteger("Settings", "CUI", 0), 5);
  EXPECT_EQ(back.Lines().front(), "ESTREAM\x01");
}

struct ContainerCase {
  const char* Name;
  bool Compressed;
  bool Encrypted;
  const char* Password;
  bool IsContainer;
};

class IniContainerTest : public IniFileTest, public testing::WithParamInterface<ContainerCase> {};

TEST_P(IniContainerTest, RoundTripsThroughTheFile) {
  const ContainerCase& c = GetParam();
  {
    TIniFile32 ini(Path(), true);
    ini.Compressed = c.Compressed;
    ini.Encrypted = c.Encrypted;
    ini.Password = c.Password;
    for (int day = 46357; day < 46387; ++day) {
      ini.WriteInt64(std::to_string(day), "Recv", day * 12345LL);
      ini.WriteInteger(std::to_string(day), "Hours", day % 86400);
    }
  }
  const std::string bytes = Read();
  EXPECT_EQ(bytes.rfind("ESTREAM", 0) == 0, c.IsContainer);

  TIniFile32 back(Path(), false);
  back.Password = c.Password;
  EXPECT_EQ(back.ReadInt64("46370", "Recv", 0), 46370 * 12345LL);
  EXPECT_TRUE(back.Loaded());
  EXPECT_EQ(back.Lines().size(), 30u * 4 - 1);
}

INSTANTIATE_TEST_SUITE_P(
    Options, IniContainerTest,
    testing::Values(ContainerCase{"Plain", false, false, "", false},
                    ContainerCase{"EncryptedWithoutPasswordStaysPlain", false, true, "", false},
                    ContainerCase{"Compressed", true, false, "", true},
                    ContainerCase{"Enciphered", false, true, "secret", true},
                    ContainerCase{"CompressedAndEnciphered", true, true, "secret", true}),
    [](const auto& info) { return info.param.Name; });

TEST_F(IniFileTest, EncipheredFileNeedsItsPassword) {
  {
    TIniFile32 ini(Path(), true);
    ini.Encrypted = true;
    ini.Password = "secret";
    ini.WriteString("S", "K", "V");
  }
  const std::string bytes = Read();
  TIniFile32 none(Path(), false);
  EXPECT_EQ(none.ReadString("S", "K", "dflt"), "dflt");
  EXPECT_NE(none.LastLoadError().find("password"), std::string::npos);
  TIniFile32 wrong(Path(), false);
  wrong.Password = "Secret";
  EXPECT_EQ(wrong.ReadString("S", "K", "dflt"), "dflt");
  EXPECT_NE(wrong.LastLoadError().find("checksum"), std::string::npos);
  EXPECT_EQ(Read(), bytes);
}

TEST_F(IniFileTest, LockedFileIsRetriedOnceThenLeftModified) {
  Write("[S]\r\nK=1\r\n");
  TIniFile32 ini(Path(), false);
  EXPECT_EQ(ini.ReadInteger("S", "K", 0), 1);
  {
    auto other = TFile::OpenExclusive(Path());
    ASSERT_TRUE(other);
    ini.WriteInteger("S", "K", 2);
    EXPECT_TRUE(ini.Modified());
  }
  EXPECT_EQ(Read(), "[S]\r\nK=1\r\n");
  EXPECT_FALSE(FileExists(Path() + ".tmp"));
  ini.WriteInteger("S", "L", 3);  // the next change saves both
  EXPECT_EQ(Read(), "[S]\r\nK=2\r\nL=3\r\n");
}

TEST_F(IniFileTest, SaveWaitsForAReaderThatHasTheFileOpen) {
  Write("[S]\r\nK=1\r\n");
  TIniFile32 ini(Path(), false);
  EXPECT_EQ(ini.ReadInteger("S", "K", 0), 1);
  auto reader = TFile::OpenRead(Path());
  ASSERT_TRUE(reader);
  std::thread closer([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    reader->Close();
  });
  ini.WriteInteger("S", "K", 2);
  closer.join();
  EXPECT_FALSE(ini.Modified());
  EXPECT_EQ(Read(), "[S]\r\nK=2\r\n");
  EXPECT_FALSE(FileExists(Path() + ".tmp"));
}

TEST_F(IniFileTest, ReadOnlyFileIsNeverWritten) {
  Write("[S]\r\nK=1\r\n");
  fs::permissions(Path(), fs::perms::owner_write, fs::perm_options::remove);
  {
    TIniFile32 ini(Path(), false);
    ini.WriteInteger("S", "K", 2);
    EXPECT_TRUE(ini.Modified());
    EXPECT_EQ(ini.ReadInteger("S", "K", 0), 2);
  }
  fs::permissions(Path(), fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(Read(), "[S]\r\nK=1\r\n");
}

}  // namespace
