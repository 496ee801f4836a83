#include "formatting/date_format.h"

#include <gtest/gtest.h>

namespace {

const TDateTime kAfternoon = EncodeDateTime({2026, 12, 7, 15, 4, 5, 0});
const TDateTime kMorning = EncodeDateTime({2006, 1, 3, 0, 30, 9, 0});

TEST(DateFormatTest, DatePictures) {
  const TFormatSettings fs;
  EXPECT_EQ(FormatDateTimePicture(kAfternoon, "M/d/yyyy", fs), "12/7/2026");
  EXPECT_EQ(FormatDateTimePicture(kMorning, "dd.MM.yy", fs), "03.01.06");
  EXPECT_EQ(FormatDateTimePicture(kMorning, "d MMM yyyy", fs), "3 Jan 2006");
  EXPECT_EQ(FormatDateTimePicture(kMorning, "yyyy-MM-dd", fs), "2006-01-03");
}

TEST(DateFormatTest, TimePicturesAndQuotedText) {
  TFormatSettings fs;
  EXPECT_EQ(FormatDateTimePicture(kAfternoon, "h:mm:ss tt", fs), "3:04:05 PM");
  EXPECT_EQ(FormatDateTimePicture(kMorning, "h:mm:ss tt", fs), "12:30:09 AM");
  EXPECT_EQ(FormatDateTimePicture(kMorning, "HH:mm:ss", fs), "00:30:09");
  EXPECT_EQ(FormatDateTimePicture(kAfternoon, "H 'h' m 'min'", fs), "15 h 4 min");
  fs.TimePMString = "nachm.";
  EXPECT_EQ(FormatDateTimePicture(kAfternoon, "t hh", fs), "n 03");
}

TEST(DateFormatTest, DateAndTimeTextLeavesMidnightOut) {
  TFormatSettings fs;
  fs.ShortDateFormat = "dd.MM.yyyy";
  fs.LongTimeFormat = "HH:mm:ss";
  EXPECT_EQ(DateTimeToText(kAfternoon, fs), "07.12.2026 15:04:05");
  EXPECT_EQ(DateTimeToText(46363, fs), "07.12.2026");
}

}  // namespace
