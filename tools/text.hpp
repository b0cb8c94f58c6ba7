#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace korvanel::send {

// Standard alphabet, padded with '='; the receiver decodes exactly this.
std::string base64_encode(std::string_view bytes);

// Offset of the first byte that does not belong to a well-formed UTF-8
// sequence (overlong forms, surrogates and code points past U+10FFFF count
// as ill-formed), or nothing when all of `text` is valid.
std::optional<std::size_t> find_invalid_utf8(std::string_view text);

// `text` as a JSON string literal, quotes included. Control characters are
// escaped; every other byte, UTF-8 sequences included, is kept as it is.
std::string json_quote(std::string_view text);

// UTF-16 to UTF-8. A lone surrogate becomes its own three-byte form, which
// find_invalid_utf8 then reports, so a broken command-line argument is
// refused rather than silently replaced.
std::string utf8_from_utf16(std::u16string_view text);

}  // namespace korvanel::send
