// The completion rule: bytes in, reply or not. The first byte picks the read
// sizes; the rest arrives in reads of those sizes, as a socket would give it.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "fuzz/targets/fuzz_check.hpp"
#include "http/request_reader.hpp"

using namespace korvanel::http;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t piece = 1 + data[0] % 64;
    ph_limits limits;  // small bounds, so the fuzzer reaches them
    limits.max_head_bytes = 256;
    limits.max_body_bytes = 256;
    ph_request_reader reader(limits);
    const char* bytes = reinterpret_cast<const char*>(data + 1);
    const std::size_t n = size - 1;
    std::size_t fed = 0;
    ph_read_outcome out;
    while (fed < n && out.action == ph_read_outcome::read_more) {
        const std::size_t k = std::min(piece, n - fed);
        out = reader.feed(bytes + fed, k);
        fed += k;
    }
    const ph_request& req = reader.request();
    switch (out.action) {
    case ph_read_outcome::queue:
        FUZZ_CHECK(!req.body.empty());
        if (req.method == "POST") {
            // A zero byte closes the queued copy of a body that parsed.
            FUZZ_CHECK(out.message == req.body + '\0');
            FUZZ_CHECK(check_json(req.body) == ph_json_check::valid);
        } else {
            FUZZ_CHECK(out.message == req.body);
        }
        break;
    case ph_read_outcome::read_more:
        FUZZ_CHECK(fed == n && out.message.empty());
        FUZZ_CHECK(req.body.size() <= limits.max_body_bytes);
        FUZZ_CHECK(fed - req.body.size() <= limits.max_head_bytes);
        if (!req.body.empty()) FUZZ_CHECK(req.method == "POST");
        break;
    case ph_read_outcome::reject:
        FUZZ_CHECK(out.message.empty());
        break;
    }
    return 0;
}
