#include "http/request_reader.hpp"

#include <exception>

#include <json/json.h>

namespace korvanel::http {

ph_json_check check_json(const std::string& body) {
    const auto nul = body.find('\0');
    const std::string document = nul == std::string::npos ? body : body.substr(0, nul);
    // The old Reader is what decides, byte for byte, which documents the
    // dispatcher will later accept; the newer CharReader differs at the edges.
    Json::Reader reader;
    Json::Value scratch;
    try {
        return reader.parse(document, scratch, true) ? ph_json_check::valid
                                                     : ph_json_check::incomplete;
    } catch (const std::exception&) {
        // The reader throws past its nesting limit; no later byte can undo
        // that, and the exception must not reach the event loop.
        return ph_json_check::refused;
    }
}

ph_read_outcome ph_request_reader::feed(const char* data, std::size_t size) {
    bytes_received_ += size;
    const auto [verdict, consumed] = parser_.parse(request_, data, data + size);
    (void)consumed;

    if (!verdict) return {ph_read_outcome::reject, {}};

    // Everything received that is not body is head, complete or not.
    const std::size_t head_bytes = bytes_received_ - request_.body.size();
    if (head_bytes > limits_.max_head_bytes) return {ph_read_outcome::reject, {}};

    if (boost::indeterminate(verdict)) return {ph_read_outcome::read_more, {}};

    if (request_.method != "POST") return {ph_read_outcome::queue, request_.body};

    switch (check_json(request_.body)) {
    case ph_json_check::valid:
        break;
    case ph_json_check::refused:
        return {ph_read_outcome::reject, {}};
    case ph_json_check::incomplete:
        if (request_.body.size() > limits_.max_body_bytes) return {ph_read_outcome::reject, {}};
        return {ph_read_outcome::read_more, {}};
    }
    std::string message = request_.body;
    message.push_back('\0');
    return {ph_read_outcome::queue, std::move(message)};
}

}  // namespace korvanel::http
