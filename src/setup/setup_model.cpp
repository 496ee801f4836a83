#include "setup/setup_model.h"

#include <algorithm>
#include <charconv>

#include "base/product.h"
#include "formatting/date_format.h"
#include "setup/setup_tables.h"

namespace {

constexpr int kSecondsPerHour = 3600;

// A stored list index, or the list's default when it lies outside the list.
int Choice(int value, int count, int fallback) {
  return value >= 0 && value < count ? value : fallback;
}

// The adapters chosen. None is at the first start: then the first that is
// up and has an address, the one that most likely carries the traffic, else
// the first row's.
TAdapterChoice ChosenAdapters(const TMeterState& meter) {
  TAdapterChoice choice = meter.Choice;
  const auto& items = meter.Adapters.Items;
  if (choice.All || !choice.Keys.empty() || items.empty()) return choice;
  auto offered = std::find_if(items.begin(), items.end(), [](const TNicItem& item) {
    return item.Up && !item.IP.empty() && item.IP != "0.0.0.0";
  });
  if (offered == items.end()) offered = items.begin();
  choice.Keys = {AdapterKey(*offered)};
  return choice;
}

bool Listed(const TAdapterList& list, const std::string& key) {
  return std::any_of(list.Items.begin(), list.Items.end(),
                     [&](const TNicItem& item) { return AdapterKey(item) == key; });
}

// Why the chosen adapters cannot be taken, or empty: one newly chosen is no
// longer listed (the list may have changed since Setup showed it; one chosen
// before may be unplugged, and stays), or a set has none.
std::string Refusal(const TAdapterChoice& chosen, const TMeterState& meter) {
  if (chosen.All) return std::string();
  for (const std::string& key : chosen.Keys)
    if (!Listed(meter.Adapters, key) && !meter.Choice.Chooses(key))
      return "The adapter " + key +
             " is no longer there. Tallyline goes on with the adapter it watched before.";
  if (chosen.Keys.empty() && !meter.Adapters.Items.empty())
    return "No adapter is ticked. Tallyline goes on with the adapters it watched before.";
  return std::string();
}

// Whether two choices count the same adapters: all of them, or the same set.
bool SameAdapters(const TAdapterChoice& a, const TAdapterChoice& b) {
  return a.All == b.All && (a.All || a.Keys == b.Keys);
}

void MakeChosen(TMeterState& meter, TIniFile32& ini, TAdapterChoice chosen) {
  // All adapters keeps the set for a return to it.
  if (chosen.All) chosen.Keys = meter.Choice.Keys;
  meter.Choice = chosen;
  WriteAdapterChoice(ini, chosen);
  for (TNicItem& item : meter.Adapters.Items) item.Selected = chosen.Chooses(AdapterKey(item));
}

// The next update only learns the new counters; the totals, the
// connection's counts and the graph start again, and the adapters are found
// afresh.
void RestartMeasurement(TMeterState& meter, TMeterModel& graph) {
  meter.PrevRecv = meter.PrevXmit = -1;
  meter.TickBase = 0;
  meter.RecvTotal = meter.XmitTotal = 0;
  meter.RecvConnection = meter.XmitConnection = 0;
  meter.Watched.clear();
  graph.Clear();
}

// The source, and the adapters. The watched links change with the source,
// or in adapter mode with the adapters counted; in dial-up mode the adapters
// are only recorded. Returns what the user is to be told.
std::string ApplySource(const TSetupValues& v, TSetupHost& host) {
  TMeterState& meter = host.Meter();
  std::string notice = Refusal(v.Adapters, meter);
  // Told in adapter mode only: in dial-up mode the adapters are not used.
  const bool adaptersChanged = notice.empty() && !SameAdapters(v.Adapters, meter.Choice);
  if (v.Dialup) notice.clear();
  const bool modeChanged = v.Dialup != meter.DialupMode;
  const bool linkChanged = modeChanged || (adaptersChanged && !v.Dialup);
  if (!modeChanged && !adaptersChanged) return notice;
  // The old links' connection ends, booked under their own names, first.
  if (linkChanged) host.EndConnection();
  host.Settings().WriteBool("Settings", "Dialup", v.Dialup);
  if (modeChanged) {
    meter.DialupMode = v.Dialup;
    // As at start: a connection already up is watched, not counted as a call.
    if (v.Dialup) meter.Connected = true;
  }
  if (adaptersChanged) MakeChosen(meter, host.Settings(), v.Adapters);
  if (linkChanged) RestartMeasurement(meter, host.Graph());
  return notice;
}

void WriteSettings(const TSetupValues& v, TIniFile32& ini, int hScale) {
  ini.WriteInteger("BrowseMode", "Hours", v.Hours);
  ini.WriteInteger("Settings", "LineWidth", v.LineWidth);
  ini.WriteInteger("Settings", "GridStyle", v.GridStyle);
  ini.WriteInteger("Settings", "YaxisDisplay", v.YAxis);
  ini.WriteInteger("Settings", "Scale", v.Units);
  ini.WriteInteger("Settings", "MaxValueType", v.MaxValueType);
  ini.WriteString("Settings", "MaxValue", v.MaxValue);
  ini.WriteBool("Settings", "MainMenu", v.MainMenu);
  ini.WriteBool("Settings", "GraphTips", v.GraphTips);
  ini.WriteInteger("Settings", "AntiAlias", v.AntiAlias);
  ini.WriteBool("Settings", "ShowActivity", v.ShowActivity);
  ini.WriteBool("Settings", "StatsTrayTip", v.StatsTrayTip);
  ini.WriteBool("Settings", "SolidBar", v.GraphType == 1);
  ini.WriteBool("Settings", "vLines", v.XAxis == 1);
  ini.WriteInteger("Settings", "CUI", IntervalStep(v.IntervalPosition).Seconds);
  // Not read back at start; the graph's width of a sample, for the record.
  ini.WriteInteger("Settings", "CHS", hScale);
  for (size_t i = 0; i < kColorKeys.size(); ++i)
    ini.WriteInteger("Colors", kColorKeys[i], static_cast<int32_t>(v.Colors[i]));
}

// The maximum as the settings now give it.
void ApplyMaximum(TIniFile32& ini, TMeterModel& graph) {
  const int type = ini.ReadInteger("Settings", "MaxValueType", 0);
  const auto maximum = MaxValueForType(type, ini.ReadString("Settings", "MaxValue", ""));
  graph.SetMaxValueType(maximum ? tmvFixed : tmvAuto);
  if (maximum) graph.SetMaxValue(*maximum);
}

void ApplyGraph(const TSetupValues& v, TIniFile32& ini, TMeterModel& graph) {
  graph.SetHistoryMax(v.Hours * kSecondsPerHour);
  graph.SetLineWidth(static_cast<uint8_t>(v.LineWidth + 1));
  graph.SetGridStyle(static_cast<TGridStyle>(v.GridStyle));
  graph.SetYaxisDisplay(static_cast<TYAxisDisplay>(v.YAxis));
  graph.SetScale(v.Units == 1 ? sKBits : sKBytes);
  graph.SetAntiAlias(static_cast<uint8_t>(v.AntiAlias));
  ApplyMaximum(ini, graph);
  graph.SetSolid(v.GraphType == 1);
  ApplyGraphColors(v.Colors, graph);
  graph.SetVLine(v.XAxis == 1);
  graph.SetShowVScale(v.XAxis == 1);
}

struct TLimitText {
  std::string Text;
  int Unit;
  bool operator==(const TLimitText&) const = default;
};

// The limit as the Quota tab shows it.
TLimitText ShownLimit(int64_t limit) {
  const int unit = limit > 0 && limit % kQuotaUnits[1].Bytes == 0 ? 1 : 0;
  return {std::to_string(limit / kQuotaUnits[unit].Bytes), unit};
}

// A limit left as it was shown keeps its bytes, which a shown megabyte
// count may have rounded down; text that is no whole number keeps it too.
int64_t TypedLimit(const TSetupValues& v, int64_t previous) {
  if (ShownLimit(previous) == TLimitText{v.QuotaLimit, v.QuotaUnit}) return previous;
  const int64_t unit =
      kQuotaUnits[Choice(v.QuotaUnit, static_cast<int>(kQuotaUnits.size()), 0)].Bytes;
  const char* end = v.QuotaLimit.data() + v.QuotaLimit.size();
  int64_t count = 0;
  const auto [stop, error] = std::from_chars(v.QuotaLimit.data(), end, count);
  if (error != std::errc() || stop != end || count < 0 || count > INT64_MAX / unit) return previous;
  return count * unit;
}

// After Setup the bit rates read " Kbps"; start-up writes them " kbps".
THostOptions Options(const TSetupValues& v, const TMeterModel& graph) {
  THostOptions options;
  options.ShowActivity = v.ShowActivity;
  options.StatsTrayTip = v.StatsTrayTip;
  options.GraphTips = v.GraphTips;
  options.MainMenu = v.MainMenu;
  options.Colors = v.Colors;
  options.Rates = graph.Scale() == sKBits ? TRateUnits{8, " Kbps"} : TRateUnits{1, " KB/s"};
  return options;
}

}  // namespace

