#include <gtest/gtest.h>

#include "child_process.hpp"
#include "service/message_decoder.hpp"
#include "tests/http/loopback_client.hpp"
#include "tools/command.hpp"

namespace korvanel::send {
namespace {

// The built executable, so that the platform's own argument passing is in
// the path: on Windows CJK text must survive the trip through wmain.
TEST(SendProcess, DeliversCjkArgumentsAndReportsExitCodes) {
    http::testing::running_server receiver;
    const std::string port = std::to_string(receiver.port());
    const std::string title =
        "\xE9\x80\x9A\xE7\x9F\xA5 \"\xE7\xB4\xA7\xE6\x80\xA5\"";                 // 通知 "紧急"
    const std::string info = "C:\\logs\\ \xE6\x9C\x8D\xE5\x8A\xA1\xE5\x99\xA8";  // 服务器
    const std::string link = "https://\xE4\xBE\x8B\xE3\x81\x88.jp/a b";          // 例え.jp

    const testing::child_result sent = testing::run_korvanel_send(
        {"--host", "127.0.0.1", "--port", port, "--title", title, "--info", info, "--link", link});
    ASSERT_EQ(sent.exit_code, exit_ok) << sent.err;
    std::string body = receiver.server().pop_message();
    ASSERT_FALSE(body.empty());
    body.pop_back();  // the receiver's zero byte
    const DecodedMessage decoded = DecodeMessage(body);
    EXPECT_EQ(decoded.title, title);
    EXPECT_EQ(decoded.info, info);
    EXPECT_EQ(decoded.link, link);

    const testing::child_result refused = testing::run_korvanel_send(
        {"--host", "127.0.0.1", "--port", "1", "--title", "T", "--info", "I"});
    EXPECT_EQ(refused.exit_code, exit_refused);
    EXPECT_NE(refused.err.find("connection refused by 127.0.0.1:1"), std::string::npos)
        << refused.err;

    const testing::child_result usage = testing::run_korvanel_send({"--title"});
    EXPECT_EQ(usage.exit_code, exit_usage);
    EXPECT_NE(usage.err.find("usage: korvanel-send"), std::string::npos) << usage.err;
}

}  // namespace
}  // namespace korvanel::send
