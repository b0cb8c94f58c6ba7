#include "tools/json_check.hpp"

#include <json/reader.h>
#include <json/value.h>

#include <string>

namespace korvanel::send {

bool receiver_accepts(std::string_view document) {
    // The receiver judges the body up to its first zero byte.
    const std::string text(document.substr(0, document.find('\0')));
    Json::Reader reader;
    Json::Value scratch;
    return reader.parse(text, scratch, true);
}

}  // namespace korvanel::send
