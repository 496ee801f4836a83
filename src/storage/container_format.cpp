#include "storage/container_format.h"

#include <cstdint>

#include "codec/blowfish.h"
#include "codec/stream_checksum.h"
#include "codec/stream_codec.h"

namespace {

constexpr std::string_view kMagic("ESTREAM\0", 8);
constexpr size_t kHeaderSize = 24;
constexpr uint32_t kVersion = 0x00020000;
constexpr size_t kCompressedFlag = 12;
constexpr size_t kEncipheredFlag = 13;
constexpr size_t kLengthField = 16;
constexpr size_t kChecksumField = 20;
constexpr uint32_t kChecksumStart = 0xFFFFFFFF;

uint32_t GetLE32(std::string_view bytes, size_t at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

void PutLE32(std::string& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i) & 0xFF);
}

uint32_t Checksum(std::string_view payload) {
  return StreamChecksum(kChecksumStart, payload.data(), payload.size());
}

}  // namespace

bool IsContainer(std::string_view bytes) {
  return bytes.size() > kHeaderSize && bytes.substr(0, 7) == kMagic.substr(0, 7);
}

std::string ReadContainer(std::string_view bytes, const std::string& password) {
  std::string payload(bytes.substr(kHeaderSize));
  if (bytes[kEncipheredFlag] != 0) {
    if (password.empty()) throw Exception("the file is enciphered and no password was given");
    // A weak key was not used by the writer either.
    if (const auto key = BlowfishSetKey(password))
      BlowfishDecryptBuffer(*key, payload.data(), payload.size());
  }
  if (Checksum(payload) != GetLE32(bytes, kChecksumField))
    throw Exception("the checksum does not match (a damaged file or a wrong password)");
  return bytes[kCompressedFlag] != 0 ? DecompressStream(payload) : payload;
}

std::optional<std::string> WriteContainer(std::string_view text, bool compressed, bool encrypted,
                                          const std::string& password) {
  // Always 1 to 8 bytes of padding, a whole block when none is needed.
  std::string padded(text);
  padded.append(8 - padded.size() % 8, '\0');

  const bool enciphered = encrypted && !password.empty();
  std::string payload = padded;
  if (compressed) {
    std::string packed = CompressStream(padded);
    compressed = packed.size() <= padded.size();
    if (compressed) payload = std::move(packed);
  }
  // Plain text that itself begins like a container would read back as a
  // damaged one; such text is stored in a container as it is.
  if (!compressed && !enciphered && !IsContainer(text)) return std::nullopt;

  std::string header(kHeaderSize, '\0');
  header.replace(0, kMagic.size(), kMagic);
  PutLE32(header, 8, kVersion);
  header[kCompressedFlag] = compressed ? 1 : 0;
  header[kEncipheredFlag] = enciphered ? 1 : 0;
  PutLE32(header, kLengthField, static_cast<uint32_t>(padded.size()));
  PutLE32(header, kChecksumField, Checksum(payload));
  // A weak key leaves the payload clear while the header says enciphered;
  // the reader makes the same test and skips the cipher too.
  if (enciphered)
    if (const auto key = BlowfishSetKey(password))
      BlowfishEncryptBuffer(*key, payload.data(), payload.size());
  return header + payload;
}
