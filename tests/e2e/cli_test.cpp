// The Windows build of tallyline-cli, run as a console program.
#include <gtest/gtest.h>

#include <wincodec.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "platform/date_time.h"
#include "platform/files.h"
#include "unit/scratch_dir.h"

namespace {

// Runs tallyline-cli with the arguments; its standard output and exit status.
std::pair<std::string, int> RunCli(const std::string& arguments) {
  const std::string command =
      "\"\"" + ExeFolder() + "tallyline-cli.exe\" " + arguments + " 2>nul\"";
  FILE* pipe = _popen(command.c_str(), "rb");
  std::string out;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  const int status = _pclose(pipe);
  return {out, status};
}

TEST(CliOnWindowsTest, PackedMonthFileDumpsBackWithWindowsLineBreaks) {
  TScratchDir dir;
  std::string month;
  for (int day = 46357; day < 46367; ++day)
    month += "[" + std::to_string(day) + "]\r\nHours=3600\r\nRecv=" + std::to_string(day * 7LL) +
             "\r\n\r\n";
  dir.Write("46357.dat", month);
  const std::string in = "\"" + dir.Path("46357.dat") + "\"";
  const std::string out = "\"" + dir.Path("packed.dat") + "\"";
  EXPECT_EQ(RunCli("pack " + in + " " + out + " --compress --password pw").second, 0);
  EXPECT_EQ(dir.Read("packed.dat").substr(0, 7), "ESTREAM");
  const auto [text, status] = RunCli("dump " + out + " --password pw");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(text, month);
  EXPECT_EQ(RunCli("dump " + out).second, 1);
}

TEST(CliOnWindowsTest, ReportWritesItsExportUnchanged) {
  TScratchDir dir;
  std::filesystem::create_directory(dir.Path("data"));
  dir.Write("data\\38718.dat", "[38718]\r\nHours=3600\r\nRecv=1048576\r\nXmit=2048\r\n");
  // Without the trailing backslash, which would escape the closing quote.
  const std::string folder = dir.Folder().substr(0, dir.Folder().size() - 1);
  const auto [csv, status] = RunCli("report monthly --csv --folder \"" + folder + "\"");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(csv, "DATE,DOWNLOAD,UPLOAD,TOTAL,SECONDS\r\n01-01-2006,1048576,2048,1050624,3600\r\n");
}

// JSON keeps its line feeds: no CR LF for programs that read it.
TEST(CliOnWindowsTest, JsonComesOutByteForByte) {
  TScratchDir dir;
  std::filesystem::create_directory(dir.Path("data"));
  dir.Write("data\\38718.dat", "[38718]\r\nHours=3600\r\nRecv=1048576\r\nXmit=2048\r\n");
  const std::string folder = dir.Folder().substr(0, dir.Folder().size() - 1);
  const auto [json, status] = RunCli("report monthly --json --folder \"" + folder + "\"");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(json,
            "[\n{\"start\":\"2006-01-01\",\"received\":1048576,\"sent\":2048,\"total\":1050624,"
            "\"seconds\":3600}\n]\n");
}

TEST(CliOnWindowsTest, LogWritesItsExportUnchanged) {
  TScratchDir dir;
  dir.Write("Connection.log", "45672.4166666667,45672.4583333333,1,Work,1536,512\r\n");
  const std::string folder = dir.Folder().substr(0, dir.Folder().size() - 1);
  const auto [csv, status] = RunCli("log --csv --folder \"" + folder + "\"");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(csv,
            "ENTRY,START,END,SECONDS,RECEIVED,SENT,REASON\r\n"
            "Work,2025-01-15 10:00:00,2025-01-15 11:00:00,3600,1536,512,1\r\n");
}

// A PNG file as the system's imaging component reads it, each pixel
// 0x00BBGGRR; empty when it cannot.
struct TPicture {
  UINT Width = 0;
  UINT Height = 0;
  std::vector<uint32_t> Pixels;
  uint32_t At(UINT x, UINT y) const { return Pixels[y * Width + x]; }
};

TPicture ReadPng(const std::string& path) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  TPicture picture;
  IWICImagingFactory* factory = nullptr;
  IWICBitmapDecoder* decoder = nullptr;
  IWICBitmapFrameDecode* frame = nullptr;
  IWICFormatConverter* converter = nullptr;
  const std::wstring name(path.begin(), path.end());
  if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) &&
      SUCCEEDED(factory->CreateDecoderFromFilename(name.c_str(), nullptr, GENERIC_READ,
                                                   WICDecodeMetadataCacheOnDemand, &decoder)) &&
      SUCCEEDED(decoder->GetFrame(0, &frame)) &&
      SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
      SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone,
                                      nullptr, 0, WICBitmapPaletteTypeCustom)) &&
      SUCCEEDED(converter->GetSize(&picture.Width, &picture.Height))) {
    std::vector<BYTE> bytes(picture.Width * picture.Height * 4);
    if (SUCCEEDED(converter->CopyPixels(nullptr, picture.Width * 4, static_cast<UINT>(bytes.size()),
                                        bytes.data())))
      for (size_t i = 0; i < bytes.size(); i += 4)
        picture.Pixels.push_back(bytes[i] << 16 | bytes[i + 1] << 8 | bytes[i + 2]);
  }
  for (IUnknown* object : std::initializer_list<IUnknown*>{converter, frame, decoder, factory})
    if (object) object->Release();
  return picture;
}

