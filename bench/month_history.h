#pragma once

// A folder of month files for the benchmarks: every day from January 2000 on,
// each booked for two dial-up entries as the program books it, with its
// hours or, as before they were booked, without.
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/date_time.h"

// The folder is made with the object and removed with it.
class THistory {
 public:
  THistory(const std::string& name, int years, bool hours = false)
      : FFolder(std::filesystem::temp_directory_path() /
                ("tallyline-bench-" + name + "-" + std::to_string(years))),
        FHours(hours) {
    std::filesystem::remove_all(FFolder);
    std::filesystem::create_directories(FFolder / "data");
    for (int month = 0; month < 12 * years; ++month) WriteMonth(2000 + month / 12, month % 12 + 1);
  }
  ~THistory() { std::filesystem::remove_all(FFolder); }
  // The program's folder, with a trailing delimiter.
  std::string Folder() const { return FFolder.string() + "/"; }

 private:
  void WriteMonth(int year, int month) {
    const int first = EncodeDaySerial(year, month, 1);
    std::ofstream file(FFolder / "data" / (std::to_string(first) + ".dat"), std::ios::binary);
    for (int day = first; day < first + DaysInMonth(year, month); ++day) {
      file << "[" << day << "]\r\n";
      // An entry's seconds under its name, its other figures under name-Key.
      for (const char* entry : {"Home ISP", "Work VPN"})
        file << entry << "=" << day % 7000 << "\r\n"
             << entry << "-Calls=2\r\n"
             << entry << "-Recv=" << day * 1013LL << "\r\n"
             << entry << "-Xmit=" << day * 97LL << "\r\n";
      file << "Calls=4\r\nHours=" << day % 14000 << "\r\nRecv=" << day * 2026LL
           << "\r\nXmit=" << day * 194LL << "\r\n";
      for (int hour = 0; FHours && hour < 24; ++hour)
        file << "Hours." << hour / 10 << hour % 10 << "=" << day % 3600 << "\r\nRecv." << hour / 10
             << hour % 10 << "=" << day * 84LL << "\r\nXmit." << hour / 10 << hour % 10 << "="
             << day * 8LL << "\r\n";
      file << "\r\n";
    }
  }
  std::filesystem::path FFolder;
  bool FHours;
};