TSetupValues ReadSetupValues(TSetupHost& host) {
  TSetupValues v;
  const TMeterState& meter = host.Meter();
  const TMeterModel& graph = host.Graph();
  const THostOptions options = host.Options();
  TIniFile32& ini = host.Settings();
  v.Dialup = meter.DialupMode;
  v.Adapters = ChosenAdapters(meter);
  v.GraphType = graph.Solid() ? 1 : 0;
  v.GridStyle = Choice(ini.ReadInteger("Settings", "GridStyle", v.GridStyle), 3, v.GridStyle);
  v.XAxis = graph.VLine() ? 1 : 0;
  v.YAxis = Choice(ini.ReadInteger("Settings", "YaxisDisplay", v.YAxis), 4, v.YAxis);
  v.Colors = options.Colors;
  v.Units = Choice(ini.ReadInteger("Settings", "Scale", v.Units), 2, v.Units);
  v.MaxValueType = Choice(ini.ReadInteger("Settings", "MaxValueType", 0),
                          static_cast<int>(kMaximumChoices.size()), 0);
  v.MaxValue = ini.ReadString("Settings", "MaxValue", "");
  v.IntervalPosition = IntervalPosition(meter.CUI);
  v.AntiAlias = Choice(ini.ReadInteger("Settings", "AntiAlias", 0), 4, 0);
  v.LineWidth = Choice(graph.LineWidth() - 1, 2, 0);
  v.ShowActivity = options.ShowActivity;
  v.StatsTrayTip = options.StatsTrayTip;
  v.MainMenu = options.MainMenu;
  v.GraphTips = options.GraphTips;
  v.Hours = std::clamp(ini.ReadInteger("BrowseMode", "Hours", v.Hours), kMinHours, kMaxHours);
  v.MetricsFile = options.Export.MetricsFile;
  v.MetricsInterval = options.Export.Interval;
  v.QuotaEnabled = options.Quota.Enabled;
  const TLimitText limit = ShownLimit(options.Quota.Limit);
  v.QuotaLimit = limit.Text;
  v.QuotaUnit = limit.Unit;
  v.QuotaStartDay = options.Quota.StartDay;
  v.QuotaCount = Choice(options.Quota.Count, static_cast<int>(kQuotaCounts.size()), qcBoth);
  v.QuotaWarnPercent = options.Quota.WarnPercent;
  return v;
}

