// Cost of the completion rule: every read of a POST body re-checks the whole
// body so far as JSON, so a body that arrives in many small reads costs time
// quadratic in its size. Prints the receiver-thread time one request takes,
// fed to the socket-free reader in reads of several sizes: an unterminated
// body that runs into the 1 MiB limit (rejected) and a valid 64 KiB document.
#include <chrono>
#include <cstdio>
#include <string>

#include "http/request_reader.hpp"

namespace {

using korvanel::http::ph_read_outcome;
using korvanel::http::ph_request_reader;

// Feeds `request` in reads of `piece` bytes until the reader decides.
double seconds_to_decide(const std::string& request, std::size_t piece, const char** verdict) {
    ph_request_reader reader;
    const auto start = std::chrono::steady_clock::now();
    ph_read_outcome out;
    for (std::size_t at = 0; at < request.size() && out.action == ph_read_outcome::read_more;
         at += piece)
        out = reader.feed(request.data() + at, std::min(piece, request.size() - at));
    *verdict = out.action == ph_read_outcome::queue    ? "queued"
               : out.action == ph_read_outcome::reject ? "rejected"
                                                       : "still reading";
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main() {
    const std::string head = "POST / HTTP/1.0\r\n\r\n";
    std::string unterminated = head + "{\"Info\":\"";
    unterminated.append(1024 * 1024 + 16, 'x');
    std::string valid = head + "{\"Info\":\"";
    valid.append(64 * 1024, 'x');
    valid += "\"}";

    struct run {
        const char* what;
        const std::string* request;
        std::size_t piece;
    };
    const run runs[] = {
        {"1 MiB unterminated", &unterminated, 65536},
        {"1 MiB unterminated", &unterminated, 8192},
        {"1 MiB unterminated", &unterminated, 1024},
        {"64 KiB document", &valid, 8192},
        {"64 KiB document", &valid, 1024},
        {"64 KiB document", &valid, 64},
    };
    std::printf("%-20s %10s %10s %12s\n", "body", "read size", "outcome", "seconds");
    for (const run& r : runs) {
        const char* verdict = "";
        const double s = seconds_to_decide(*r.request, r.piece, &verdict);
        std::printf("%-20s %10zu %10s %12.3f\n", r.what, r.piece, verdict, s);
    }
    return 0;
}
