#pragma once

#include <cstdint>
#include <tuple>

#include <boost/logic/tribool.hpp>

#include "http/request.hpp"

namespace korvanel::http {

// Byte-at-a-time parser of an HTTP/1.x request head. It keeps its state
// between calls, so a request may arrive in any number of pieces. It never
// decides when a body is complete; it only reports `good` once the head is
// complete and at least one body byte has been stored.
class ph_request_parser {
public:
    // The numeric values are part of the contract (tests and diagnostics read
    // them); there is deliberately no state 2.
    enum state : std::int32_t {
        method_begin = 0,
        method_chars = 1,
        uri_chars = 3,
        version_h = 4,
        version_t1 = 5,
        version_t2 = 6,
        version_p = 7,
        version_slash = 8,
        major_begin = 9,
        major_digits = 10,
        minor_begin = 11,
        minor_digits = 12,
        request_line_lf = 13,
        header_line_begin = 14,
        header_continuation = 15,
        header_name_chars = 16,
        header_value_space = 17,
        header_value_chars = 18,
        header_line_lf = 19,
        head_end_lf = 20,
        body_begin = 21,
        body_bytes = 22,
    };

    // Feeds [begin, end). Returns `false` (bad) with the position just after
    // the rejected byte, or, once the range is used up, `true` (good) if the
    // parser is in body_bytes and indeterminate otherwise, with `end`.
    template <typename InputIterator>
    std::tuple<boost::tribool, InputIterator> parse(ph_request& req, InputIterator begin,
                                                    InputIterator end) {
        while (begin != end) {
            if (state_ == body_begin || state_ == body_bytes) {
                // Past the head every byte is body: take the rest at once.
                req.body.append(begin, end);
                state_ = body_bytes;
                begin = end;
                break;
            }
            const boost::tribool verdict = consume(req, static_cast<char>(*begin++));
            if (!verdict) {  // only `false` here: consume never answers `true`
                return {verdict, begin};
            }
        }
        return {state_ == body_bytes ? boost::tribool(true) : boost::tribool(boost::indeterminate),
                begin};
    }

    // Advances by one byte; returns bad or indeterminate, never good.
    boost::tribool consume(ph_request& req, char input);

    std::int32_t current_state() const { return state_; }

    // Character classes of the request grammar, on the byte value.
    static bool is_ascii(unsigned char c) { return c <= 127; }
    static bool is_control(unsigned char c) { return c <= 31 || c == 127; }
    static bool is_separator(unsigned char c);
    static bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }
    static bool is_token(unsigned char c) {
        return is_ascii(c) && !is_control(c) && !is_separator(c);
    }

private:
    std::int32_t state_ = method_begin;
};

}  // namespace korvanel::http
