#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "http/header.hpp"

namespace korvanel::http {

struct ph_request {
    std::string method;
    std::string uri;
    std::string body;  // every byte after the empty line that ends the head
    std::int32_t http_version_major = 0;
    std::int32_t http_version_minor = 0;
    std::vector<ph_header> headers;
};

}  // namespace korvanel::http
