#include "setup/setup_model.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/measurement.h"
#include "fake_link_source.h"
#include "scratch_dir.h"
#include "setup/setup_tables.h"
#include "unit/meter_test_support.h"

namespace {

// The main window as Setup sees it: real settings in a scratch folder, a
// real graph model, a real measurement of a fake link, and the calls on the
// tray.
class TFakeHost : public TSetupHost {
 public:
  const std::string& Folder() const override { return FolderPath; }
  TIniFile32& Settings() override { return Ini; }
  TMeterState& Meter() override { return State; }
  TMeterModel& Graph() override { return Meter1; }
  THostOptions Options() const override { return Shown; }
  void SetOptions(const THostOptions& options) override { Shown = options; }
  void SetTrayImageIndex(int index) override { TrayImage = index; }
  void SetTrayTip(const std::string& tip) override { TrayTip = tip; }
  void EndConnection() override {
    ++Ends;
    Measurement.EndConnection();
  }

  TScratchDir Dir;
  std::string FolderPath = Dir.Folder();
  TIniFile32 Ini{Dir.Path("settings.ini"), false};
  TFakeLinkSource Source;
  TMeasurement Measurement{Dir.Folder(), Ini, Source};
  TMeterState& State = Measurement.State;
  TTestClock Clock;
  TTestMeter Meter1{Clock};
  THostOptions Shown;
  int TrayImage = -1;
  std::string TrayTip;
  int Ends = 0;
};

TNicItem Adapter(int32_t row, const std::string& description, const std::string& mac) {
  return {description, "10.0.0." + std::to_string(row), mac, false};
}

class SetupModelTest : public testing::Test {
 protected:
  // An adapter-mode window measuring the second of two adapters for a while.
  SetupModelTest() {
    MakeDirectory(Host.Dir.Path("data"));
    Host.State.Adapters.Items = {Adapter(1, "Wired", "00-11"), Adapter(2, "Wireless", "00-22")};
    Host.State.Adapters.Items[1].Selected = true;
    Host.State.Choice.Keys = {"Wireless @ 00-22"};
    Host.State.Watched.emplace_back().Key = "Wireless @ 00-22";
    Host.State.PrevRecv = 500;
    Host.State.RecvTotal = 9000;
    Host.Meter1.AddValues(1, 2);
  }
  TSetupValues Read() { return ReadSetupValues(Host); }
  std::string Apply(const TSetupValues& values) { return ApplySetup(values, Host); }
  // Whether the last Apply started the measurement afresh: the adapters too
  // are found again.
  bool Restarted() const {
    return Host.State.PrevRecv == -1 && Host.Meter1.SampleCount() == 0 &&
           Host.State.Watched.empty();
  }
  bool Has(const char* section, const char* key) {
    const std::vector<std::string> keys = Host.Ini.ReadSection(section);
    return std::find(keys.begin(), keys.end(), key) != keys.end();
  }
  std::string Setting(const char* section, const char* key) {
    return Host.Ini.ReadString(section, key, "(none)");
  }
  void Measure() {
    Host.State.PrevRecv = 500;
    Host.Meter1.AddValues(1, 2);
    if (Host.State.Watched.empty()) Host.State.Watched.emplace_back().Key = "Wireless @ 00-22";
  }
  TSetupValues Choosing(TAdapterChoice adapters) {
    TSetupValues values = Read();
    values.Adapters = adapters;
    return values;
  }

