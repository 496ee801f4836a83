#include "reports/json_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>

#include "platform/ansi_text.h"

namespace {

using namespace std::string_literals;

TEST(JsonStringTest, EscapesQuoteBackslashAndEveryControlCharacter) {
  EXPECT_EQ(JsonString(""), "\"\"");
  EXPECT_EQ(JsonString("Say \"hi\" \\ C:\\net/"), R"("Say \"hi\" \\ C:\\net/")");
  EXPECT_EQ(JsonString("\b\f\n\r\t"), R"("\b\f\n\r\t")");
  EXPECT_EQ(JsonString("a\0b"s), R"("a\u0000b")");
  EXPECT_EQ(JsonString("\x01\x1b\x1f"), R"("\u0001\u001b\u001f")");
  // From the space on, UTF-8 included, everything stands as it is.
  EXPECT_EQ(JsonString(" ~\x7f caf\xC3\xA9 \xE2\x82\xAC"), "\" ~\x7f caf\xC3\xA9 \xE2\x82\xAC\"");
}

TEST(JsonWholeNumberTest, EveryDigitWithoutExponent) {
  EXPECT_EQ(JsonWholeNumber(0), "0");
  EXPECT_EQ(JsonWholeNumber(1048576), "1048576");
  EXPECT_EQ(JsonWholeNumber(1e20), "100000000000000000000");
  const std::string largest = JsonWholeNumber(DBL_MAX);
  EXPECT_EQ(largest.size(), 309u);
  EXPECT_EQ(largest.substr(0, 17), "17976931348623157");
  EXPECT_EQ(JsonWholeNumber(INFINITY), "null");
  EXPECT_EQ(JsonWholeNumber(NAN), "null");
}

TEST(JsonWritersTest, ObjectsKeepTheirOrderAndArraysTakeALineEach) {
  EXPECT_EQ(TJsonObject().Text(), "{}");
  EXPECT_EQ(TJsonObject()
                .String("name", "a\"b")
                .Number("low", INT64_MIN)
                .Number("high", INT64_MAX)
                .Raw("percent", "70.2")
                .Text(),
            R"({"name":"a\"b","low":-9223372036854775808,"high":9223372036854775807,)"
            R"("percent":70.2})");
  EXPECT_EQ(TJsonObject().Number("k\ty", 1).Text(), R"({"k\ty":1})");
  EXPECT_EQ(JsonArray({}), "[]");
  EXPECT_EQ(JsonArray({"1"}), "[\n1\n]");
  EXPECT_EQ(JsonArray({"{}", "\"x\""}), "[\n{},\n\"x\"\n]");
}

// Whether text is well-formed UTF-8: no stray or missing continuation
// bytes, no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsUtf8(const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int more = lead < 0x80                   ? 0
                     : lead >= 0xC2 && lead < 0xE0 ? 1
                     : lead >= 0xE0 && lead < 0xF0 ? 2
                     : lead >= 0xF0 && lead < 0xF5 ? 3
                                                   : -1;
    if (more < 0 || i + more >= text.size()) return false;
    uint32_t code = more == 0 ? lead : lead & (0x3F >> more);
    for (int k = 1; k <= more; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = code << 6 | (next & 0x3F);
    }
    const uint32_t least[] = {0, 0x80, 0x800, 0x10000};
    if (code < least[more] || (code >= 0xD800 && code < 0xE000) || code > 0x10FFFF) return false;
    i += more + 1;
  }
  return true;
}

// Whatever the code page, any byte gives valid UTF-8 and ASCII stays as it is.
TEST(AnsiToUtf8Test, EveryByteGivesValidUtf8) {
  ASSERT_FALSE(IsUtf8("caf\xE9") || IsUtf8("\xED\xA0\x80") || IsUtf8("\xC0\xAF"));
  std::string all;
  for (int byte = 0; byte < 256; ++byte) {
    const std::string one(1, static_cast<char>(byte));
    EXPECT_TRUE(IsUtf8(AnsiToUtf8(one))) << byte;
    if (byte < 0x80) {
      EXPECT_EQ(AnsiToUtf8(one), one) << byte;
    }
    all += one;
  }
  EXPECT_TRUE(IsUtf8(AnsiToUtf8(all)));
  EXPECT_EQ(AnsiToUtf8(""), "");
}

TEST(AnsiToUtf8Test, PosixReadsWindows1252) {
#ifdef _WIN32
  GTEST_SKIP() << "the system's code page decides";
#endif
  EXPECT_EQ(AnsiToUtf8("caf\xE9 \xA0\xFF"), "caf\xC3\xA9 \xC2\xA0\xC3\xBF");
  EXPECT_EQ(AnsiToUtf8("\x80\x8A\x99\x9F"), "\xE2\x82\xAC\xC5\xA0\xE2\x84\xA2\xC5\xB8");
  // The five bytes the code page leaves undefined.
  EXPECT_EQ(AnsiToUtf8("\x81\x8D\x8F\x90\x9D"),
            "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(AnsiToUtf8("a\0b"s), "a\0b"s);
}

}  // namespace
