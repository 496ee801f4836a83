#include "setup/setup_model.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "scratch_dir.h"
#include "setup/setup_tables.h"
#include "unit/meter_test_support.h"

namespace {

// The main window as Setup sees it: real settings in a scratch folder, a
// real graph model and measurement state, and the calls on the tray.
class TFakeHost : public TSetupHost {
 public:
  TIniFile32& Settings() override { return Ini; }
  TMeterState& Meter() override { return State; }
  TMeterModel& Graph() override { return Meter1; }
  THostOptions Options() const override { return Shown; }
  void SetOptions(const THostOptions& options) override { Shown = options; }
  void SetTrayImageIndex(int index) override { TrayImage = index; }
  void SetTrayTip(const std::string& tip) override { TrayTip = tip; }
  void FlushTotals() override { ++Flushes; }

  TScratchDir Dir;
  TIniFile32 Ini{Dir.Path("settings.ini"), false};
  TMeterState State;
  TTestClock Clock;
  TTestMeter Meter1{Clock};
  THostOptions Shown;
  int TrayImage = -1;
  std::string TrayTip;
  int Flushes = 0;
};

TNicItem Adapter(int32_t row, const std::string& description, const std::string& mac) {
  return {description, "10.0.0." + std::to_string(row), mac, false};
}

class SetupModelTest : public testing::Test {
 protected:
  // An adapter-mode window measuring the second of two adapters for a while.
  SetupModelTest() {
    Host.State.Adapters.Items = {Adapter(1, "Wired", "00-11"), Adapter(2, "Wireless", "00-22")};
    Host.State.Adapters.Items[1].Selected = true;
    Host.State.SavedAdapterKey = "Wireless @ 00-22";
    Host.State.SelectedIndex = 7;
    Host.State.SelectedMac = "00-22";
    Host.State.PrevRecv = 500;
    Host.State.RecvTotal = 9000;
    Host.Meter1.AddValues(1, 2);
  }
  TSetupValues Read() { return ReadSetupValues(Host); }
  void Apply(const TSetupValues& values) { ApplySetup(values, Host); }
  // Whether the last Apply started the measurement afresh.
  bool Restarted() const { return Host.State.PrevRecv == -1 && Host.Meter1.SampleCount() == 0; }
  bool Has(const char* section, const char* key) {
    const std::vector<std::string> keys = Host.Ini.ReadSection(section);
    return std::find(keys.begin(), keys.end(), key) != keys.end();
  }
  void Measure() {
    Host.State.PrevRecv = 500;
    Host.Meter1.AddValues(1, 2);
  }