  TFakeHost Host;
};

TEST_F(SetupModelTest, OkWritesEveryKeyAsChosenAndRestartsNothingWithoutANewLink) {
  TSetupValues v = Read();
  v.Hours = 48;
  v.LineWidth = 1;
  v.GridStyle = 1;
  v.YAxis = 3;
  v.Units = 1;
  v.MaxValueType = kCustomMaximum;
  v.MaxValue = "100";
  v.MainMenu = v.GraphTips = v.ShowActivity = v.StatsTrayTip = false;
  v.AntiAlias = 2;
  v.GraphType = 1;
  v.XAxis = 0;
  v.IntervalPosition = 3;
  v.Colors = {0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x80000005};
  v.QuotaEnabled = true;
  v.QuotaLimit = "5";
  v.QuotaUnit = 1;
  v.QuotaStartDay = 15;
  v.QuotaCount = 2;
  v.QuotaWarnPercent = 90;
  v.MetricsFile = "metrics\\tallyline.prom";
  v.MetricsInterval = 2;  // below the least
  Apply(v);
  EXPECT_FALSE(Restarted());
  EXPECT_EQ(Host.State.RecvTotal, 9000);
  EXPECT_EQ(Host.Ends, 0);
  EXPECT_FALSE(Has("Settings", "Dialup"));  // the source stayed
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"BrowseMode/Hours", "48"},
      {"Settings/LineWidth", "1"},
      {"Settings/GridStyle", "1"},
      {"Settings/YaxisDisplay", "3"},
      {"Settings/Scale", "1"},
      {"Settings/MaxValueType", "16"},
      {"Settings/MaxValue", "100"},
      {"Settings/MainMenu", "0"},
      {"Settings/GraphTips", "0"},
      {"Settings/AntiAlias", "2"},
      {"Settings/ShowActivity", "0"},
      {"Settings/StatsTrayTip", "0"},
      {"Settings/SolidBar", "1"},
      {"Settings/vLines", "0"},
      {"Settings/CUI", "5"},
      {"Settings/CHS", "1"},
      {"Colors/DL", "16"},
      {"Colors/UL", "32"},
      {"Colors/Text", "48"},
      {"Colors/Grid", "64"},
      {"Colors/Border", "80"},
      {"Colors/GraphBackground", "96"},
      {"Colors/Background", "-2147483643"},
      {"Quota/Enabled", "1"},
      {"Quota/Limit", "5368709120"},
      {"Quota/StartDay", "15"},
      {"Quota/Count", "2"},
      {"Quota/WarnPercent", "90"},
      {"Export/MetricsFile", "metrics\\tallyline.prom"},
      {"Export/Interval", "5"}};
  for (const auto& [path, value] : expected) {
    const size_t slash = path.find('/');
    EXPECT_EQ(Setting(path.substr(0, slash).c_str(), path.substr(slash + 1).c_str()), value)
        << path;
  }
  EXPECT_EQ(Host.State.CUI, 5);
  EXPECT_EQ(Host.Shown.Export, (TExportSettings{"metrics\\tallyline.prom", 5}));
}

TEST_F(SetupModelTest, FirstApplyInDialupModeRecordsTheFirstRowAndEndsNothing) {
  Host.State.DialupMode = true;
  Host.State.Adapters.Items[1].Selected = false;
  Host.State.Choice = {};
  Host.State.EntryName = "My ISP";
  const TSetupValues values = Read();
  EXPECT_EQ(values.Adapters, (TAdapterChoice{false, {"Wired @ 00-11"}}));
  Apply(values);
  // The dial-up connection is the watched link: the adapter is only recorded.
  EXPECT_FALSE(Restarted());
  EXPECT_EQ(Host.Ends, 0);
  EXPECT_EQ(Setting("NIC", "S"), "Wired @ 00-11");
  EXPECT_EQ(Setting("Settings", "Dialup"), "1");
  EXPECT_TRUE(Host.State.Adapters.Items[0].Selected);
  EXPECT_EQ(Host.State.EntryName, "My ISP");  // the dial-up entry keeps booking
}

TEST_F(SetupModelTest, SwitchingTheSourceEndsTheConnectionAndRestartsOnce) {
  TSetupValues values = Read();
  values.Dialup = true;
  Apply(values);
  EXPECT_TRUE(Restarted());
  EXPECT_EQ(Host.Ends, 1);
  EXPECT_EQ(Host.State.RecvTotal, 0);
  EXPECT_TRUE(Host.State.Connected);  // a line already up is watched, not counted as a call
  EXPECT_EQ(Setting("Settings", "Dialup"), "1");
  Measure();
  Apply(values);
  EXPECT_FALSE(Restarted());
  EXPECT_EQ(Host.Ends, 1);
}

