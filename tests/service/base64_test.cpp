#include "service/base64.hpp"

#include <string>

#include <gtest/gtest.h>

namespace korvanel {
namespace {

using namespace std::string_literals;

std::string Decode(const std::string& text) { return Base64Decode(text.data(), text.size()); }

TEST(Base64Decode, Table) {
    struct row {
        const char* name;
        std::string text;
        std::string bytes;
    };
    const row rows[] = {
        {"empty", "", ""},
        {"no_padding_needed", "YWJj", "abc"},
        {"one_pad", "YWI=", "ab"},
        {"two_pads", "YQ==", "a"},
        {"address", "aHR0cHM6Ly9leGFtcGxlLmNvbS9hP2I9YyZkPWU=", "https://example.com/a?b=c&d=e"},
        {"plus_and_slash", "+/+/", "\xfb\xff\xbf"},
        {"utf8_text", "5L2g5aW9", "\xe4\xbd\xa0\xe5\xa5\xbd"},
        {"lines_of_four_joined", "YWJj\r\nZGVm\nZ2hp", "abcdefghi"},
        // Cut short: the missing characters count as sextet 0, so the
        // address survives once cut at its first zero byte.
        {"unpadded_two_chars", "YQ", "a\0\0"s},
        {"unpadded_three_chars", "YWI", "ab\0"s},
        {"one_char", "Y", "\x60\0\0"s},
        {"outside_the_alphabet_counts_as_zero", "Y*==", "\x60"},
    };
    for (const auto& r : rows) EXPECT_EQ(Decode(r.text), r.bytes) << r.name;
}

TEST(Base64Decode, NeverReadsPastTheEnd) {
    // A heap copy of exactly the text's length: AddressSanitizer catches any
    // read beyond it.
    for (const std::string text : {"Y", "YW", "YWJ", "YWJjZ", "YWJj\r", "\n", "Y="}) {
        const auto copy = std::make_unique<char[]>(text.size());
        std::copy(text.begin(), text.end(), copy.get());
        std::size_t count = 99;
        const std::string out = Base64Decode(copy.get(), text.size(), &count);
        EXPECT_EQ(count, out.size()) << text;
    }
}

}  // namespace
}  // namespace korvanel
