#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "http/server.hpp"

namespace korvanel::http {
namespace {

TEST(MessageQueue, FirstInFirstOut) {
    ph_http_server server("0");
    EXPECT_EQ(server.pop_message(), "");
    EXPECT_TRUE(server.push_message("A"));
    EXPECT_TRUE(server.push_message("B"));
    EXPECT_EQ(server.pop_message(), "A");
    EXPECT_EQ(server.pop_message(), "B");
    EXPECT_EQ(server.pop_message(), "");
    EXPECT_EQ(server.pop_message(), "");
}

TEST(MessageQueue, ConcurrentPushAndPopLoseAndDuplicateNothing) {
    ph_limits limits;
    limits.max_queued_messages = 1'000'000;
    ph_http_server server("0", limits);
    constexpr int count = 50'000;

    std::thread producer([&] {
        for (int i = 0; i < count; ++i) ASSERT_TRUE(server.push_message(std::to_string(i)));
    });
    std::vector<std::string> popped;
    popped.reserve(count);
    while (popped.size() < count) {
        std::string m = server.pop_message();
        if (!m.empty()) popped.push_back(std::move(m));
    }
    producer.join();

    EXPECT_EQ(server.pop_message(), "");
    for (int i = 0; i < count; ++i) ASSERT_EQ(popped[i], std::to_string(i));
}

}  // namespace
}  // namespace korvanel::http
