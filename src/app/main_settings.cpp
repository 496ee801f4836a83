#include "app/main_settings.h"

#include <cstdint>

TMainSettings ReadMainSettings(TIniFile32& ini) {
  TMainSettings s;
  s.HistoryHours = ini.ReadInteger("BrowseMode", "Hours", s.HistoryHours);
  s.MaxPeak = ini.ReadInteger("Settings", "MaxPeak", s.MaxPeak);
  s.MainMenu = ini.ReadBool("Settings", "MainMenu", s.MainMenu);
  s.GraphTips = ini.ReadBool("Settings", "GraphTips", s.GraphTips);
  s.BrowseMode = ini.ReadBool("Settings", "BrowseMode", s.BrowseMode);
  s.Borderless = ini.ReadBool("Settings", "Borderless", s.Borderless);
  s.SolidBar = ini.ReadBool("Settings", "SolidBar", s.SolidBar);
  s.StatsTrayTip = ini.ReadBool("Settings", "StatsTrayTip", s.StatsTrayTip);
  s.AntiAlias = ini.ReadInteger("Settings", "AntiAlias", s.AntiAlias);
  s.LineWidth = ini.ReadInteger("Settings", "LineWidth", s.LineWidth);
  s.Statusbar = ini.ReadBool("Settings", "Statusbar", s.Statusbar);
  s.StopWatch.Running = ini.ReadBool("StopWatch", "E", false);
  s.StopWatch.Ticks = ini.ReadInt64("StopWatch", "D", 0);
  s.StopWatch.Sent = ini.ReadInt64("StopWatch", "Tx", 0);
  s.StopWatch.Received = ini.ReadInt64("StopWatch", "Rx", 0);
  s.StopWatch.Shown = ini.ReadBool("StopWatch", "V", false);
  s.ReconStall = ini.ReadBool("Settings", "ReconStall", s.ReconStall);
  s.ShowActivity = ini.ReadBool("Settings", "ShowActivity", s.ShowActivity);
  s.CUI = ini.ReadInteger("Settings", "CUI", s.CUI);
  s.VLines = ini.ReadBool("Settings", "vLines", s.VLines);
  s.GridStyle = ini.ReadInteger("Settings", "GridStyle", s.GridStyle);
  s.YaxisDisplay = ini.ReadInteger("Settings", "YaxisDisplay", s.YaxisDisplay);
  s.Scale = ini.ReadInteger("Settings", "Scale", s.Scale);
  s.MaxValueType = ini.ReadInteger("Settings", "MaxValueType", s.MaxValueType);
  s.MaxValue = ini.ReadString("Settings", "MaxValue", s.MaxValue);
  for (size_t i = 0; i < kColorKeys.size(); ++i)
    s.Colors[i] = static_cast<uint32_t>(
        ini.ReadInteger("Colors", kColorKeys[i], static_cast<int32_t>(s.Colors[i])));
  s.Dialup = ini.ReadBool("Settings", "Dialup", s.Dialup);
  s.Adapters = ReadAdapterChoice(ini);
  if (ini.SectionExists("Window"))
    s.Window = TMainSettings::TBounds{
        ini.ReadInteger("Window", "1", 0), ini.ReadInteger("Window", "2", 0),
        ini.ReadInteger("Window", "3", 0), ini.ReadInteger("Window", "4", 0)};
  return s;
}

TRateUnits StartupRateUnits(bool bits) {
  return bits ? TRateUnits{8, " kbps"} : TRateUnits{1, " KB/s"};
}
