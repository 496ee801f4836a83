#include "formatting/number_format.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TFormatSettings English() {
  return TFormatSettings{};
}

TFormatSettings German() {
  TFormatSettings fs;
  fs.ThousandSeparator = '.';
  fs.DecimalSeparator = ',';
  return fs;
}

struct ByteSizeCase {
  const char* Name;
  double Bytes;
  const char* English;
  const char* German;
};

class FormatByteSizeTest : public testing::TestWithParam<ByteSizeCase> {};

TEST_P(FormatByteSizeTest, FollowsUnitBoundariesAndLocale) {
  EXPECT_EQ(FormatByteSize(GetParam().Bytes, English()), GetParam().English);
  EXPECT_EQ(FormatByteSize(GetParam().Bytes, German()), GetParam().German);
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, FormatByteSizeTest,
    testing::Values(ByteSizeCase{"Zero", 0, "0 bytes", "0 bytes"},
                    ByteSizeCase{"One", 1, "1 bytes", "1 bytes"},
                    ByteSizeCase{"LastByte", 1023, "1,023 bytes", "1.023 bytes"},
                    ByteSizeCase{"OneKB", 1024, "1 KB", "1 KB"},
                    ByteSizeCase{"KBTruncated", 1535, "1 KB", "1 KB"},
                    ByteSizeCase{"LastKB", 1048575, "1,023 KB", "1.023 KB"},
                    ByteSizeCase{"OneMB", 1048576, "1.00 MB", "1,00 MB"},
                    ByteSizeCase{"HalfRoundsUp", 1179648, "1.13 MB", "1,13 MB"},
                    ByteSizeCase{"MBRoundsUp", 1073741823, "1,024.00 MB", "1.024,00 MB"},
                    ByteSizeCase{"OneAndHalfGB", 1610612736, "1.50 GB", "1,50 GB"},
                    ByteSizeCase{"OneTB", 1099511627776.0, "1.00 TB", "1,00 TB"},
                    ByteSizeCase{"ThousandsOfTB", 1099511627776.0 * 1234.5, "1,234.50 TB",
                                 "1.234,50 TB"}),
    [](const auto& info) { return info.param.Name; });

TEST(FormatNumberTest, GroupsRoundsAndSigns) {
  EXPECT_EQ(FormatNumber(1234567.891, 2, English()), "1,234,567.89");
  EXPECT_EQ(FormatNumber(999.995, 2, English()), "1,000.00");
  EXPECT_EQ(FormatNumber(-1234.5, 1, German()), "-1.234,5");
  EXPECT_EQ(FormatNumber(-0.001, 2, English()), "0.00");
  // An exact half rounds away from zero; a value just below it does not.
  EXPECT_EQ(FormatNumber(12.5, 0, English()), "13");
  EXPECT_EQ(FormatNumber(-2.5, 0, English()), "-3");
  EXPECT_EQ(FormatNumber(1.125, 2, English()), "1.13");
  EXPECT_EQ(FormatNumber(1.005, 2, English()), "1.00");
  EXPECT_EQ(FormatNumber(99.999, 2, English()), "100.00");
  EXPECT_EQ(FormatNumber(0.5, 3, English()), "0.500");
}

TEST(InsertThousandSeparatorsTest, GroupsFromTheRight) {
  const TFormatSettings fs = English();
  EXPECT_EQ(InsertThousandSeparators("", fs), "");
  EXPECT_EQ(InsertThousandSeparators("999", fs), "999");
  EXPECT_EQ(InsertThousandSeparators("1000", fs), "1,000");
  EXPECT_EQ(InsertThousandSeparators("123456", fs), "123,456");
  EXPECT_EQ(InsertThousandSeparators("1234567", fs), "1,234,567");
  TFormatSettings apostrophe;
  apostrophe.ThousandSeparator = '\'';
  EXPECT_EQ(InsertThousandSeparators("9223372036854775807", apostrophe),
            "9'223'372'036'854'775'807");
}

TEST(FormatSecondsTest, MinutesHoursAndTheWholeRange) {
  EXPECT_EQ(FormatSeconds(0), "00:00");
  EXPECT_EQ(FormatSeconds(59), "00:59");
  EXPECT_EQ(FormatSeconds(3599), "59:59");
  EXPECT_EQ(FormatSeconds(3600), "01:00:00");
  EXPECT_EQ(FormatSeconds(90061), "25:01:01");
  EXPECT_EQ(FormatSeconds(360000), "100:00:00");
  EXPECT_EQ(FormatSeconds(INT32_MAX), "596523:14:07");
  EXPECT_EQ(FormatSeconds(-1), "??:??");
  EXPECT_EQ(FormatSeconds(INT32_MIN), "??:??");
}

}  // namespace

namespace {

struct FloatCase {
  const char* Name;
  double Value;
  int MinIntDigits;
  int Decimals;
  const char* Text;
};

class FormatFloatTest : public testing::TestWithParam<FloatCase> {};

TEST_P(FormatFloatTest, FollowsThePicture) {
  TFormatSettings fs;
  fs.ThousandSeparator = '\'';
  fs.DecimalSeparator = ',';
  const FloatCase& c = GetParam();
  EXPECT_EQ(FormatFloat(c.Value, c.MinIntDigits, c.Decimals, fs), c.Text);
}

INSTANTIATE_TEST_SUITE_P(Pictures, FormatFloatTest,
                         testing::Values(FloatCase{"TwoDecimals", 28.8, 1, 2, "28,80"},
                                         FloatCase{"NoSeparators", 12345.678, 1, 2, "12345,68"},
                                         FloatCase{"OptionalInteger", 0.5, 0, 2, ",50"},
                                         FloatCase{"ZeroWithOptionalInteger", 0, 0, 2, ",00"},
                                         FloatCase{"PaddedTwoDigits", 5, 2, 0, "05"},
                                         FloatCase{"RoundedUpToThreeDigits", 99.5, 2, 0, "100"},
                                         FloatCase{"WholeRounded", 1.544, 0, 0, "2"},
                                         FloatCase{"ZeroAsNothing", 0.2, 0, 0, ""},
                                         FloatCase{"Negative", -3.14159, 1, 2, "-3,14"}),
                         [](const auto& info) { return info.param.Name; });

}  // namespace
