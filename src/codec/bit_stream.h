#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Bits packed most significant first into bytes, as the compressed stream has them.

class TBitWriter {
 public:
  explicit TBitWriter(std::string& out) : FOut(out) {}

  // The low count bits of value (count <= 16), the highest first.
  void Write(int count, uint32_t value) {
    FBits = FBits << count | value;
    FCount += count;
    while (FCount >= 8) {
      FCount -= 8;
      FOut.push_back(static_cast<char>(FBits >> FCount));
    }
  }

  // Seven zero bits push out any partial byte; what is left over is padding.
  void Finish() { Write(7, 0); }

 private:
  std::string& FOut;
  uint64_t FBits = 0;
  int FCount = 0;
};

class TBitReader {
 public:
  explicit TBitReader(std::string_view data) : FData(data) {}

  // Tops the window up to at least 57 bits; past the end of the data the
  // stream reads on as zero bits.
  void Refill() {
    while (FCount <= 56) {
      const uint64_t next = FPos < FData.size() ? static_cast<unsigned char>(FData[FPos++]) : 0;
      FBits |= next << (56 - FCount);
      FCount += 8;
    }
  }

  // The next count bits (0 to 32) without consuming them; needs a Refill first.
  uint32_t Peek(int count) const { return static_cast<uint32_t>(FBits >> (63 - count) >> 1); }
  void Skip(int count) {
    FBits <<= count;
    FCount -= count;
  }

  uint32_t Read(int count) {
    if (FCount < count) Refill();
    const uint32_t value = Peek(count);
    Skip(count);
    return value;
  }

 private:
  std::string_view FData;
  size_t FPos = 0;
  uint64_t FBits = 0;  // unread bits, left-aligned
  int FCount = 0;
};
