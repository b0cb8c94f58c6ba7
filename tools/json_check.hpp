#pragma once

#include <string_view>

namespace korvanel::send {

// The receiver answers a POST only once its body parses with JsonCpp's
// lenient reader (comments allowed, any root); a document it rejects would
// be met by silence until the time-out, so it is refused before sending.
bool receiver_accepts(std::string_view document);

}  // namespace korvanel::send
