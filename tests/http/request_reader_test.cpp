#include "http/request_reader.hpp"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace korvanel::http {
namespace {

using namespace std::string_literals;
using action = ph_read_outcome::action_type;

struct step {
    std::string bytes;
    action expected;
    std::string message = {};
};

struct completion_case {
    const char* name;
    std::vector<step> steps;
};

const std::string post = "POST / HTTP/1.0\r\n\r\n";

TEST(RequestReader, CompletionRule) {
    const std::vector<completion_case> cases = {
        {"post_json_in_one_read", {{post + "{\"a\":1}", action::queue, "{\"a\":1}\0"s}}},
        {"post_json_in_three_reads",
         {{post + "{\"a\"", action::read_more},
          {":", action::read_more},
          {"1}", action::queue, "{\"a\":1}\0"s}}},
        {"content_length_is_ignored",
         {{"POST / HTTP/1.0\r\nContent-Length: 100\r\n\r\n{}", action::queue, "{}\0"s}}},
        {"empty_array", {{post + "[]", action::queue, "[]\0"s}}},
        {"blanks_are_not_a_document", {{post + "   ", action::read_more}}},
        {"document_then_zero_then_more",
         {{post + "{}\0tail"s, action::queue, "{}\0tail\0"s}}},
        {"trailing_text_after_document", {{post + "{} x", action::queue, "{} x\0"s}}},
        {"other_method_queues_first_read_unchecked",
         {{"PUT / HTTP/1.0\r\n\r\nnot json", action::queue, "not json"}}},
        {"lower_case_post_is_another_method",
         {{"post / HTTP/1.0\r\n\r\n{", action::queue, "{"}}},
        {"get_without_body_waits", {{"GET / HTTP/1.0\r\n\r\n", action::read_more}}},
        {"head_split_over_reads",
         {{"POST / HT", action::read_more}, {"TP/1.0\r\n\r", action::read_more},
          {"\n[1]", action::queue, "[1]\0"s}}},
        {"malformed_head", {{"POST / HTTP/1.0\n", action::reject}}},
        {"two_requests_back_to_back",
         {{post + "{}" + post + "{}", action::queue, "{}" + post + "{}\0"s}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ph_request_reader reader;
        for (const auto& s : c.steps) {
            const auto out = reader.feed(s.bytes.data(), s.bytes.size());
            EXPECT_EQ(out.action, s.expected) << "after " << s.bytes;
            EXPECT_EQ(out.message, s.message);
        }
    }
}

TEST(RequestReader, HeadLongerThanTheLimitIsRejected) {
    ph_limits limits;
    limits.max_head_bytes = 64;
    const std::string start = "GET / HTTP/1.0\r\nX: ";  // 19 bytes
    const std::string at_limit = start + std::string(64 - 19 - 4, 'a') + "\r\n\r\n";
    ASSERT_EQ(at_limit.size(), 64u);

    ph_request_reader fits(limits);
    EXPECT_EQ(fits.feed(at_limit.data(), at_limit.size()).action, action::read_more);

    // One more header byte, whether or not the head has ended yet.
    const std::string over = start + std::string(64 - 19 + 1, 'a');
    ph_request_reader unfinished(limits);
    EXPECT_EQ(unfinished.feed(over.data(), over.size()).action, action::reject);

    const std::string ended = start + std::string(64 - 19 - 3, 'a') + "\r\n\r\nbody";
    ph_request_reader finished(limits);
    EXPECT_EQ(finished.feed(ended.data(), ended.size()).action, action::reject);
}

TEST(RequestReader, DefaultHeadLimitIs64KiBFedInReads) {
    ph_request_reader reader;
    const std::string start = "GET / HTTP/1.0\r\nX: ";
    auto out = reader.feed(start.data(), start.size());
    const std::string chunk(8192, 'a');
    std::size_t fed = start.size();
    while (out.action == action::read_more && fed <= 64 * 1024) {
        out = reader.feed(chunk.data(), chunk.size());
        fed += chunk.size();
    }
    EXPECT_EQ(out.action, action::reject);
    EXPECT_GT(fed, 64u * 1024);
    EXPECT_LE(fed, 64u * 1024 + chunk.size());
}

TEST(RequestReader, PostBodyThatNeverBecomesJsonIsRejectedPastTheLimit) {
    ph_limits limits;
    limits.max_body_bytes = 100;
    ph_request_reader reader(limits);
    const std::string head = post + "[" + std::string(99, ' ');
    EXPECT_EQ(reader.feed(head.data(), head.size()).action, action::read_more);  // 100 bytes
    EXPECT_EQ(reader.feed(" ", 1).action, action::reject);                      // 101 bytes
}

TEST(RequestReader, ValidDocumentLargerThanTheBodyLimitStillCompletes) {
    ph_limits limits;
    limits.max_body_bytes = 10;
    ph_request_reader reader(limits);
    const std::string req = post + "[" + std::string(50, ' ') + "]";
    EXPECT_EQ(reader.feed(req.data(), req.size()).action, action::queue);
}

TEST(RequestReader, NestingBeyondTheReadersLimitIsRejectedNotThrown) {
    ph_request_reader reader;
    const std::string req = post + std::string(5000, '[');
    ph_read_outcome out;
    EXPECT_NO_THROW(out = reader.feed(req.data(), req.size()));
    EXPECT_EQ(out.action, action::reject);
}

TEST(RequestReader, JsonCheckMatchesTheDefaultReader) {
    struct row {
        std::string body;
        ph_json_check expected;
    };
    const row rows[] = {
        {"{}", ph_json_check::valid},
        {"\"text\"", ph_json_check::valid},
        {"12", ph_json_check::valid},
        {"// comment\n{\"a\": 1} /* after */", ph_json_check::valid},
        {"{\"a\":", ph_json_check::incomplete},
        {"", ph_json_check::incomplete},
        {"\0{}"s, ph_json_check::incomplete},
        {"{}\0garbage"s, ph_json_check::valid},
    };
    for (const auto& r : rows) EXPECT_EQ(check_json(r.body), r.expected) << r.body;
}

}  // namespace
}  // namespace korvanel::http
