#pragma once

#include <cstddef>
#include <string>

#include "http/limits.hpp"
#include "http/request.hpp"
#include "http/request_parser.hpp"

namespace korvanel::http {

// What a connection does after a read: the completion rule of the receiver,
// kept free of sockets so that it can be tested and fuzzed on its own.
struct ph_read_outcome {
    enum action_type {
        read_more,   // request not complete yet
        queue,       // push `message`, then reply 200
        reject,      // reply 400, queue nothing
    };
    action_type action = read_more;
    std::string message;  // the queue entry, when action is `queue`
};

// Collects one request from successive reads.
//
// A request is complete once the head has ended and either the method is not
// exactly "POST" and a body byte has arrived, or the method is "POST" and the
// body so far (up to its first zero byte) parses as JSON. Content-Length is
// not consulted: senders rely on the JSON document delimiting itself.
class ph_request_reader {
public:
    explicit ph_request_reader(const ph_limits& limits = {}) : limits_(limits) {}

    ph_read_outcome feed(const char* data, std::size_t size);

    const ph_request& request() const { return request_; }
    const ph_request_parser& parser() const { return parser_; }

private:
    ph_limits limits_;
    ph_request request_;
    ph_request_parser parser_;
    std::size_t bytes_received_ = 0;
};

enum class ph_json_check {
    valid,       // the reader accepts the document
    incomplete,  // not (yet) a document; more bytes may complete it
    refused,     // the reader gave up for good (nesting deeper than it allows)
};

// Checks `body` up to its first zero byte with JsonCpp's default reader.
ph_json_check check_json(const std::string& body);

}  // namespace korvanel::http
