#include "http/request_parser.hpp"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace korvanel::http {
namespace {

enum class verdict { good, bad, more };

verdict to_verdict(boost::tribool t) {
    if (t) return verdict::good;
    if (!t) return verdict::bad;
    return verdict::more;
}

struct parse_case {
    const char* name;
    std::string input;
    verdict expected;
    std::size_t consumed;  // bytes consumed, the rejected byte included
    std::int32_t state;
    std::string method = {};
    std::string uri = {};
    std::int32_t major = 0;
    std::int32_t minor = 0;
    std::vector<ph_header> headers = {};
    std::string body = {};
};

const std::string post_head = "POST /x HTTP/1.1\r\nHost: a\r\n\r\n";
using S = ph_request_parser;

std::vector<parse_case> cases() {
    using namespace std::string_literals;
    return {
        {"head_only_waits_for_body", post_head, verdict::more, post_head.size(), S::body_begin,
         "POST", "/x", 1, 1, {{"Host", "a"}}},
        {"first_body_byte_makes_good", post_head + "{", verdict::good, post_head.size() + 1,
         S::body_bytes, "POST", "/x", 1, 1, {{"Host", "a"}}, "{"},
        {"body_keeps_every_byte", post_head + "{\"a\":1}\r\n\0\xff"s, verdict::good,
         post_head.size() + 11, S::body_bytes, "POST", "/x", 1, 1, {{"Host", "a"}},
         "{\"a\":1}\r\n\0\xff"s},
        {"head_bytes_after_the_blank_line_are_body", "GET / HTTP/1.0\r\n\r\nGET / HTTP/1.0\r\n\r\n",
         verdict::good, 36, S::body_bytes, "GET", "/", 1, 0, {}, "GET / HTTP/1.0\r\n\r\n"},
        {"no_headers", "GET / HTTP/1.0\r\n\r\n", verdict::more, 18, S::body_begin, "GET", "/", 1, 0},
        {"empty_target", "GET  HTTP/1.0\r\n\r\n", verdict::more, 17, S::body_begin, "GET", "", 1, 0},
        {"target_takes_high_bytes_and_separators", "GET /\x80\xfe?a=(b) HTTP/1.0\r\n", verdict::more,
         24, S::header_line_begin, "GET", "/\x80\xfe?a=(b)", 1, 0},
        {"long_version_numbers", "GET / HTTP/12.345\r\n", verdict::more, 19, S::header_line_begin,
         "GET", "/", 12, 345},
        {"version_saturates_instead_of_overflowing", "GET / HTTP/99999999999.0\r\n", verdict::more,
         26, S::header_line_begin, "GET", "/", 2147483647, 0},
        {"empty_header_value", "GET / HTTP/1.0\r\nX: \r\n", verdict::more, 21, S::header_line_begin,
         "GET", "/", 1, 0, {{"X", ""}}},
        {"extra_spaces_belong_to_the_value", "GET / HTTP/1.0\r\nX:   v\r\n", verdict::more, 24,
         S::header_line_begin, "GET", "/", 1, 0, {{"X", "  v"}}},
        {"high_bytes_in_value", "GET / HTTP/1.0\r\nX: \xc3\xa9\r\n", verdict::more, 23,
         S::header_line_begin, "GET", "/", 1, 0, {{"X", "\xc3\xa9"}}},
        {"continuation_appends_without_separator", "GET / HTTP/1.0\r\nX: a\r\n \t b\r\nY: c\r\n",
         verdict::more, 34, S::header_line_begin, "GET", "/", 1, 0, {{"X", "ab"}, {"Y", "c"}}},
        {"blank_continuation_line", "GET / HTTP/1.0\r\nX: a\r\n \r\n", verdict::more, 25,
         S::header_line_begin, "GET", "/", 1, 0, {{"X", "a"}}},
        {"header_case_is_kept", "GET / HTTP/1.0\r\ncontent-LENGTH: 3\r\n", verdict::more, 35,
         S::header_line_begin, "GET", "/", 1, 0, {{"content-LENGTH", "3"}}},

        {"separator_in_method", "PO(ST / HTTP/1.0\r\n", verdict::bad, 3, S::method_chars, "PO"},
        {"high_byte_method", "\x80GET", verdict::bad, 1, S::method_begin},
        {"leading_space", " GET / HTTP/1.0\r\n", verdict::bad, 1, S::method_begin},
        {"control_in_target", "GET /a\tb HTTP/1.0\r\n", verdict::bad, 7, S::uri_chars, "GET", "/a"},
        {"lower_case_version", "GET / http/1.0\r\n", verdict::bad, 7, S::version_h, "GET", "/"},
        {"missing_minor", "GET / HTTP/1.\r\n", verdict::bad, 14, S::minor_begin, "GET", "/", 1},
        {"letter_in_major", "GET / HTTP/x", verdict::bad, 12, S::major_begin, "GET", "/"},
        {"bare_lf_ends_request_line", "GET / HTTP/1.0\n", verdict::bad, 15, S::minor_digits, "GET",
         "/", 1, 0},
        {"cr_without_lf", "GET / HTTP/1.0\rX", verdict::bad, 16, S::request_line_lf, "GET", "/", 1,
         0},
        {"continuation_as_first_header", "GET / HTTP/1.0\r\n X: a\r\n", verdict::bad, 17,
         S::header_line_begin, "GET", "/", 1, 0},
        {"no_space_after_colon", "GET / HTTP/1.0\r\nX:a\r\n", verdict::bad, 19,
         S::header_value_space, "GET", "/", 1, 0, {{"X", ""}}},
        {"tab_in_value", "GET / HTTP/1.0\r\nX: a\tb\r\n", verdict::bad, 21, S::header_value_chars,
         "GET", "/", 1, 0, {{"X", "a"}}},
        {"separator_in_header_name", "GET / HTTP/1.0\r\nX Y: a\r\n", verdict::bad, 18,
         S::header_name_chars, "GET", "/", 1, 0, {{"X", ""}}},
        {"bare_lf_after_header", "GET / HTTP/1.0\r\nX: a\n", verdict::bad, 21,
         S::header_value_chars, "GET", "/", 1, 0, {{"X", "a"}}},
        {"head_end_without_lf", "GET / HTTP/1.0\r\n\rX", verdict::bad, 18, S::head_end_lf, "GET",
         "/", 1, 0},
        {"control_in_continuation", "GET / HTTP/1.0\r\nX: a\r\n \x01", verdict::bad, 24,
         S::header_continuation, "GET", "/", 1, 0, {{"X", "a"}}},
        {"bytes_after_a_rejected_byte_are_ignored", "G(ET / HTTP/1.0\r\n\r\n{}", verdict::bad, 2,
         S::method_chars, "G"},
    };
}

struct outcome {
    verdict v;
    std::size_t consumed;
    std::int32_t state;
    ph_request req;
};

// Feeds `input` in pieces cut at `cuts`, as successive reads would.
outcome feed(const std::string& input, const std::vector<std::size_t>& cuts) {
    ph_request_parser parser;
    outcome out{verdict::more, 0, 0, {}};
    std::size_t from = 0;
    std::vector<std::size_t> ends = cuts;
    ends.push_back(input.size());
    for (const std::size_t to : ends) {
        const char* begin = input.data() + from;
        const auto [v, pos] = parser.parse(out.req, begin, input.data() + to);
        out.v = to_verdict(v);
        out.consumed = static_cast<std::size_t>(pos - input.data());
        if (out.v == verdict::bad) break;
        from = to;
    }
    out.state = parser.current_state();
    return out;
}

void expect_matches(const parse_case& c, const outcome& out, const std::string& how) {
    SCOPED_TRACE(std::string(c.name) + " fed " + how);
    EXPECT_EQ(out.v, c.expected);
    EXPECT_EQ(out.consumed, c.consumed);
    EXPECT_EQ(out.state, c.state);
    EXPECT_EQ(out.req.method, c.method);
    EXPECT_EQ(out.req.uri, c.uri);
    EXPECT_EQ(out.req.http_version_major, c.major);
    EXPECT_EQ(out.req.http_version_minor, c.minor);
    ASSERT_EQ(out.req.headers.size(), c.headers.size());
    for (std::size_t i = 0; i < c.headers.size(); ++i) {
        EXPECT_EQ(out.req.headers[i].name, c.headers[i].name);
        EXPECT_EQ(out.req.headers[i].value, c.headers[i].value);
    }
    EXPECT_EQ(out.req.body, c.body);
}

TEST(RequestParser, WholeInput) {
    for (const auto& c : cases()) expect_matches(c, feed(c.input, {}), "whole");
}

TEST(RequestParser, OneByteAtATime) {
    for (const auto& c : cases()) {
        std::vector<std::size_t> cuts;
        for (std::size_t i = 1; i < c.input.size(); ++i) cuts.push_back(i);
        expect_matches(c, feed(c.input, cuts), "byte by byte");
    }
}

TEST(RequestParser, SplitAtEveryPosition) {
    for (const auto& c : cases()) {
        for (std::size_t cut = 0; cut <= c.input.size(); ++cut) {
            expect_matches(c, feed(c.input, {cut}), "split at " + std::to_string(cut));
        }
    }
}

TEST(RequestParser, GoodIsStickyEvenForEmptyRanges) {
    ph_request_parser parser;
    ph_request req;
    const std::string input = post_head + "{";
    parser.parse(req, input.begin(), input.end());
    const std::string empty;
    const auto [v, pos] = parser.parse(req, empty.begin(), empty.end());
    EXPECT_TRUE(static_cast<bool>(v));
    EXPECT_EQ(req.body, "{");
}

TEST(RequestParser, HeadWithoutBodyStaysIndeterminate) {
    ph_request_parser parser;
    ph_request req;
    const std::string input = "GET / HTTP/1.0\r\n\r\n";
    parser.parse(req, input.begin(), input.end());
    for (int i = 0; i < 3; ++i) {
        const auto [v, pos] = parser.parse(req, input.end(), input.end());
        EXPECT_TRUE(boost::indeterminate(v));
    }
}

TEST(RequestParser, ConsumeNeverAnswersGood) {
    ph_request_parser parser;
    ph_request req;
    for (const char c : post_head + "{}") {
        EXPECT_FALSE(static_cast<bool>(parser.consume(req, c)));
    }
    EXPECT_EQ(parser.current_state(), ph_request_parser::body_bytes);
}

TEST(RequestParser, CharacterClasses) {
    const std::string separators = "\t \"(),/:;<=>?@[\\]{}";
    int separator_count = 0, token_count = 0;
    for (int b = 0; b < 256; ++b) {
        const auto c = static_cast<unsigned char>(b);
        const bool sep = separators.find(static_cast<char>(b)) != std::string::npos;
        EXPECT_EQ(ph_request_parser::is_separator(c), sep) << b;
        EXPECT_EQ(ph_request_parser::is_ascii(c), b < 128) << b;
        EXPECT_EQ(ph_request_parser::is_control(c), b < 32 || b == 127) << b;
        EXPECT_EQ(ph_request_parser::is_digit(c), b >= '0' && b <= '9') << b;
        separator_count += sep;
        token_count += ph_request_parser::is_token(c);
    }
    EXPECT_EQ(separator_count, 19);
    EXPECT_EQ(token_count, 128 - 33 - (19 - 1));  // HT is both control and separator
}

}  // namespace
}  // namespace korvanel::http
