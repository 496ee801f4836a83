#include <gtest/gtest.h>

#include <cstring>

#include "codec/blowfish.h"

namespace {

std::string FromHex(std::string_view hex) {
  std::string bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes.push_back(static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
  return bytes;
}

// The published vectors write each half as a big-endian word; a block here
// holds its halves little-endian, so each half's bytes are reversed.
std::string AsLittleEndianHalves(std::string block) {
  std::reverse(block.begin(), block.begin() + 4);
  std::reverse(block.begin() + 4, block.end());
  return block;
}

struct TVector {
  const char* Name;
  const char* Key;
  const char* Clear;
  const char* Cipher;
};

class BlowfishVectorTest : public testing::TestWithParam<TVector> {};

TEST_P(BlowfishVectorTest, EncryptsAndDecrypts) {
  const auto key = BlowfishSetKey(FromHex(GetParam().Key));
  ASSERT_TRUE(key);
  const std::string clear = AsLittleEndianHalves(FromHex(GetParam().Clear));
  std::string block = clear;
  BlowfishEncryptBuffer(*key, block.data(), block.size());
  EXPECT_EQ(block, AsLittleEndianHalves(FromHex(GetParam().Cipher)));
  BlowfishDecryptBuffer(*key, block.data(), block.size());
  EXPECT_EQ(block, clear);
}

// Eric Young's ECB vectors, and from his variable key length set the keys
// of 1, 8 and 24 bytes, all on the clear block FEDCBA9876543210.
INSTANTIATE_TEST_SUITE_P(
    Published, BlowfishVectorTest,
    testing::Values(
        TVector{"Zeros", "0000000000000000", "0000000000000000", "4EF997456198DD78"},
        TVector{"Ones", "FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
        TVector{"HighKeyBit", "3000000000000000", "1000000000000001", "7D856F9A613063F2"},
        TVector{"Elevens", "1111111111111111", "1111111111111111", "2466DD878B963C9D"},
        TVector{"CountingKey", "0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
        TVector{"CountingClear", "1111111111111111", "0123456789ABCDEF", "7D0CC630AFDA1EC7"},
        TVector{"Descending", "FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
        TVector{"Mixed", "7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
        TVector{"KeyOf1Byte", "F0", "FEDCBA9876543210", "F9AD597C49DB005E"},
        TVector{"KeyOf8Bytes", "F0E1D2C3B4A59687", "FEDCBA9876543210", "E87A244E2CC85E82"},
        TVector{"KeyOf24Bytes", "F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677",
                "FEDCBA9876543210", "05044B62FA52D080"}),
    [](const auto& info) { return info.param.Name; });

TEST(BlowfishTest, OnlyWholeBlocksAreEnciphered) {
  const auto key = BlowfishSetKey("secret");
  ASSERT_TRUE(key);
  const std::string clear = "Recv=12345678";  // 13 bytes
  std::string buffer = clear;
  BlowfishEncryptBuffer(*key, buffer.data(), buffer.size());
  EXPECT_NE(buffer.substr(0, 8), clear.substr(0, 8));
  EXPECT_EQ(buffer.substr(8), clear.substr(8));
  BlowfishDecryptBuffer(*key, buffer.data(), buffer.size());
  EXPECT_EQ(buffer, clear);
}

TEST(BlowfishTest, EmptyPasswordHasNoKey) {
  EXPECT_FALSE(BlowfishSetKey(""));
}

// Bytes are taken cyclically, so a key repeated to fill the P-array is the
// same key; the P-array holds 72 bytes, so later bytes make no difference.
TEST(BlowfishTest, KeyBytesAreUsedCyclically) {
  auto sameSchedule = [](std::string_view a, std::string_view b) {
    const auto first = BlowfishSetKey(a), second = BlowfishSetKey(b);
    return first && second && std::memcmp(&*first, &*second, sizeof(TBlowfishKey)) == 0;
  };
  EXPECT_TRUE(sameSchedule("abc", "abcabcabcabc"));
  EXPECT_FALSE(sameSchedule("abc", "abd"));
  const std::string longKey(72, 'k');
  EXPECT_TRUE(sameSchedule(longKey, longKey + "tail"));
}

}  // namespace
