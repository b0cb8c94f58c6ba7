#include "http/server.hpp"

#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include <gtest/gtest.h>

#include "loopback_client.hpp"

#ifndef _WIN32
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace korvanel::http {
namespace {

using namespace std::string_literals;
using namespace std::chrono_literals;
using testing::loopback_client;
using testing::running_server;
using testing::wire_reply;

std::vector<std::string> drain(ph_http_server& server) {
    std::vector<std::string> out;
    for (std::string m = server.pop_message(); !m.empty(); m = server.pop_message()) out.push_back(m);
    return out;
}

const std::string post = "POST /notify HTTP/1.0\r\nHost: pc\r\n\r\n";

struct outcome_case {
    const char* name;
    std::vector<std::string> segments;  // sent with a pause between them
    std::string reply;                  // "" for none
    std::vector<std::string> queued;
};

TEST(Server, RequestOutcomes) {
    const std::string ok = wire_reply(ph_reply::ok);
    const std::string bad = wire_reply(ph_reply::bad_request);
    const std::string forty = "{\"MsgType\":\"Notification\",\"Title\":\"t12\"}";
    ASSERT_EQ(forty.size(), 40u);
    const std::vector<outcome_case> cases = {
        {"one_segment", {post + "{\"a\":1}"}, ok, {"{\"a\":1}\0"s}},
        {"three_segments", {post + "{\"a\"", ":", "1}"}, ok, {"{\"a\":1}\0"s}},
        {"content_length_ignored",
         {"POST / HTTP/1.0\r\nContent-Length: 100\r\n\r\n" + forty}, ok, {forty + "\0"s}},
        {"zero_byte_then_trailing_bytes", {post + "{}\0tail"s}, ok, {"{}\0tail\0"s}},
        {"put_with_body", {"PUT / HTTP/1.0\r\n\r\npayload"}, ok, {"payload"}},
        {"lower_case_post_is_not_checked", {"post / HTTP/1.0\r\n\r\n{"}, ok, {"{"}},
        {"get_without_body_stays_unanswered", {"GET / HTTP/1.0\r\n\r\n"}, "", {}},
        {"blank_post_body_stays_unanswered", {post + "   "}, "", {}},
        {"malformed_request_line", {"GET / HTTP/1.0\n\n{}"}, bad, {}},
        {"two_requests_back_to_back", {post + "{}" + post + "{}"}, ok, {"{}" + post + "{}\0"s}},
    };
    running_server s;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        loopback_client client(s.port());
        for (std::size_t i = 0; i < c.segments.size(); ++i) {
            client.send(c.segments[i]);
            if (i + 1 < c.segments.size()) {
                const auto early = client.read(150ms);
                EXPECT_EQ(early.bytes, "");
                EXPECT_FALSE(early.closed);
            }
        }
        const auto got = client.read(c.reply.empty() ? 300ms : 10s);
        EXPECT_EQ(got.bytes, c.reply);
        EXPECT_EQ(got.closed, !c.reply.empty());
        // The body is queued before the reply goes out.
        EXPECT_EQ(drain(s.server()), c.queued);
    }
}

TEST(Server, ClientClosingHalfWayQueuesNothing) {
    running_server s;
    for (const bool abortive : {false, true}) {
        loopback_client client(s.port());
        client.send(post + "{\"Title\":");
        EXPECT_EQ(client.read(100ms).bytes, "");
        abortive ? client.reset() : client.close();
    }
    // A later request is served normally and is the only thing queued.
    EXPECT_EQ(testing::exchange(s.port(), post + "[]"), wire_reply(ph_reply::ok));
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(drain(s.server()), std::vector<std::string>{"[]\0"s});
}

TEST(Server, TwoClientsAtOnceAreServedIndependently) {
    running_server s;
    loopback_client a(s.port());
    loopback_client b(s.port());
    a.send(post + "{\"who\":");
    b.send(post + "{\"who\":\"b\"}");
    EXPECT_EQ(b.read().bytes, wire_reply(ph_reply::ok));
    a.send("\"a\"}");
    EXPECT_EQ(a.read().bytes, wire_reply(ph_reply::ok));
    EXPECT_EQ(drain(s.server()),
              (std::vector<std::string>{"{\"who\":\"b\"}\0"s, "{\"who\":\"a\"}\0"s}));
}

TEST(Server, ClientConnectingBeforeRunIsServedOnceTheLoopRuns) {
    ph_http_server server("0");
    loopback_client client(server.port());
    client.send(post + "{}");
    std::thread loop([&] { server.run(); });
    EXPECT_EQ(client.read().bytes, wire_reply(ph_reply::ok));
    server.stop();
    loop.join();
    EXPECT_EQ(server.pop_message(), "{}\0"s);
}

TEST(Server, ListensOnTheIpv4WildcardOnly) {
    ph_http_server server("0");
    EXPECT_NE(server.port(), 0);
    boost::asio::io_context io;
    boost::asio::ip::tcp::socket v6(io);
    boost::system::error_code ec;
    v6.connect({boost::asio::ip::make_address_v6("::1"), server.port()}, ec);
    EXPECT_TRUE(ec) << "something answered on [::1]";
}

TEST(Server, UnusablePortThrows) {
    EXPECT_THROW(ph_http_server("no-such-service-name"), boost::system::system_error);
}

// Mend: a head longer than 64 KiB is refused instead of growing without end.
TEST(ServerLimits, OversizedHeadGets400) {
    running_server s;
    loopback_client client(s.port());
    client.send("GET / HTTP/1.0\r\nX: " + std::string(70 * 1024, 'a'));
    const auto got = client.read();
    EXPECT_EQ(got.bytes, wire_reply(ph_reply::bad_request));
    EXPECT_TRUE(got.closed);
    EXPECT_TRUE(drain(s.server()).empty());
}

// Mend: a POST body that passes 1 MiB without becoming JSON is refused.
TEST(ServerLimits, OversizedNonJsonBodyGets400) {
    running_server s;
    loopback_client client(s.port());
    client.send(post + "[\"" + std::string(1024 * 1024, 'a'));
    const auto got = client.read();
    EXPECT_EQ(got.bytes, wire_reply(ph_reply::bad_request));
    EXPECT_TRUE(got.closed);
    EXPECT_TRUE(drain(s.server()).empty());
}

// Mend: a connection that goes quiet before its request completes is closed
// without a reply; every byte that arrives restarts the wait.
TEST(ServerLimits, IdleConnectionIsClosedWithoutReply) {
    ph_limits limits;
    limits.idle_timeout = 400ms;
    running_server s(limits);

    loopback_client trickling(s.port());
    loopback_client silent(s.port());
    silent.send(post + "{");
    trickling.send(post + "{");
    for (int i = 0; i < 6; ++i) {  // 600 ms in all, never 400 ms quiet
        EXPECT_FALSE(trickling.read(100ms).closed);
        trickling.send(" ");
    }
    const auto quiet = silent.read(2s);
    EXPECT_TRUE(quiet.closed);
    EXPECT_EQ(quiet.bytes, "");

    trickling.send("}");
    EXPECT_EQ(trickling.read().bytes, wire_reply(ph_reply::ok));
    EXPECT_EQ(drain(s.server()).size(), 1u);
}

// Mend: a full queue refuses openly (503) and queues nothing.
TEST(ServerLimits, FullQueueAnswers503) {
    struct row {
        const char* name;
        std::size_t max_messages;
        std::size_t max_bytes;
        std::vector<std::string> bodies;
        std::vector<ph_reply::status_type> replies;
    };
    const std::vector<row> rows = {
        {"by_count", 2, 1 << 20, {"[1]", "[2]", "[3]"},
         {ph_reply::ok, ph_reply::ok, ph_reply::service_unavailable}},
        {"by_bytes", 100, 10, {"[1,2]", "[3,4]", "[5]"},  // 6 bytes each with the zero
         {ph_reply::ok, ph_reply::service_unavailable, ph_reply::ok}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        ph_limits limits;
        limits.max_queued_messages = r.max_messages;
        limits.max_queued_bytes = r.max_bytes;
        running_server s(limits);
        std::vector<std::string> expected_queue;
        for (std::size_t i = 0; i < r.bodies.size(); ++i) {
            EXPECT_EQ(testing::exchange(s.port(), post + r.bodies[i]), wire_reply(r.replies[i]));
            if (r.replies[i] == ph_reply::ok) expected_queue.push_back(r.bodies[i] + "\0"s);
        }
        EXPECT_EQ(drain(s.server()), expected_queue);
        // Room again once the dispatcher has taken them.
        EXPECT_EQ(testing::exchange(s.port(), post + "[9]"), wire_reply(ph_reply::ok));
    }
}

// Mend: closing a connection never throws out of the event loop.
static_assert(noexcept(std::declval<ph_http_connection&>().stop()));

TEST(ServerLimits, StoppingWithLiveConnectionsIsQuiet) {
    auto s = std::make_unique<running_server>();
    loopback_client waiting(s->port());
    waiting.send(post + "{");
    loopback_client reset(s->port());
    reset.send(post);
    reset.reset();
    std::this_thread::sleep_for(50ms);
    EXPECT_NO_THROW(s.reset());  // stops every connection and joins the loop
    EXPECT_TRUE(waiting.read().closed);
}

TEST(ServerAccept, ResourceExhaustionIsRecognised) {
    namespace error = boost::asio::error;
    EXPECT_TRUE(is_resource_exhaustion(error::no_descriptors));
    EXPECT_TRUE(is_resource_exhaustion(error::no_buffer_space));
    EXPECT_TRUE(is_resource_exhaustion(error::no_memory));
    EXPECT_FALSE(is_resource_exhaustion(error::connection_aborted));
    EXPECT_FALSE(is_resource_exhaustion(error::access_denied));
}

#ifndef _WIN32
// Mend: running out of descriptors pauses accepting instead of ending it.
TEST(ServerAccept, KeepsAcceptingAfterRunningOutOfDescriptors) {
    running_server s;
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit tight = saved;
    tight.rlim_cur = 128;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &tight), 0);

    // The client's socket exists before the descriptors run out; connecting
    // needs none of its own, but the server's accept does.
    const int client = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(client, 0);
    const timeval patience{10, 0};  // without the mend no reply ever comes
    ::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
    std::vector<int> fillers;
    for (int fd; (fd = open("/dev/null", O_RDONLY)) >= 0;) fillers.push_back(fd);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(s.port());
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(client, reinterpret_cast<const sockaddr*>(&to), sizeof to), 0);
    const std::string request = post + "{}";
    ASSERT_EQ(::send(client, request.data(), request.size(), 0), static_cast<ssize_t>(request.size()));

    // The accept fails for want of a descriptor; it must be retried, slowly.
    std::this_thread::sleep_for(450ms);
    const std::size_t failures = s.server().failed_accepts();
    EXPECT_GE(failures, 2u);
    EXPECT_LE(failures, 10u) << "accept retried without pausing";

    for (const int fd : fillers) ::close(fd);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &saved), 0);
    std::string reply;
    char chunk[256];
    for (ssize_t n; (n = ::recv(client, chunk, sizeof chunk, 0)) > 0;) reply.append(chunk, n);
    ::close(client);
    EXPECT_EQ(reply, wire_reply(ph_reply::ok));
    EXPECT_EQ(s.server().pop_message(), "{}\0"s);
}
#endif

}  // namespace
}  // namespace korvanel::http