  TFakeHost Host;
};

TEST_F(SetupModelTest, OkWithoutChangesRestartsNothingAndWritesEveryKey) {
  Apply(Read());
  EXPECT_FALSE(Restarted());
  EXPECT_EQ(Host.State.RecvTotal, 9000);
  EXPECT_EQ(Host.Flushes, 0);
  EXPECT_FALSE(Has("Settings", "Dialup"));  // the source stayed
  for (const char* key : {"LineWidth", "GridStyle", "YaxisDisplay", "Scale", "MaxValueType",
                          "MaxValue", "MainMenu", "GraphTips", "AntiAlias", "ShowActivity",
                          "StatsTrayTip", "SolidBar", "vLines", "CUI", "CHS"})
    EXPECT_TRUE(Has("Settings", key)) << key;
  EXPECT_EQ(Host.Ini.ReadInteger("Settings", "CHS", 0), Host.Meter1.HScale());
  for (const char* key : kColorKeys) EXPECT_TRUE(Has("Colors", key)) << key;
  EXPECT_TRUE(Has("BrowseMode", "Hours"));
}

TEST_F(SetupModelTest, FirstApplyInDialupModeMakesTheFirstRowCurrentOnce) {
  Host.State.DialupMode = true;
  Host.State.Adapters.Items[1].Selected = false;
  Host.State.SavedAdapterKey.clear();
  Host.State.EntryName = "My ISP";
  const TSetupValues values = Read();
  EXPECT_EQ(values.AdapterIndex, 0);
  Apply(values);
  EXPECT_TRUE(Restarted());
  EXPECT_EQ(Host.Ini.ReadString("NIC", "S", ""), "Wired @ 00-11");
  EXPECT_TRUE(Host.State.Adapters.Items[0].Selected);
  EXPECT_EQ(Host.State.SelectedIndex, 0u);    // the next sample looks it up
  EXPECT_EQ(Host.State.EntryName, "My ISP");  // the dial-up entry keeps booking
  Measure();
  Apply(Read());
  EXPECT_FALSE(Restarted());
}

TEST_F(SetupModelTest, SwitchingTheSourceFlushesAndRestartsOnce) {
  TSetupValues values = Read();
  values.Dialup = true;
  Apply(values);
  EXPECT_TRUE(Restarted());
  EXPECT_EQ(Host.Flushes, 1);
  EXPECT_EQ(Host.State.RecvTotal, 0);
  EXPECT_TRUE(Host.Ini.ReadBool("Settings", "Dialup", false));
  Measure();
  Apply(values);
  EXPECT_FALSE(Restarted());
  EXPECT_EQ(Host.Flushes, 1);
}

TEST_F(SetupModelTest, AdaptersThatShareAHardwareAddressAreTold) {
  Host.State.Adapters.Items[0].MAC = "00-22";
  TSetupValues values = Read();
  values.AdapterIndex = 0;
  Apply(values);
  EXPECT_TRUE(Restarted());
  EXPECT_EQ(Host.State.EntryName, "Wired @ 00-22");
  EXPECT_EQ(Host.State.SavedAdapterKey, "Wired @ 00-22");
  // Not the old adapter's identity, which its hardware address would match.
  EXPECT_EQ(Host.State.SelectedIndex, 0u);
}

TEST_F(SetupModelTest, WithoutAnAdapterRowOnlyTheSourceIsRecorded) {
  Host.State.Adapters.Items.clear();
  TSetupValues values = Read();
  EXPECT_EQ(values.AdapterIndex, -1);
  Apply(values);
  EXPECT_FALSE(Restarted());
  EXPECT_FALSE(Has("NIC", "S"));
  values.Dialup = true;
  Apply(values);
  EXPECT_TRUE(Restarted());
  EXPECT_TRUE(Host.Ini.ReadBool("Settings", "Dialup", false));
  EXPECT_FALSE(Has("NIC", "S"));
}

TEST_F(SetupModelTest, StoredChoicesOutsideTheirListsReadAsDefaults) {
  Host.State.CUI = 7;
  Host.Ini.WriteInteger("Settings", "GridStyle", 3);
  Host.Ini.WriteInteger("Settings", "YaxisDisplay", -1);
  Host.Ini.WriteInteger("Settings", "MaxValueType", 17);
  Host.Ini.WriteInteger("BrowseMode", "Hours", 5000);
  const TSetupValues values = Read();
  EXPECT_EQ(values.IntervalPosition, 1);
  EXPECT_STREQ(IntervalStep(values.IntervalPosition).Text, "1 second");
  EXPECT_EQ(values.GridStyle, 2);
  EXPECT_EQ(values.YAxis, 1);
  EXPECT_EQ(values.MaxValueType, 0);
  EXPECT_EQ(values.Hours, kMaxHours);
  Apply(values);
  EXPECT_EQ(Host.Ini.ReadInteger("Settings", "CUI", 0), 1);
  EXPECT_EQ(Host.State.CUI, 1);
}

struct MaximumCase {
  const char* Name;
  int Type;
  const char* Custom;
  int32_t Maximum;
};

class SetupMaximumTest : public SetupModelTest, public testing::WithParamInterface<MaximumCase> {};

TEST_P(SetupMaximumTest, FixedMaximumAndTheCustomTextAsTyped) {
  TSetupValues values = Read();
  values.MaxValueType = GetParam().Type;
  values.MaxValue = GetParam().Custom;
  Apply(values);
  EXPECT_EQ(Host.Meter1.MaxValueType(), tmvFixed);
  EXPECT_EQ(Host.Meter1.MaxValue(), GetParam().Maximum);
  EXPECT_EQ(Host.Ini.ReadInteger("Settings", "MaxValueType", -1), GetParam().Type);
  EXPECT_EQ(Host.Ini.ReadString("Settings", "MaxValue", ""), GetParam().Custom);
}

INSTANTIATE_TEST_SUITE_P(Choices, SetupMaximumTest,
                         testing::Values(MaximumCase{"Custom100", kCustomMaximum, "100", 102400},
                                         MaximumCase{"CustomTooLarge", kCustomMaximum, "2097152",
                                                     INT32_MAX},
                                         MaximumCase{"Modem48KeepsTheCustomText", 2, "100", 6144}),
                         [](const auto& info) { return info.param.Name; });

TEST_F(SetupModelTest, BitsReadWithACapitalKAndTheTrayResetsAtOnce) {
  Host.TrayTip = "Tallyline\rD/L: 1 KB";
  TSetupValues values = Read();
  values.Units = 1;
  values.ShowActivity = false;
  values.StatsTrayTip = false;
  Apply(values);
  EXPECT_EQ(Host.Shown.Rates.Units, 8);
  EXPECT_EQ(Host.Shown.Rates.UnitSuffix, " Kbps");
  EXPECT_EQ(Host.Meter1.Scale(), sKBits);
  EXPECT_EQ(Host.TrayImage, 0);
  EXPECT_EQ(Host.TrayTip, "Tallyline");
}

constexpr int64_t kMB = 1048576, kGB = 1073741824;

struct LimitCase {
  const char* Name;
  int64_t Limit;
  const char* Text;
  const char* Unit;
};

class SetupQuotaTest : public SetupModelTest, public testing::WithParamInterface<LimitCase> {};

TEST_P(SetupQuotaTest, ShownInItsUnitAndAppliedUnchangedWithTheWarningGiven) {
  const TQuotaSettings quota{.Enabled = true,
                             .Limit = GetParam().Limit,
                             .StartDay = 31,
                             .Count = qcUpload,
                             .WarnPercent = 90,
                             .WarnedPeriod = 46357,
                             .WarnedLevel = qlWarning};
  Host.Shown.Quota = quota;
  const TSetupValues values = Read();
  EXPECT_EQ(values.QuotaLimit, GetParam().Text);
  EXPECT_STREQ(kQuotaUnits[values.QuotaUnit].Text, GetParam().Unit);
  Apply(values);
  EXPECT_EQ(Host.Shown.Quota, quota);
  EXPECT_EQ(ReadQuotaSettings(Host.Ini), quota);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, SetupQuotaTest,
    testing::Values(LimitCase{"OneGigabyte", kGB, "1", "GB"},
                    LimitCase{"OneGigabyteAndAMegabyte", kGB + kMB, "1025", "MB"},
                    LimitCase{"BytesBeyondWholeMegabytesKept", kGB + 1, "1024", "MB"},
                    LimitCase{"NoLimit", 0, "0", "MB"}),
    [](const auto& info) { return info.param.Name; });

TEST_F(SetupModelTest, QuotaLimitThatIsNoWholeNumberKeepsThePreviousOne) {
  Host.Shown.Quota.Limit = 5 * kGB;
  TSetupValues values = Read();
  for (const char* text : {"", "1.5", "-1", "8589934592"}) {  // the last overflows as GB
    values.QuotaLimit = text;
    Apply(values);
    EXPECT_EQ(Host.Shown.Quota.Limit, 5 * kGB) << text;
  }
  values.QuotaLimit = "700";
  values.QuotaUnit = 0;
  Apply(values);
  EXPECT_EQ(Host.Shown.Quota.Limit, 700 * kMB);
}

TEST(SetupTablesTest, RandomColoursStopShortOf255) {
  std::mt19937 random(42);
  uint32_t high = 0, low = 255;
  for (int i = 0; i < 20000; ++i) {
    const uint32_t color = RandomColor(random);
    for (int shift : {0, 8, 16}) {
      high = std::max(high, color >> shift & 0xFF);
      low = std::min(low, color >> shift & 0xFF);
    }
    ASSERT_EQ(color >> 24, 0u);
  }
  EXPECT_EQ(high, 254u);
  EXPECT_EQ(low, 0u);
}

TEST(SetupTablesTest, CustomValueTakesDigitsBackspaceAndCtrlKeys) {
  for (char key : {'0', '9', '\b'}) EXPECT_TRUE(AcceptCustomValueKey(key, false)) << key;
  for (char key : {'/', ':', 'a', '-', ' '}) EXPECT_FALSE(AcceptCustomValueKey(key, false)) << key;
  EXPECT_TRUE(AcceptCustomValueKey('\x16', true));  // Ctrl+V
}

}  // namespace
