#include "app/log_format.hpp"

#include <string>

#include <gtest/gtest.h>

namespace korvanel {
namespace {

TEST(LogFormat, FileNameIsUnpaddedPrefixIsPadded) {
    struct row {
        LogTime t;
        std::wstring file;
        std::string prefix;
    };
    const row rows[] = {
        {{2016, 1, 8, 9, 5, 3, 7}, L"2016_1_8_log.txt", "2016-01-08 09:05:03,007 [2412] DEBUG <>-"},
        {{2026, 12, 31, 23, 59, 59, 999}, L"2026_12_31_log.txt",
         "2026-12-31 23:59:59,999 [2412] DEBUG <>-"},
        // One millisecond later it is a new day, and a new file.
        {{2027, 1, 1, 0, 0, 0, 0}, L"2027_1_1_log.txt", "2027-01-01 00:00:00,000 [2412] DEBUG <>-"},
        {{2026, 10, 10, 10, 10, 10, 10}, L"2026_10_10_log.txt",
         "2026-10-10 10:10:10,010 [2412] DEBUG <>-"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(LogFileName(r.t), r.file);
        EXPECT_EQ(LogLinePrefix(r.t, 2412), r.prefix);
    }
}

TEST(LogFormat, ThreadIdIsUnsignedDecimal) {
    const LogTime t{2026, 12, 11, 8, 0, 0, 0};
    EXPECT_EQ(LogLinePrefix(t, 0), "2026-12-11 08:00:00,000 [0] DEBUG <>-");
    EXPECT_EQ(LogLinePrefix(t, 4294967295u), "2026-12-11 08:00:00,000 [4294967295] DEBUG <>-");
}

TEST(LogFormat, MessageBytes) {
    const LogTime t{2016, 1, 8, 9, 5, 3, 7};
    const std::string prefix = "2016-01-08 09:05:03,007 [7] DEBUG <>-";
    struct row {
        const char* name;
        std::wstring message;
        std::string bytes;
    };
    const row rows[] = {
        {"plain", L"CHttpServerObject", "CHttpServerObject"},
        {"percent_signs_stay_literal", L"Http Msg is {\"a\":\"%d %s %n\"}",
         "Http Msg is {\"a\":\"%d %s %n\"}"},
        {"latin1_is_one_byte_each", L"caf\u00e9 \u00ff", "caf\xe9 \xff"},
        {"beyond_latin1_becomes_question_marks", L"Title \u4f60\u597d.", "Title ??."},
        {"line_feeds_become_crlf", L"a\nb\r\nc", "a\r\nb\r\r\nc"},
        {"empty", L"", ""},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(LogLineBytes(t, 7, r.message), prefix + r.bytes + "\r\n") << r.name;
    }
}

}  // namespace
}  // namespace korvanel
