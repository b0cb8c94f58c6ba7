// The request-head parser must reach the same verdict, stop at the same byte
// and build the same request whether the input arrives whole, one byte at a
// time, or in two pieces split where the first byte says.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/targets/fuzz_check.hpp"
#include "http/request_parser.hpp"

using korvanel::http::ph_request;
using korvanel::http::ph_request_parser;

namespace {

struct run_result {
    ph_request req;
    int verdict = 0;  // 0 bad, 1 good, 2 indeterminate
    std::size_t consumed = 0;
    std::int32_t state = 0;
};

int code(boost::tribool t) {
    return t ? 1 : (!t ? 0 : 2);
}

// Feeds `data` in pieces of at most `piece` bytes, stopping at a bad verdict.
run_result feed(const std::uint8_t* data, std::size_t size, std::size_t piece) {
    run_result r;
    ph_request_parser parser;
    std::size_t at = 0;
    r.verdict = 2;
    while (at < size) {
        const std::size_t n = std::min(piece, size - at);
        const auto [verdict, stop] = parser.parse(r.req, data + at, data + at + n);
        r.verdict = code(verdict);
        at = static_cast<std::size_t>(stop - data);
        if (r.verdict == 0) break;
    }
    r.consumed = at;
    r.state = parser.current_state();
    return r;
}

void expect_same(const run_result& a, const run_result& b) {
    FUZZ_CHECK(a.verdict == b.verdict);
    FUZZ_CHECK(a.consumed == b.consumed);
    FUZZ_CHECK(a.state == b.state);
    FUZZ_CHECK(a.req.method == b.req.method);
    FUZZ_CHECK(a.req.uri == b.req.uri);
    FUZZ_CHECK(a.req.body == b.req.body);
    FUZZ_CHECK(a.req.http_version_major == b.req.http_version_major);
    FUZZ_CHECK(a.req.http_version_minor == b.req.http_version_minor);
    FUZZ_CHECK(a.req.headers.size() == b.req.headers.size());
    for (std::size_t i = 0; i < a.req.headers.size(); ++i) {
        FUZZ_CHECK(a.req.headers[i].name == b.req.headers[i].name);
        FUZZ_CHECK(a.req.headers[i].value == b.req.headers[i].value);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const run_result whole = feed(data, size, size == 0 ? 1 : size);
    expect_same(whole, feed(data, size, 1));
    if (size > 0) expect_same(whole, feed(data, size, 1 + data[0] % size));
    // Good means the head ended and body bytes were stored.
    if (whole.verdict == 1) FUZZ_CHECK(!whole.req.body.empty() && whole.consumed == size);
    return 0;
}
