#include "app/write_log.hpp"

#include <windows.h>

#include <regex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/temp_log.hpp"

namespace korvanel {
namespace {

// A fresh log directory of this test's own; the file is read back raw.
class WriteLogTest : public ::testing::Test {
protected:
    std::string Contents() const { return m_log.Contents(); }
    testing::TempLog m_log;
};

TEST_F(WriteLogTest, CreatesTheDirectoryAndWritesOneLinePerCall) {
    ASSERT_EQ(GetFileAttributesW(m_log.Directory().c_str()), INVALID_FILE_ATTRIBUTES);
    WriteLog(L"CHttpServerObject");
    WriteLog(L"OnBnClickedButtonPre====%d/%d========", 2, 3);
    const std::string all = Contents();
    const std::string tid = std::to_string(GetCurrentThreadId());
    const std::regex expected(
        "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d,\\d{3} \\[" + tid + "\\] DEBUG <>-CHttpServerObject\r\n"
        "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d,\\d{3} \\[" + tid +
        "\\] DEBUG <>-OnBnClickedButtonPre====2/3========\r\n");
    EXPECT_TRUE(std::regex_match(all, expected)) << all;
}

TEST_F(WriteLogTest, TextIsWrittenAsItStands) {
    WriteLogText(L"Http Msg is {\"t\":\"%d %s %n\"} \u4f60\u597d caf\u00e9\nnext");
    const std::string all = Contents();
    const auto body = all.substr(all.find("<>-") + 3);
    EXPECT_EQ(body, "Http Msg is {\"t\":\"%d %s %n\"} ?? caf\xe9\r\nnext\r\n");
}

TEST_F(WriteLogTest, ConcurrentLinesNeverInterleave) {
    constexpr int kThreads = 4;
    constexpr int kLines = 200;
    std::vector<std::thread> writers;
    for (int t = 0; t < kThreads; ++t) {
        writers.emplace_back([t] {
            const std::wstring filler(100 + t * 50, static_cast<wchar_t>(L'a' + t));
            for (int i = 0; i < kLines; ++i) WriteLog(L"writer %d line %d %ls", t, i, filler.c_str());
        });
    }
    for (auto& w : writers) w.join();

    const std::string all = Contents();
    const std::regex line(
        "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d,\\d{3} \\[\\d+\\] DEBUG <>-writer (\\d) line (\\d+) "
        "([a-d]+)");
    std::vector<int> next(kThreads, 0);
    std::size_t from = 0;
    int total = 0;
    while (from < all.size()) {
        const std::size_t end = all.find("\r\n", from);
        ASSERT_NE(end, std::string::npos);
        const std::string text = all.substr(from, end - from);
        std::smatch m;
        ASSERT_TRUE(std::regex_match(text, m, line)) << text;
        const int t = std::stoi(m[1]);
        EXPECT_EQ(std::stoi(m[2]), next[t]++);  // each writer's lines in its order
        EXPECT_EQ(m[3].str(), std::string(100 + t * 50, static_cast<char>('a' + t)));
        ++total;
        from = end + 2;
    }
    EXPECT_EQ(total, kThreads * kLines);
}

TEST_F(WriteLogTest, UnwritableDirectoryIsSilent) {
    SetLogDirectoryForTesting(L"C:\\korvanel-missing-parent\\child\\");
    WriteLog(L"lost %d", 1);
    EXPECT_EQ(GetFileAttributesW(L"C:\\korvanel-missing-parent"), INVALID_FILE_ATTRIBUTES);
}

TEST(WriteLog, FixedDirectoryByDefault) {
    EXPECT_EQ(LogDirectory(), L"C:\\Client_log\\");
}

}  // namespace
}  // namespace korvanel
