#include "storage/container_format.h"

#include <gtest/gtest.h>

#include "codec/stream_checksum.h"
#include "codec/stream_codec.h"

namespace {

uint32_t LE32(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

TEST(ContainerFormatTest, HeaderFieldsAndPaddingToWholeBlocks) {
  const std::string text = "[46357]\r\nHours=1";  // 16 bytes: a whole block of padding
  const auto container = WriteContainer(text, false, true, "pw");
  ASSERT_TRUE(container);
  ASSERT_EQ(container->size(), 24u + 24u);
  EXPECT_EQ(container->substr(0, 8), std::string("ESTREAM\0", 8));
  EXPECT_EQ(LE32(*container, 8), 0x00020000u);
  EXPECT_EQ((*container)[12], 0);  // not compressed
  EXPECT_EQ((*container)[13], 1);  // enciphered
  EXPECT_EQ(container->substr(14, 2), std::string(2, '\0'));
  EXPECT_EQ(LE32(*container, 16), 24u);
  EXPECT_EQ(ReadContainer(*container, "pw"), text + std::string(8, '\0'));

  const auto oneShort = WriteContainer(text.substr(1), false, true, "pw");
  EXPECT_EQ(LE32(*oneShort, 16), 16u);
}

TEST(ContainerFormatTest, ChecksumCoversThePayloadBeforeEnciphering) {
  std::string text;
  for (int i = 0; i < 50; ++i) text += "[S]\r\nK=V\r\n";  // 500 bytes that compress
  const auto container = WriteContainer(text, true, false, "");
  ASSERT_TRUE(container);
  EXPECT_EQ((*container)[12], 1);
  const std::string payload = container->substr(24);
  EXPECT_EQ(LE32(*container, 20), StreamChecksum(0xFFFFFFFF, payload.data(), payload.size()));
  EXPECT_EQ(DecompressStream(payload), text + std::string(4, '\0'));
}

TEST(ContainerFormatTest, CompressionThatDoesNotPayFallsBackToThePlainForm) {
  // A few distinct bytes grow when compressed.
  const std::string text = "q";
  EXPECT_FALSE(WriteContainer(text, true, false, ""));
  EXPECT_FALSE(WriteContainer(text, false, true, ""));
  const auto enciphered = WriteContainer(text, true, true, "pw");
  ASSERT_TRUE(enciphered);
  EXPECT_EQ((*enciphered)[12], 0);
  EXPECT_EQ((*enciphered)[13], 1);
}

TEST(ContainerFormatTest, PlainTextThatLooksLikeAContainerIsStoredInOne) {
  const std::string text = "ESTREAM notes\r\n[S]\r\nK=V\r\n";
  const auto container = WriteContainer(text, false, false, "");
  ASSERT_TRUE(container);
  EXPECT_EQ((*container)[12], 0);
  EXPECT_EQ((*container)[13], 0);
  EXPECT_EQ(ReadContainer(*container, ""), text + std::string(8 - text.size() % 8, '\0'));
  // Up to the header's size the plain form reads back as it is.
  EXPECT_FALSE(WriteContainer("ESTREAM\r\n", false, false, ""));
}

TEST(ContainerFormatTest, DamageIsReportedWithItsReason) {
  const auto written = WriteContainer(std::string(200, 'a'), true, false, "");
  ASSERT_TRUE(written);
  const std::string container = *written;
  EXPECT_TRUE(IsContainer(container));
  EXPECT_FALSE(IsContainer(container.substr(0, 24)));
  EXPECT_FALSE(IsContainer("ESTREAn" + container.substr(7)));

  std::string flipped = container;
  flipped.back() ^= 0x01;
  EXPECT_THROW(ReadContainer(flipped, ""), Exception);

  // A stream that is corrupt but carries a matching checksum.
  std::string corrupt = container.substr(0, 24) + container.substr(24, 4) +
                        std::string(container.size() - 28, '\xFF');
  const std::string payload = corrupt.substr(24);
  const uint32_t sum = StreamChecksum(0xFFFFFFFF, payload.data(), payload.size());
  for (int i = 0; i < 4; ++i) corrupt[20 + i] = static_cast<char>(sum >> (8 * i));
  EXPECT_THROW(ReadContainer(corrupt, ""), ECorruptFile);
}

}  // namespace
