#pragma once

#include <string>
#include <string_view>

#include "tools/options.hpp"

namespace korvanel::send {

// The notification document: "MsgType" first, then the given parts.
// Absent optional parts are left out, which the receiver reads as empty.
std::string build_document(const send_options& options);

// One HTTP/1.0 POST carrying `body`, with its exact Content-Length.
std::string build_request(std::string_view host, std::string_view port, std::string_view body);

}  // namespace korvanel::send
