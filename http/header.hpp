#pragma once

#include <string>

namespace korvanel::http {

// One header line, shared by requests and replies. Bytes are kept as they
// arrived: nothing downstream interprets header names or values.
struct ph_header {
    std::string name;
    std::string value;
};

}  // namespace korvanel::http
