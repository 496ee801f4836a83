// Shows the graph control with a few hundred samples of varied traffic in
// each of its looks and saves a screenshot of each: meter_<look>.bmp in the
// folder given as the argument (default: the current folder). To look at
// them, from the repository root:
//   source scripts/lib/wine_env.sh; start_private_display; prepare_wine_prefix
//   mkdir -p build/screenshots
//   wine build/win32/bin/meter_gallery.exe build/screenshots
//   for f in build/screenshots/meter_*.bmp; do convert "$f" "${f%.bmp}.png"; done
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "controls/vexa_meter_win32.h"
#include "driver/window_driver_win32.h"
#include "formatting/number_format.h"
#include "ui/force_foreground_win32.h"
#include "win32/test_forms_win32.h"

namespace {

// The program's main window at its design size.
class TGalleryForm : public TTestForm {
 public:
  TGalleryForm() : TTestForm("TMeterGallery", "Tallyline", {40, 40, 624, 322}) {}
};

// Bytes a second: a download that idles, browses and bursts, with two quiet
// spells, and a smaller upload that rises with it.
void AddTraffic(TVexaMeter& meter, TDateTime& now, int samples) {
  uint32_t seed = 12345;
  auto noise = [&seed] {
    seed = seed * 1103515245 + 12345;
    return (seed >> 16 & 0x7FFF) / 32767.0;
  };
  for (int i = 0; i < samples; ++i) {
    double down = 20000 + 15000 * std::sin(i / 9.0) + 12000 * noise();
    if (i % 140 > 90 && i % 140 < 118) down = 380000 + 160000 * noise();
    if (i % 200 > 170) down = 300 * noise();
    double up = down * 0.08 + 3000 * noise();
    if (i % 75 == 40) up = 150000;
    now += 1.0 / 1440;  // a sample a minute
    meter.AddValues(static_cast<int32_t>(down), static_cast<int32_t>(up), false);
  }
}

struct TLook {
  const char* Name;
  std::function<void(TVexaMeter&)> Apply;
};

// As the main window sets the graph up with the default settings.
void MainWindowLook(TVexaMeter& m) {
  m.SetGraphBackgroundColor(0xFFFFFF);
  m.SetBackgroundColor(clBtnFace);
  m.SetBar1Color(0xFF0000);
  m.SetBar2Color(0x0000FF);
  m.SetTextColor(0x000080);
  m.SetGridColor(0x808080);
  m.SetBorderColor(0);
  m.SetYAxisSuffex(true);
  m.SetShowVScale(true);
  m.SetVLine(true);
  m.SetHScale(2);
  m.SetVPos(120);
  m.SetMinMaxValue(10);
  m.SetMaxValueType(tmvAuto);
  m.SetGridStyle(gLine);
  m.SetYaxisDisplay(yaLeft);
  m.SetScale(sKBytes);
  m.SetSolid(false);
  m.SetAntiAlias(0);
  m.SetLineWidth(1);
  m.BrowseTo(-1);
}

const std::vector<TLook> kLooks = {
    {"aa0_line", [](TVexaMeter&) {}},
    {"aa3_line", [](TVexaMeter& m) { m.SetAntiAlias(3); }},
    {"aa0_solid", [](TVexaMeter& m) { m.SetSolid(true); }},
    {"aa3_solid_width2",
     [](TVexaMeter& m) {
       m.SetAntiAlias(3);
       m.SetSolid(true);
       m.SetLineWidth(2);
     }},
    {"aa1_dotted",
     [](TVexaMeter& m) {
       m.SetAntiAlias(1);
       m.SetGridStyle(gDotted);
     }},
    {"axis_right", [](TVexaMeter& m) { m.SetYaxisDisplay(yaRight); }},
    {"axis_both", [](TVexaMeter& m) { m.SetYaxisDisplay(yaBoth); }},
    {"axis_none", [](TVexaMeter& m) { m.SetYaxisDisplay(yaNone); }},
    {"axis_none_no_time",
     [](TVexaMeter& m) {
       m.SetYaxisDisplay(yaNone);
       m.SetShowVScale(false);
       m.SetVLine(false);
     }},
    {"kbytes_plain", [](TVexaMeter& m) { m.SetYAxisSuffex(false); }},
    {"kbits_suffixed", [](TVexaMeter& m) { m.SetScale(sKBits); }},
    {"kbits_plain",
     [](TVexaMeter& m) {
       m.SetScale(sKBits);
       m.SetYAxisSuffex(false);
     }},
    {"dark_solid_aa2",
     [](TVexaMeter& m) {
       m.SetGraphBackgroundColor(0);
       m.SetBackgroundColor(0x202020);
       m.SetTextColor(0xC0C0C0);
       m.SetGridColor(0x404040);
       m.SetBorderColor(0x808080);
       m.SetBar1Color(0x00C000);
       m.SetBar2Color(0x00A0FF);
       m.SetSolid(true);
       m.SetAntiAlias(2);
     }},
    {"browsing", [](TVexaMeter& m) { m.BrowseTo(120); }},
};

std::string HintFor(const THistoryData& phd) {
  const TSystemTime t = DecodeDateTime(phd.Time);
  char at[64];
  std::snprintf(at, sizeof at, "%d/%d/%d %d:%02d:%02d %s", t.Month, t.Day, t.Year,
                t.Hour % 12 == 0 ? 12 : t.Hour % 12, t.Minute, t.Second, t.Hour < 12 ? "AM" : "PM");
  return "D/L: " + FormatNumber(phd.Value1 / 1024.0, 2) +
         " KB/s\rU/L: " + FormatNumber(phd.Value2 / 1024.0, 2) + " KB/s\rAT:  " + at;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : ".";
  TGalleryForm form;
  // A clock of our own: samples a minute apart ending two days ago, and
  // looks an hour apart, so the label widths of one look do not linger.
  TDateTime now = EncodeDateTime({2026, 3, 12, 7, 40});
  uint32_t tick = 1000000;
  TVexaMeterArgs args;
  args.Parent = form.Handle();
  RECT client;
  GetClientRect(form.Handle(), &client);
  args.Width = client.right;
  args.Height = client.bottom;
  args.System.TickCount = [&tick] { return tick; };
  args.System.Now = [&now] { return now; };
  TVexaMeter meter(args);
  HFONT font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0,
                           "Microsoft Sans Serif");
  meter.SetFont(font);
  meter.SetHistoryMax(86400);
  MainWindowLook(meter);
  AddTraffic(meter, now, 420);
  now += 2;
  ForceForegroundWindow(form.Handle(), false);

