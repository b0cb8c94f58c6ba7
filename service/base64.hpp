#pragma once

#include <cstddef>
#include <string>

namespace korvanel {

// Lenient Base64 decoding as senders have always been served: bytes outside
// the alphabet count as 0, line breaks are skipped where a group would
// begin, a '=' ends its group, and a group cut short by the end of the text
// is completed with zero sextets. Never reads past `length`.
// `decodedLength`, when given, receives the number of bytes produced.
std::string Base64Decode(const char* text, std::size_t length,
                         std::size_t* decodedLength = nullptr);

}  // namespace korvanel