// A dial-up connection up when Setup switches to an adapter gets its own log
// line and its bytes under its entry; the adapter gets neither at exit.
TEST_F(SetupModelTest, LeavingDialupModeLogsTheConnectionAsADisconnect) {
  Host.State.DialupMode = true;
  Host.Source.Connection = 5;
  Host.Measurement.Sample();
  ASSERT_EQ(Host.State.EntryName, "MyISP");
  Host.State.HoursBase = Host.Source.Ticks;
  Host.State.RecvConnection = Host.State.RecvUnflushed = 3000000;
  Host.State.XmitConnection = Host.State.XmitUnflushed = 500000;
  Host.Source.Advance(60000);
  TSetupValues values = Choosing({false, {"Wired @ 00-11"}});
  values.Dialup = false;
  Apply(values);
  EXPECT_EQ(Host.State.EntryName, "");
  // The adapter carries 700 bytes from its third second on.
  Host.Source.IfRows = {TFakeLinkSource::Row(1, "Wired", {0x00, 0x11})};
  for (uint32_t received : {0, 0, 700}) {
    Host.Source.Advance(1000);
    Host.Source.IfRows[0].dwInOctets += received;
    Host.Measurement.Tick();
    Host.Measurement.UpdateDisplay(TDisplaySettings{}, 100, false);
  }
  EXPECT_TRUE(Host.Measurement.Close().empty());
  EXPECT_EQ(Host.Dir.Read("Connection.log"), "46363.5,46363.5006944444,1,MyISP,3000000,500000\r\n");
  TIniFile32 month(MonthFileName(Host.Dir.Folder(), Host.Source.Clock), false);
  EXPECT_EQ(month.ReadInt64("46363", "MyISP-Recv", -1), 3000000);
  EXPECT_EQ(month.ReadInt64("46363", "MyISP-Xmit", -1), 500000);
  EXPECT_EQ(month.ReadInt64("46363", "MyISP", -1), 60);
  EXPECT_EQ(month.ReadInt64("46363", "Wired @ 00-11-Recv", -1), 700);
  EXPECT_EQ(month.ReadInt64("46363", "Recv", -1), 3000700);
}

// Setup showed [VPN, Wired, Wireless] and the user chose Wired; by Apply
// the VPN was gone, so Wired is now the first row.
TEST_F(SetupModelTest, TheChosenAdapterIsFoundByItsKeyInTheListAsItIsAtApply) {
  Host.State.Adapters.Items.insert(Host.State.Adapters.Items.begin(), Adapter(0, "VPN", "00-00"));
  EXPECT_EQ(Read().Adapters, (TAdapterChoice{false, {"Wireless @ 00-22"}}));
  const TSetupValues values = Choosing({false, {"Wired @ 00-11"}});
  Host.State.Adapters.Items.erase(Host.State.Adapters.Items.begin());
  EXPECT_EQ(Apply(values), "");
  EXPECT_EQ(Setting("NIC", "S"), "Wired @ 00-11");
  EXPECT_EQ(Setting("Settings", "Dialup"), "0");
  EXPECT_EQ(Host.State.Choice.Keys, std::vector<std::string>{"Wired @ 00-11"});
  EXPECT_TRUE(Host.State.Adapters.Items[0].Selected);
  EXPECT_FALSE(Host.State.Adapters.Items[1].Selected);

  // Gone by Apply: the old choice stays, and the user is told; so it does
  // for a set with such an adapter in it.
  for (const auto& keys : {std::vector<std::string>{"VPN @ 00-00"},
                           std::vector<std::string>{"Wired @ 00-11", "VPN @ 00-00"}}) {
    Measure();
    EXPECT_EQ(Apply(Choosing({false, keys})),
              "The adapter VPN @ 00-00 is no longer there. Tallyline goes on with the adapter it "
              "watched before.");
    EXPECT_EQ(Setting("NIC", "S"), "Wired @ 00-11");
    EXPECT_FALSE(Has("NIC", "S2"));
    EXPECT_EQ(Host.State.Choice.Keys, std::vector<std::string>{"Wired @ 00-11"});
    EXPECT_FALSE(Restarted());
  }
}

// At the first start nothing is selected: the adapter that is up with an
// address goes first, not one that is down or has none.
TEST_F(SetupModelTest, FirstStartOffersTheAdapterThatIsUpWithAnAddress) {
  auto& items = Host.State.Adapters.Items;
  items = {Adapter(1, "Down", "00-01"), Adapter(2, "No address", "00-02"),
           Adapter(3, "Live", "00-03")};
  items[1].IP = "0.0.0.0";
  items[1].Up = items[2].Up = true;
  Host.State.Choice = {};
  EXPECT_EQ(Read().Adapters.Keys, std::vector<std::string>{"Live @ 00-03"});
  items[2].Up = false;
  // None up with an address: the first.
  EXPECT_EQ(Read().Adapters.Keys, std::vector<std::string>{"Down @ 00-01"});
}

TEST_F(SetupModelTest, AdaptersThatShareAHardwareAddressAreTold) {
  Host.State.Adapters.Items[0].MAC = "00-22";
  Apply(Choosing({false, {"Wired @ 00-22"}}));
  // Not the old adapter's identity, which its hardware address would match:
  // the next sample looks the adapter up by its key.
  EXPECT_TRUE(Restarted());
  EXPECT_EQ(Host.State.Choice.Keys, std::vector<std::string>{"Wired @ 00-22"});
}

