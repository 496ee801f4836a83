// Loads arbitrary bytes as a settings or month file, plain or container, then
// checks that reads stay in bounds and that a write reads back.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "fuzz/fuzz_support.h"
#include "storage/container_format.h"
#include "storage/ini_file.h"
#include "storage/text_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string path = ScratchFolder() + "46357.dat";
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;

  TIniFile32 ini(path, false);
  ini.Password = "pw";
  for (const std::string& section : ini.ReadSections()) {
    for (const std::string& key : ini.ReadSection(section)) {
      ini.ReadString(section, key, "");
      ini.ReadInt64(section, key, 0);
    }
  }
  if (!ini.Loaded()) {
    // A file that cannot be read is never written.
    ini.WriteString("Fz", "Key", "Value");
    std::ifstream in(path, std::ios::binary);
    Check(std::string(std::istreambuf_iterator<char>(in), {}) == bytes);
    return 0;
  }
  if (!IsContainer(bytes)) Check(ini.Lines() == SplitLines(bytes));

  ini.WriteString("Fz", "Key", "Value");
  ini.WriteInteger("46357", "Hours", 3600);
  TIniFile32 again(path, false);
  Check(again.ReadString("Fz", "Key", "") == "Value");
  Check(again.ReadInteger("46357", "Hours", 0) == 3600);
  return 0;
}
