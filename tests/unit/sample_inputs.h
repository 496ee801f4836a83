#pragma once

#include <cstdint>
#include <random>
#include <string>

// Inputs for the codec's tests and benchmarks, made in code from fixed seeds
// so that every run, natively or under Wine, sees the same bytes.

// Text laid out like a month file of usage totals: a section per day, the
// totals and a few per-entry keys, CR LF line ends.
inline std::string MonthFileText(size_t size, uint32_t seed = 1) {
  std::mt19937 random(seed);
  static const char* const kEntries[] = {"MyISP", "Office VPN", "Ethernet", "Mobile"};
  std::string text;
  for (int day = 46357; text.size() < size; ++day) {
    text += "[" + std::to_string(day) + "]\r\n";
    text += "Hours=" + std::to_string(random() % 86400) + "\r\n";
    text += "Recv=" + std::to_string(random() % 4000000000u) + "\r\n";
    text += "Xmit=" + std::to_string(random() % 400000000u) + "\r\n";
    text += "Calls=" + std::to_string(random() % 12) + "\r\n";
    for (const char* entry : kEntries) {
      if (random() % 2) continue;
      text += std::string(entry) + "-Hours=" + std::to_string(random() % 86400) + "\r\n";
      text += std::string(entry) + "-Recv=" + std::to_string(random() % 4000000000u) + "\r\n";
    }
    text += "\r\n";
  }
  text.resize(size);
  return text;
}

inline std::string RandomBytes(size_t size, uint32_t seed = 1) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

// Random blocks, each either new bytes or a copy of earlier bytes from
// `reach` back, so matches keep reaching towards the window's far edge.
inline std::string RepeatsFromAfar(size_t size, size_t reach, uint32_t seed = 1) {
  std::mt19937 random(seed);
  std::string bytes;
  while (bytes.size() < size) {
    const size_t length = 1 + random() % 600;
    if (bytes.size() >= reach && random() % 2) {
      for (size_t i = 0; i < length; ++i) bytes += bytes[bytes.size() - reach];
    } else {
      bytes += RandomBytes(length, static_cast<uint32_t>(random()));
    }
  }
  bytes.resize(size);
  return bytes;
}

// Runs of one byte of random lengths, up to well past the longest match.
inline std::string LongRuns(size_t size, uint32_t seed = 1) {
  std::mt19937 random(seed);
  std::string bytes;
  while (bytes.size() < size) bytes.append(1 + random() % 3000, static_cast<char>(random() % 4));
  bytes.resize(size);
  return bytes;
}