std::string ApplySetup(const TSetupValues& values, TSetupHost& host) {
  const std::string notice = ApplySource(values, host);
  TIniFile32& ini = host.Settings();
  TMeterModel& graph = host.Graph();
  WriteSettings(values, ini, graph.HScale());
  ApplyGraph(values, ini, graph);
  host.Meter().CUI = static_cast<uint16_t>(IntervalStep(values.IntervalPosition).Seconds);
  THostOptions options = Options(values, graph);
  options.Quota = SetupQuota(values, host.Options().Quota);
  WriteQuotaSettings(ini, options.Quota);
  options.Export = {values.MetricsFile,
                    std::clamp(values.MetricsInterval, kMinExportInterval, kMaxExportInterval)};
  WriteExportSettings(ini, options.Export);
  host.SetOptions(options);
  if (!values.ShowActivity) host.SetTrayImageIndex(0);
  if (!values.StatsTrayTip) host.SetTrayTip(kAppTitle);
  return notice;
}

// The warning already given is the main window's record, not a setting.
TQuotaSettings SetupQuota(const TSetupValues& values, const TQuotaSettings& previous) {
  TQuotaSettings quota = previous;
  quota.Enabled = values.QuotaEnabled;
  quota.Limit = TypedLimit(values, previous.Limit);
  quota.StartDay = values.QuotaStartDay;
  quota.Count = static_cast<TQuotaCount>(values.QuotaCount);
  quota.WarnPercent = values.QuotaWarnPercent;
  return quota;
}

// What the reading noted is the main window's to tell, once.
std::string QuotaFiguresText(const TSetupValues& values, TSetupHost& host, int32_t today,
                             const TFormatSettings& fs) {
  if (!values.QuotaEnabled) return "No quota is set.";
  TReadNotes notes;
  const TQuotaFigures figures =
      ReadQuotaFigures(host.Folder(), SetupQuota(values, host.Options().Quota), today, notes);
  const auto date = [&fs](int32_t day) {
    return FormatDateTimePicture(day, fs.ShortDateFormat, fs);
  };
  return "Billing period: " + date(figures.Period.Start) + " - " + date(figures.Period.End) + "\n" +
         QuotaTipLine(figures, fs) + "\n" + QuotaBudgetText(figures, fs);
}

void ApplyGraphColors(const TColorSet& colors, TMeterModel& graph) {
  graph.SetBar1Color(colors[0]);
  graph.SetBar2Color(colors[1]);
  graph.SetTextColor(colors[2]);
  graph.SetGridColor(colors[3]);
  graph.SetBorderColor(colors[4]);
  graph.SetGraphBackgroundColor(colors[5]);
  graph.SetBackgroundColor(colors[6]);
}
