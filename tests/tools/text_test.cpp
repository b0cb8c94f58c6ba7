#include "tools/text.hpp"

#include <gtest/gtest.h>
#include <json/reader.h>
#include <json/value.h>

#include <string>

#include "service/base64.hpp"

namespace korvanel::send {
namespace {

TEST(Base64Encode, KnownVectors) {
    // RFC 4648 section 10, plus bytes that use both ends of the alphabet.
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
        {std::string("\xFB\xFF\xBF\x00", 4), "+/+/AA=="},
        {"\xE4\xBE\x8B", "5L6L"},  // 例
    };
    for (const auto& [bytes, encoded] : cases) {
        EXPECT_EQ(base64_encode(bytes), encoded) << "input: " << bytes;
    }
}

TEST(Base64Encode, RoundTripsThroughTheDispatchersDecoder) {
    std::string all;
    for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
    // Every length modulo 3 and every byte value.
    for (std::size_t length = 0; length <= all.size(); length += 37) {
        const std::string bytes = all.substr(0, length);
        const std::string text = base64_encode(bytes);
        EXPECT_EQ(text.size() % 4, 0u);
        EXPECT_EQ(Base64Decode(text.data(), text.size()), bytes) << "length " << length;
    }
}

TEST(FindInvalidUtf8, AcceptsWellFormedText) {
    const char* valid[] = {
        "",
        "plain ASCII \x7F",
        "caf\xC3\xA9",
        "\xE4\xBE\x8B\xE3\x81\x88",  // 例え
        "\xF0\x9F\x94\x94",          // 🔔
        "\xEF\xBF\xBF",              // U+FFFF
        "\xF4\x8F\xBF\xBF",          // U+10FFFF
        "\xED\x9F\xBF",              // U+D7FF
    };
    for (const char* text : valid) EXPECT_EQ(find_invalid_utf8(text), std::nullopt) << text;
}

TEST(FindInvalidUtf8, ReportsTheFirstBadByte) {
    const std::pair<std::string, std::size_t> cases[] = {
        {"\x80", 0},                  // continuation without a lead
        {"ab\xFF", 2},                // never valid
        {"\xC0\x80", 0},              // overlong NUL
        {"\xC1\xBF", 0},              // overlong
        {"\xE0\x80\xAF", 0},          // overlong '/'
        {"\xF0\x8F\xBF\xBF", 0},      // overlong U+FFFF
        {"x\xED\xA0\x80", 1},         // high surrogate
        {"\xED\xBF\xBF", 0},          // low surrogate
        {"\xF4\x90\x80\x80", 0},      // past U+10FFFF
        {"\xF8\x88\x80\x80\x80", 0},  // five-byte form
        {"\xE4\xBE", 0},              // cut short at the end
        {"\xE4\x41\x41", 0},          // continuation missing
        {"ok \xC3\xA9 \xC3", 6},      // good then cut short
        {"GBK \xC4\xE3\xBA\xC3", 4},  // 你好 in GBK: C4 E3 is no sequence
    };
    for (const auto& [text, at] : cases) {
        EXPECT_EQ(find_invalid_utf8(text), at) << ::testing::PrintToString(text);
    }
}

TEST(JsonQuote, EscapesWhatJsonRequires) {
    const std::pair<std::string, std::string> cases[] = {
        {"", R"("")"},
        {"plain", R"("plain")"},
        {R"(say "hi")", R"("say \"hi\"")"},
        {R"(C:\dir\)", R"("C:\\dir\\")"},
        {"a\nb\rc\td\be\ff", R"("a\nb\rc\td\be\ff")"},
        {std::string("\x00\x01\x1F", 3), R"("\u0000\u0001\u001f")"},
        {"/ \x7F \xE4\xBE\x8B", "\"/ \x7F \xE4\xBE\x8B\""},  // kept as they are
    };
    for (const auto& [text, quoted] : cases) EXPECT_EQ(json_quote(text), quoted);
}

TEST(JsonQuote, EveryAsciiByteSurvivesAJsonParse) {
    std::string text;
    for (int c = 0; c < 128; ++c) text += static_cast<char>(c);
    text += "\xE9\x80\x9A\xE7\x9F\xA5 \xF0\x9F\x94\x94";  // 通知 🔔
    Json::Value parsed;
    Json::Reader reader;
    ASSERT_TRUE(reader.parse("[" + json_quote(text) + "]", parsed));
    EXPECT_EQ(parsed[0].asString(), text);
}

TEST(Utf8FromUtf16, ConvertsAndMarksLoneSurrogates) {
    struct conversion {
        std::u16string wide;
        std::string utf8;
        bool valid;
    };
    const conversion cases[] = {
        {u"", "", true},
        {u"ascii", "ascii", true},
        {u"\u00E9\u4F8B\u3048", "\xC3\xA9\xE4\xBE\x8B\xE3\x81\x88", true},
        {u"\U0001F514", "\xF0\x9F\x94\x94", true},  // surrogate pair
        {std::u16string(1, u'\xD800') + u"x", "\xED\xA0\x80x", false},
        {u"x" + std::u16string(1, u'\xDC00'), "x\xED\xB0\x80", false},
        {std::u16string(1, u'\xDBFF'), "\xED\xAF\xBF", false},  // high at the end
    };
    for (const auto& c : cases) {
        const std::string utf8 = utf8_from_utf16(c.wide);
        EXPECT_EQ(utf8, c.utf8);
        EXPECT_EQ(!find_invalid_utf8(utf8).has_value(), c.valid);
    }
}

}  // namespace
}  // namespace korvanel::send
