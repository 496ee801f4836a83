// Arbitrary bytes as a compressed stream: decoding must end in exactly the
// announced number of bytes or in ECorruptFile, never in a crash, a hang or
// a read out of bounds. Shorter inputs also go through the encoder and back.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "codec/stream_codec.h"
#include "fuzz/fuzz_support.h"

namespace {

// A valid stream may legitimately announce 2 GiB and deliver it from a few
// bytes; keeping positive lengths below 4 MiB spares the fuzzer's memory.
constexpr int32_t kLengthMask = (1 << 22) - 1;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string stream(input);
  int32_t length = 0;
  if (size >= 4) {
    uint32_t prefix = 0;
    for (int i = 3; i >= 0; --i) prefix = prefix << 8 | data[i];
    length = static_cast<int32_t>(prefix);
    if (length > 0) length &= kLengthMask;
    for (int i = 0; i < 4; ++i)
      stream[i] = static_cast<char>(static_cast<uint32_t>(length) >> (8 * i));
  }
  try {
    const std::string out = DecompressStream(stream);
    Check(size >= 4 && out.size() == static_cast<size_t>(std::max(length, 0)));
  } catch (const ECorruptFile&) {
  }
  if (size <= 8192) Check(DecompressStream(CompressStream(input)) == input);
  return 0;
}
