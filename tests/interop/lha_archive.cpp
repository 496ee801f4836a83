#include "interop/lha_archive.h"

#include <array>
#include <stdexcept>

namespace {

constexpr uint32_t kFixedDosTime = (44u << 25) | (1u << 21) | (1u << 16);  // 2024-01-01 00:00

void AppendLittleEndian(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
}

// Reads little-endian numbers and byte runs, refusing to pass the end.
class TCursor {
 public:
  TCursor(std::string_view data, size_t at) : FData(data), FAt(at) {}
  uint32_t Number(int bytes) {
    const std::string_view raw = Take(bytes);
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(raw[i]);
    return value;
  }
  std::string_view Take(size_t count) {
    if (FAt + count > FData.size()) throw std::runtime_error("LHA archive cut short");
    const std::string_view part = FData.substr(FAt, count);
    FAt += count;
    return part;
  }
  size_t At() const { return FAt; }

 private:
  std::string_view FData;
  size_t FAt;
};

// Extended headers as levels 1 and 2 have them: each holds its type, its
// data and the size of the next one; a size of 0 ends the chain. Returns
// their total size; a file name header (type 1) replaces the name.
size_t SkipExtendedHeaders(TCursor& cursor, size_t nextSize, TLhaMember& member) {
  size_t total = 0;
  while (nextSize != 0) {
    if (nextSize < 3) throw std::runtime_error("LHA extended header too short");
    const std::string_view header = cursor.Take(nextSize);
    if (header[0] == 1) member.Name = std::string(header.substr(1, nextSize - 3));
    total += nextSize;
    nextSize = static_cast<unsigned char>(header[nextSize - 2]) |
               static_cast<unsigned char>(header[nextSize - 1]) << 8;
  }
  return total;
}

}  // namespace

uint16_t LhaCrc16(std::string_view data) {
  static const auto table = [] {
    std::array<uint16_t, 256> entries{};
    for (int byte = 0; byte < 256; ++byte) {
      uint16_t crc = static_cast<uint16_t>(byte);
      for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
      entries[byte] = crc;
    }
    return entries;
  }();
  uint16_t crc = 0;
  for (unsigned char byte : data) crc = (crc >> 8) ^ table[(crc ^ byte) & 255];
  return crc;
}

std::string LhaArchive(const TLhaMember& member) {
  // Level 0: size of the header after its first two bytes, their byte sum,
  // method, sizes, DOS time, attribute, level, name, CRC-16.
  std::string header = member.Method;
  AppendLittleEndian(header, static_cast<uint32_t>(member.Packed.size()), 4);
  AppendLittleEndian(header, member.OriginalSize, 4);
  AppendLittleEndian(header, kFixedDosTime, 4);
  header += '\x20';  // archive attribute
  header += '\0';    // level 0
  header += static_cast<char>(member.Name.size());
  header += member.Name;
  AppendLittleEndian(header, member.Crc, 2);
  int sum = 0;
  for (unsigned char byte : header) sum += byte;
  std::string archive;
  archive += static_cast<char>(header.size());
  archive += static_cast<char>(sum);
  return archive + header + member.Packed + '\0';
}

TLhaMember ReadFirstLhaMember(std::string_view archive) {
  TCursor cursor(archive, 0);
  const uint32_t sizeField = cursor.Number(2);  // level 0/1: size byte and sum; level 2: total size
  TLhaMember member;
  member.Method = std::string(cursor.Take(5));
  uint32_t packedSize = cursor.Number(4);
  member.OriginalSize = cursor.Number(4);
  cursor.Take(5);  // time stamp and attribute
  const int level = static_cast<int>(cursor.Number(1));
  if (level == 0 || level == 1) {
    member.Name = std::string(cursor.Take(cursor.Number(1)));
    member.Crc = static_cast<uint16_t>(cursor.Number(2));
    if (level == 1) {
      cursor.Take(1);  // operating system
      // The extended headers count towards the packed size at level 1.
      packedSize -= static_cast<uint32_t>(SkipExtendedHeaders(cursor, cursor.Number(2), member));
    } else {
      cursor.Take((sizeField & 255) + 2 - cursor.At());  // level 0 extension, if any
    }
  } else if (level == 2) {
    member.Crc = static_cast<uint16_t>(cursor.Number(2));
    cursor.Take(1);  // operating system
    SkipExtendedHeaders(cursor, cursor.Number(2), member);
    if (cursor.At() != sizeField) throw std::runtime_error("LHA level 2 header size mismatch");
  } else {
    throw std::runtime_error("LHA header level " + std::to_string(level));
  }
  member.Packed = std::string(cursor.Take(packedSize));
  return member;
}
