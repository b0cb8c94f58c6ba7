#include <gtest/gtest.h>

#include "tools/post.hpp"

namespace korvanel::send {
namespace {

TEST(ReplyComplete, NeedsTheHeadAndTheAnnouncedBody) {
    const std::pair<std::string, bool> cases[] = {
        {"", false},
        {"HTTP/1.0 200 OK\r\n", false},
        {"HTTP/1.0 200 OK\r\nContent-Length: 3\r\n", false},
        {"HTTP/1.0 200 OK\r\nContent-Length: 3\r\n\r\n\"Y", false},
        {"HTTP/1.0 200 OK\r\nContent-Length: 3\r\n\r\n\"Y\"", true},
        {"HTTP/1.0 200 OK\r\ncontent-length:3\r\n\r\n\"Y\"", true},
        {"HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nCONTENT-LENGTH: 0\r\n\r\n", true},
        {"HTTP/1.0 200 OK\r\nX-Content-Length: 0\r\n\r\n", false},  // not the header
        {"HTTP/1.0 200 OK\r\n\r\nbody", false},                     // only the close ends it
        {"HTTP/1.0 200 OK\r\nContent-Length: 3x\r\n\r\nabc", false},
        {"HTTP/1.0 200 OK\r\nContent-Length: 99999999999999999999999\r\n\r\n", true},
    };
    for (const auto& [reply, complete] : cases) {
        EXPECT_EQ(reply_complete(reply), complete) << ::testing::PrintToString(reply);
    }
}

TEST(ParseStatusLine, ReadsHttp1Replies) {
    const auto ok = parse_status_line("HTTP/1.0 200 OK\r\nContent-Length: 3\r\n\r\n\"Y\"");
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->code, 200);
    EXPECT_EQ(ok->text, "HTTP/1.0 200 OK");

    const auto busy = parse_status_line("HTTP/1.1 503 Service Unavailable\n");
    ASSERT_TRUE(busy);
    EXPECT_EQ(busy->code, 503);
    EXPECT_EQ(busy->text, "HTTP/1.1 503 Service Unavailable");

    const auto bare = parse_status_line("HTTP/1.0 204");  // no reason, no line end yet
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->code, 204);
}

TEST(ParseStatusLine, RefusesWhatIsNoStatusLine) {
    for (const char* reply :
         {"", "\r\n", "SSH-2.0-OpenSSH_9.2\r\n", "HTTP/2 200\r\n", "HTTP/1.0 20 OK\r\n",
          "HTTP/1.0 2000 OK\r\n", "HTTP/1.0  200 OK\r\n", "http/1.0 200 OK\r\n", "<html>"}) {
        EXPECT_FALSE(parse_status_line(reply)) << reply;
    }
}

}  // namespace
}  // namespace korvanel::send
