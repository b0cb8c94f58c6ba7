#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace korvanel::send {

enum class post_outcome {
    replied,     // the receiver sent something back; see `reply`
    unresolved,  // the host name did not resolve
    refused,     // every address of the host refused the connection
    timed_out,   // the deadline passed first
    failed,      // any other network failure, or closed without a reply
};

struct post_result {
    post_outcome outcome = post_outcome::failed;
    std::string reply;   // the bytes received, for `replied`
    std::string detail;  // what went wrong, for the other outcomes
};

// Resolves `host`, connects, writes `request` whole and reads the reply, all
// within `timeout`; never waits longer, a slow name lookup included.
post_result post_once(const std::string& host, const std::string& port, std::string request,
                      std::chrono::milliseconds timeout);

// True once `bytes` hold a whole reply head and as many body bytes as its
// Content-Length announces. Without that header only the close ends a reply.
bool reply_complete(std::string_view bytes);

struct status_line {
    std::string text;  // the line without its line end
    int code = 0;
};
// The status line of an HTTP/1.x reply, or nothing when `reply` has none.
std::optional<status_line> parse_status_line(std::string_view reply);

}  // namespace korvanel::send
