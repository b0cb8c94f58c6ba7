#pragma once

#include <chrono>
#include <cstddef>

namespace korvanel::http {

// Bounds that keep one sender from exhausting the receiver. The defaults are
// the product's; tests shrink them to reach the edges quickly.
struct ph_limits {
    std::size_t max_head_bytes = 64 * 1024;
    // A POST body that grows past this without becoming valid JSON is refused.
    std::size_t max_body_bytes = 1024 * 1024;
    // A connection that receives nothing this long before its request
    // completes is closed without a reply.
    std::chrono::milliseconds idle_timeout{60'000};
    std::size_t max_queued_messages = 10'000;
    std::size_t max_queued_bytes = 64 * 1024 * 1024;
    // Pause before accepting again after the process ran out of sockets.
    std::chrono::milliseconds accept_retry_delay{100};
};

}  // namespace korvanel::http