TEST_F(SetupModelTest, WithoutAnAdapterRowOnlyTheSourceIsRecorded) {
  Host.State.Adapters.Items.clear();
  TSetupValues values = Read();
  EXPECT_EQ(values.Adapters.Keys, std::vector<std::string>{"Wireless @ 00-22"});
  EXPECT_EQ(Apply(values), "");
  EXPECT_FALSE(Restarted());
  EXPECT_FALSE(Has("NIC", "S"));
  values.Dialup = true;
  Apply(values);
  EXPECT_TRUE(Restarted());
  EXPECT_EQ(Setting("Settings", "Dialup"), "1");
  EXPECT_FALSE(Has("NIC", "S"));
}

// All adapters keeps the set in "S", "S2", ...; a smaller set drops the
// keys of a larger one; only a change of what is counted starts afresh.
TEST_F(SetupModelTest, AllAdaptersAndSetsAreWrittenAndRestartOnlyWhenTheCountingChanges) {
  Apply(Choosing({false, {"Wireless @ 00-22", "Wired @ 00-11"}}));
  EXPECT_TRUE(Restarted());
  EXPECT_EQ(Host.Ends, 1);
  EXPECT_EQ(Setting("NIC", "S"), "Wireless @ 00-22");
  EXPECT_EQ(Setting("NIC", "S2"), "Wired @ 00-11");
  EXPECT_FALSE(Has("NIC", "All"));  // as the one-adapter days wrote the file
  Measure();
  Apply(Choosing({true, {}}));
  EXPECT_TRUE(Restarted());
  EXPECT_EQ(Setting("NIC", "All"), "1");
  EXPECT_EQ(Setting("NIC", "S2"), "Wired @ 00-11");
  EXPECT_EQ(Host.State.Choice, (TAdapterChoice{true, {"Wireless @ 00-22", "Wired @ 00-11"}}));
  Measure();
  Apply(Choosing({true, {"Wired @ 00-11"}}));  // still all: the keys are not used
  EXPECT_FALSE(Restarted());
  Apply(Choosing({false, {"Wired @ 00-11"}}));
  EXPECT_TRUE(Restarted());
  EXPECT_EQ(Host.Ends, 3);
  EXPECT_EQ(Setting("NIC", "All"), "0");
  EXPECT_EQ(Setting("NIC", "S"), "Wired @ 00-11");
  EXPECT_FALSE(Has("NIC", "S2"));
  EXPECT_EQ(ReadAdapterChoice(Host.Ini), (TAdapterChoice{false, {"Wired @ 00-11"}}));

  // A set without an adapter is no choice.
  Measure();
  EXPECT_EQ(Apply(Choosing({false, {}})),
            "No adapter is ticked. Tallyline goes on with the adapters it watched before.");
  EXPECT_FALSE(Restarted());
  EXPECT_EQ(Setting("NIC", "S"), "Wired @ 00-11");
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

// December 2026 in the month file: 512 MB downloaded on the 2nd, 256 MB
// each way today, the 7th; tomorrow's bytes are not used yet.
TEST_F(SetupModelTest, QuotaFiguresFollowTheQuotaAsTheTabSetsIt) {
  Host.Dir.Write(std::string("data") + PathDelim + "46357.dat",
                 "[46358]\r\nRecv=536870912\r\nXmit=0\r\n"
                 "[46363]\r\nRecv=268435456\r\nXmit=268435456\r\n"
                 "[46364]\r\nRecv=999999999\r\nXmit=0\r\n");
  const int32_t today = 46363;
  TSetupValues v = Read();
  const auto text = [&] { return QuotaFiguresText(v, Host, today, TFormatSettings{}); };
  EXPECT_EQ(text(), "No quota is set.");
  v.QuotaEnabled = true;
  v.QuotaLimit = "2";
  v.QuotaUnit = 1;  // GB
  EXPECT_EQ(text(),
            "Billing period: 12/1/2026 - 12/31/2026\n"
            "Quota: 1.00 GB of 2.00 GB (50%)\n"
            "25 days left: 40.96 MB a day");
  v.QuotaLimit = "1536";
  v.QuotaUnit = 0;  // MB
  v.QuotaCount = qcUpload;
  v.QuotaStartDay = 5;
  EXPECT_EQ(text(),
            "Billing period: 12/5/2026 - 1/4/2027\n"
            "Quota: 256.00 MB of 1.50 GB (16%)\n"
            "29 days left: 44.14 MB a day");
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