// The runs of a colour along a row of the picture: [first, end) each.
std::vector<std::pair<UINT, UINT>> Runs(const TPicture& picture, UINT y, uint32_t color) {
  std::vector<std::pair<UINT, UINT>> runs;
  for (UINT x = 0; x < picture.Width; ++x)
    if (picture.At(x, y) == color) {
      if (runs.empty() || runs.back().second != x) runs.push_back({x, x});
      runs.back().second = x + 1;
    }
  return runs;
}

// A day with data at 2:00, 9:00 and 20:00: the PNG has the size asked for,
// and the bars (download blue, upload red, as the graph has them by default)
// stand in those hours' slots of 24 across the plot, whose right edge is 4
// pixels from the picture's.
TEST(CliOnWindowsTest, ChartHourlyWritesAPngWithTheBarsInTheirHoursSlots) {
  TScratchDir dir;
  std::filesystem::create_directory(dir.Path("data"));
  const int day = EncodeDaySerial(2026, 12, 7), first = EncodeDaySerial(2026, 12, 1);
  dir.Write("data\\" + std::to_string(first) + ".dat",
            "[" + std::to_string(day) +
                "]\r\nRecv=6291456\r\nXmit=2621440\r\nRecv.02=3145728\r\nRecv.09=1048576\r\n"
                "Xmit.09=524288\r\nRecv.20=2097152\r\nXmit.20=2097152\r\n");
  const std::string folder = dir.Folder().substr(0, dir.Folder().size() - 1);
  const auto [out, status] =
      RunCli("chart hourly --day 2026-12-07 --width 480 --height 200 --folder \"" + folder +
             "\" --out \"" + dir.Path("hours.png") + "\"");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(out, "");
  const TPicture picture = ReadPng(dir.Path("hours.png"));
  ASSERT_EQ(picture.Width, 480u);
  ASSERT_EQ(picture.Height, 200u);
  // The bars' lowest row: the legend's squares are at the top.
  UINT floor = 0;
  for (UINT y = 0; y < picture.Height; ++y)
    if (!Runs(picture, y, 0xFF0000).empty()) floor = y;
  const auto downloads = Runs(picture, floor, 0xFF0000), uploads = Runs(picture, floor, 0x0000FF);
  ASSERT_EQ(downloads.size(), 3u);
  ASSERT_EQ(uploads.size(), 2u);
  // Each hour's bars meet in its slot's middle: where the download ends.
  const double hour2 = downloads[0].second, hour9 = downloads[1].second,
               hour20 = downloads[2].second;
  EXPECT_EQ(uploads[0].first, downloads[1].second);
  EXPECT_EQ(uploads[1].first, downloads[2].second);
  const double slot = (hour20 - hour2) / 18;
  EXPECT_NEAR(hour9, hour2 + 7 * slot, 1.5);
  const double left = hour2 - 2.5 * slot;
  EXPECT_NEAR(left + 24 * slot, 476, 2);
  EXPECT_GT(left, 30);  // the amounts' labels
  EXPECT_GT(slot, 14);

  // A folder that is not there: said, and a failure.
  EXPECT_EQ(RunCli("chart hourly --folder \"" + folder + "\" --out \"" +
                   dir.Path("missing\\hours.png") + "\"")
                .second,
            1);
}

}  // namespace