  auto show = [&] {
    tick += 3600000;
    meter.RecalcAutoMax(true);
    RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpMessages(150);
  };
  auto save = [&](const std::string& name) {
    const std::string path = folder + "\\meter_" + name + ".bmp";
    if (!SaveScreenshot(form.Handle(), path))
      std::fprintf(stderr, "cannot save %s\n", path.c_str());
    std::printf("%s\n", path.c_str());
  };
  for (const TLook& look : kLooks) {
    MainWindowLook(meter);
    look.Apply(meter);
    show();
    save(look.Name);
  }

  // A hint over a burst, half a second after the mouse came to rest.
  MainWindowLook(meter);
  meter.SetAntiAlias(3);
  meter.OnFormatHint = [](const THistoryData& phd, std::string& s) { s = HintFor(phd); };
  show();
  const TRect& plot = meter.PlotRect();
  POINT at{plot.Left, plot.Top + (plot.Bottom - plot.Top) / 3};
  while (at.x < plot.Right && meter.Sample(meter.HitTest(at.x, at.y)).Value1 < 300000) ++at.x;
  at.x += 20;
  POINT screen = at;
  ClientToScreen(meter.Handle(), &screen);
  SetCursorPos(screen.x, screen.y);
  SendMessageA(meter.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
  PumpMessages(800);
  save("hint");
  DeleteObject(font);
  return 0;
}
