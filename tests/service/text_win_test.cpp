#include <windows.h>

#include <regex>
#include <set>

#include <gtest/gtest.h>

#include "service/text_win.hpp"

namespace korvanel {
namespace {

TEST(TextWin, GuidToStringHasNoBraces) {
    const GUID known = {0x6B29FC40, 0xCA47, 0x1067, {0xB3, 0x1D, 0x00, 0xDD, 0x01, 0x06, 0x62, 0xDA}};
    EXPECT_EQ(GuidToString(known), "6B29FC40-CA47-1067-B31D-00DD010662DA");
}

TEST(TextWin, Utf8Conversions) {
    EXPECT_EQ(Utf8ToWide("caf\xc3\xa9 \xe4\xbd\xa0"), L"caf\u00e9 \u4f60");
    EXPECT_EQ(Utf8ToWide(std::string("ab\0cd", 5)), L"ab");  // zero-terminated
    EXPECT_EQ(Utf8ToWide(""), L"");
    EXPECT_EQ(Utf8ToAnsi("plain ascii"), "plain ascii");
    const std::string ansi = Utf8ToAnsi("caf\xc3\xa9");
    EXPECT_EQ(ansi, WideToMultiByte(CP_ACP, L"caf\u00e9"));
}

}  // namespace
}  // namespace korvanel
