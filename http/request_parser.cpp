#include "http/request_parser.hpp"

#include <limits>

namespace korvanel::http {

namespace {

const boost::tribool bad = false;
const boost::tribool more = boost::indeterminate;

// Version numbers are never read by the receiver; saturating keeps a very
// long run of digits from overflowing.
void accumulate_digit(std::int32_t& value, char digit) {
    constexpr std::int32_t max = std::numeric_limits<std::int32_t>::max();
    const std::int32_t d = digit - '0';
    value = value > (max - d) / 10 ? max : value * 10 + d;
}

}  // namespace

bool ph_request_parser::is_separator(unsigned char c) {
    switch (c) {
    case '\t': case ' ': case '"': case '(': case ')': case ',': case '/':
    case ':': case ';': case '<': case '=': case '>': case '?': case '@':
    case '[': case '\\': case ']': case '{': case '}':
        return true;
    default:
        return false;
    }
}

boost::tribool ph_request_parser::consume(ph_request& req, char input) {
    const auto c = static_cast<unsigned char>(input);
    switch (state_) {
    case method_begin:
        if (!is_token(c)) return bad;
        req.method.push_back(input);
        state_ = method_chars;
        return more;
    case method_chars:
        if (c == ' ') {
            state_ = uri_chars;
            return more;
        }
        if (!is_token(c)) return bad;
        req.method.push_back(input);
        return more;
    case uri_chars:
        if (c == ' ') {
            state_ = version_h;
            return more;
        }
        if (is_control(c)) return bad;
        req.uri.push_back(input);
        return more;
    case version_h:
        if (c != 'H') return bad;
        state_ = version_t1;
        return more;
    case version_t1:
        if (c != 'T') return bad;
        state_ = version_t2;
        return more;
    case version_t2:
        if (c != 'T') return bad;
        state_ = version_p;
        return more;
    case version_p:
        if (c != 'P') return bad;
        state_ = version_slash;
        return more;
    case version_slash:
        if (c != '/') return bad;
        req.http_version_major = 0;
        req.http_version_minor = 0;
        state_ = major_begin;
        return more;
    case major_begin:
        if (!is_digit(c)) return bad;
        accumulate_digit(req.http_version_major, input);
        state_ = major_digits;
        return more;
    case major_digits:
        if (c == '.') {
            state_ = minor_begin;
            return more;
        }
        if (!is_digit(c)) return bad;
        accumulate_digit(req.http_version_major, input);
        return more;
    case minor_begin:
        if (!is_digit(c)) return bad;
        accumulate_digit(req.http_version_minor, input);
        state_ = minor_digits;
        return more;
    case minor_digits:
        if (c == '\r') {
            state_ = request_line_lf;
            return more;
        }
        if (!is_digit(c)) return bad;
        accumulate_digit(req.http_version_minor, input);
        return more;
    case request_line_lf:
        if (c != '\n') return bad;
        state_ = header_line_begin;
        return more;
    case header_line_begin:
        if (c == '\r') {
            state_ = head_end_lf;
            return more;
        }
        if ((c == ' ' || c == '\t') && !req.headers.empty()) {
            state_ = header_continuation;
            return more;
        }
        if (!is_token(c)) return bad;
        req.headers.push_back(ph_header{std::string(1, input), std::string()});
        state_ = header_name_chars;
        return more;
    case header_continuation:
        if (c == '\r') {
            state_ = header_line_lf;
            return more;
        }
        if (c == ' ' || c == '\t') return more;  // leading blanks are dropped
        if (is_control(c)) return bad;
        req.headers.back().value.push_back(input);
        state_ = header_value_chars;
        return more;
    case header_name_chars:
        if (c == ':') {
            state_ = header_value_space;
            return more;
        }
        if (!is_token(c)) return bad;
        req.headers.back().name.push_back(input);
        return more;
    case header_value_space:
        if (c != ' ') return bad;
        state_ = header_value_chars;
        return more;
    case header_value_chars:
        if (c == '\r') {
            state_ = header_line_lf;
            return more;
        }
        if (is_control(c)) return bad;
        req.headers.back().value.push_back(input);
        return more;
    case header_line_lf:
        if (c != '\n') return bad;
        state_ = header_line_begin;
        return more;
    case head_end_lf:
        if (c != '\n') return bad;
        state_ = body_begin;
        return more;
    case body_begin:
    case body_bytes:
        req.body.push_back(input);
        state_ = body_bytes;
        return more;
    default:
        return bad;
    }
}

}  // namespace korvanel::http
