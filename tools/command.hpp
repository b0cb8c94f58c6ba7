#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace korvanel::send {

enum exit_code : int {
    exit_ok = 0,           // the receiver answered 200
    exit_failure = 1,      // other network or protocol failure
    exit_usage = 2,        // bad arguments
    exit_bad_utf8 = 3,     // an argument or the document is not UTF-8
    exit_input = 4,        // --json input unreadable or not JSON
    exit_unresolved = 5,   // host name not resolvable
    exit_refused = 6,      // connection refused
    exit_timed_out = 7,    // --timeout passed
    exit_http_status = 8,  // the reply was not 200
};

// The whole tool behind main(): `args` are the UTF-8 arguments without the
// program name; `in` is read for "--json -".
int run_send(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
             std::ostream& err);

}  // namespace korvanel::send
