#include <gtest/gtest.h>

#include "codec/stream_checksum.h"

namespace {

TEST(StreamChecksumTest, KnownValues) {
  EXPECT_EQ(StreamChecksum(0xFFFFFFFF, "abc", 3), 0x6CD439F9u);
  EXPECT_EQ(StreamChecksum(0xFFFFFFFF, "abc", 0), 0xFFFFFFFFu);
  EXPECT_EQ(StreamChecksum(0x12345678, nullptr, 5), 0x12345678u);
}

// From a zero start one byte b reads the table word at byte offset b: at a
// multiple of four that is a published CRC-32 table entry, in between it
// straddles two of them.
struct TLookupCase {
  const char* Name;
  unsigned char Byte;
  uint32_t Expected;
};

class StreamChecksumLookupTest : public testing::TestWithParam<TLookupCase> {};

TEST_P(StreamChecksumLookupTest, OneByteFromZero) {
  EXPECT_EQ(StreamChecksum(0, &GetParam().Byte, 1), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Offsets, StreamChecksumLookupTest,
    testing::Values(TLookupCase{"Entry0", 0, 0x00000000}, TLookupCase{"Entry1", 4, 0x77073096},
                    TLookupCase{"Entry2", 8, 0xEE0E612C},
                    TLookupCase{"Entry63", 252, 0xB6662D3D},     // the last entry read whole
                    TLookupCase{"Offset1", 1, 0x96000000},       // entries 0 and 1
                    TLookupCase{"Offset6", 6, 0x612C7707},       // entries 1 and 2
                    TLookupCase{"Offset255", 255, 0xDC4190B6}),  // entries 63 and 64
    [](const auto& info) { return info.param.Name; });

}  // namespace
