// Soak run of the receiver: many clients, each looping over a random mix of
// good POSTs (whole or one byte at a time), malformed heads, oversized heads
// and bodies, clients that stall and clients that reset mid-request, for a
// set time. A drain thread pops the queue as the dispatcher would. At the
// end: every good POST got 200, the queue held exactly the good bodies in
// per-client order, RSS stayed flat and no descriptor leaked.
//
// Usage: korvanel_soak [SECONDS=600] [CLIENTS=64] [IDLE_TIMEOUT_MS=5000]
#include <arpa/inet.h>
#include <dirent.h>
#include <malloc.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "http/server.hpp"

namespace {

using clock_type = std::chrono::steady_clock;
using namespace std::chrono_literals;

long rss_kib() {
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Bytes the allocator has handed out and not had back: unlike RSS, free
// memory the allocator keeps for reuse does not count.
long heap_in_use_kib() {
    const struct mallinfo2 m = mallinfo2();
    return static_cast<long>((m.uordblks + m.hblkhd) / 1024);
}

int open_fds() {
    int n = 0;
    if (DIR* d = opendir("/proc/self/fd")) {
        while (readdir(d) != nullptr) ++n;
        closedir(d);
    }
    return n - 3;  // ".", ".." and the directory itself
}

// A blocking loopback connection whose reads give up after `limit`.
class client_socket {
public:
    client_socket(unsigned short port, std::chrono::milliseconds limit) {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(port);
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        timeval tv{static_cast<time_t>(limit.count() / 1000),
                   static_cast<suseconds_t>(limit.count() % 1000 * 1000)};
        setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
        const int one = 1;
        setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    }
    ~client_socket() {
        if (fd_ >= 0) close(fd_);
    }
    client_socket(const client_socket&) = delete;
    client_socket& operator=(const client_socket&) = delete;

    bool connected() const { return connected_; }
    bool send_all(const std::string& bytes) {
        std::size_t at = 0;
        while (at < bytes.size()) {
            const ssize_t n = ::send(fd_, bytes.data() + at, bytes.size() - at, MSG_NOSIGNAL);
            if (n <= 0) return false;
            at += static_cast<std::size_t>(n);
        }
        return true;
    }
    struct reply {
        std::string bytes;
        bool closed = false;  // orderly close or reset, as opposed to time out
    };
    reply read_all() {
        reply r;
        char buf[4096];
        for (;;) {
            const ssize_t n = recv(fd_, buf, sizeof buf, 0);
            if (n > 0) {
                r.bytes.append(buf, static_cast<std::size_t>(n));
                continue;
            }
            r.closed = n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
            return r;
        }
    }
    // Abortive close: the receiver sees a reset.
    void reset() {
        linger l{1, 0};
        setsockopt(fd_, SOL_SOCKET, SO_LINGER, &l, sizeof l);
        close(fd_);
        fd_ = -1;
    }

private:
    int fd_ = -1;
    bool connected_ = false;
};

bool is_status(const std::string& reply, const char* code) {
    return reply.rfind(std::string("HTTP/1.0 ") + code, 0) == 0;
}

enum kind { good, good_bytewise, malformed, big_head, big_body, stall, reset_mid, kinds };
const char* const kind_names[kinds] = {
    "good", "good 1-byte", "malformed", "oversized head", "oversized body", "stall", "reset"};
// Relative weights of the kinds in each client's mix.
const int kind_weights[kinds] = {60, 10, 10, 5, 1, 4, 10};

struct tally {
    std::atomic<long> runs[kinds] = {};
    std::atomic<long> failures[kinds] = {};
    std::atomic<long> connect_failures{0};
};

std::string good_body(int client, long seq) {
    return "{\"MsgType\":\"Notification\",\"Title\":\"soak\",\"Info\":\"client " +
           std::to_string(client) + " seq " + std::to_string(seq) +
           "\",\"Link\":\"aHR0cDovL2V4YW1wbGUuY29tLw==\"}";
}

const std::string post_head = "POST /notify HTTP/1.0\r\nContent-Type: application/json\r\n\r\n";

struct client_result {
    long good_sent = 0;  // good POSTs sent: sequence numbers 0 .. good_sent-1
};

// One client: runs the mix until `stop_at`.
client_result run_client(int id, unsigned short port, clock_type::time_point stop_at,
                         std::chrono::milliseconds idle_timeout, std::size_t max_head,
                         std::size_t max_body, tally& t) {
    client_result result;
    std::mt19937 rng(static_cast<unsigned>(id) * 7919u + 1);
    std::discrete_distribution<int> pick(std::begin(kind_weights), std::end(kind_weights));
    // A reply must come well within the idle timeout; a stalled client waits
    // it out. Rejecting an oversized body takes the receiver a while (every
    // read re-checks the whole body as JSON), so those wait longer.
    const auto reply_limit = idle_timeout + 10s;
    const auto big_body_limit = idle_timeout + 60s;
    auto fail = [&](int k, const std::string& why) {
        if (t.failures[k]++ < 3)
            std::fprintf(stderr, "client %d, %s: %s\n", id, kind_names[k], why.c_str());
    };
    while (clock_type::now() < stop_at) {
        const int k = pick(rng);
        ++t.runs[k];
        client_socket s(port, std::chrono::duration_cast<std::chrono::milliseconds>(
                                  k == big_body ? big_body_limit : reply_limit));
        if (!s.connected()) {
            ++t.connect_failures;
            std::this_thread::sleep_for(10ms);
            continue;
        }
        switch (k) {
        case good:
        case good_bytewise: {
            const std::string request = post_head + good_body(id, result.good_sent);
            bool sent = true;
            if (k == good) {
                sent = s.send_all(request);
            } else {
                for (char c : request) sent = sent && s.send_all(std::string(1, c));
            }
            const auto r = s.read_all();
            if (sent && is_status(r.bytes, "200")) {
                ++result.good_sent;
            } else {
                // A good POST that did not get 200 fails the run; its body
                // may or may not be queued, so the order check would fail too.
                fail(k, "no 200 (sent " + std::to_string(sent) + "): " + r.bytes.substr(0, 40));
                ++result.good_sent;  // counted as sent: the queue check then shows what happened
            }
            break;
        }
        case malformed: {
            static const char* const heads[] = {"POST / HTTP/1.0\n\r\n{}",
                                                "PO ST / HTTP/1.0\r\n\r\n{}",
                                                "POST / HTTX/1.0\r\n\r\n{}", "POST /\r\n\r\n{}",
                                                "GET / HTTP/1.0\r\nNo-Colon\r\n\r\n"};
            s.send_all(heads[rng() % std::size(heads)]);
            const auto r = s.read_all();
            if (!is_status(r.bytes, "400")) fail(k, "no 400: " + r.bytes.substr(0, 40));
            break;
        }
        case big_head: {
            std::string head = "POST / HTTP/1.0\r\nX-Filler: ";
            head.append(max_head + 1024, 'h');
            s.send_all(head);  // may fail part-way once the receiver gives up
            const auto r = s.read_all();
            if (!r.closed || !(r.bytes.empty() || is_status(r.bytes, "400")))
                fail(k, "expected 400 or a reset: " + r.bytes.substr(0, 40));
            break;
        }
        case big_body: {
            std::string body = "{\"Info\":\"";
            body.append(max_body + 4096, 'b');
            s.send_all(post_head + body);
            const auto r = s.read_all();
            if (!r.closed || !(r.bytes.empty() || is_status(r.bytes, "400")))
                fail(k, "expected 400 or a reset: " + r.bytes.substr(0, 40));
            break;
        }
        case stall: {
            s.send_all("POST /notify HTTP/1.0\r\nContent-Ty");
            const auto start = clock_type::now();
            const auto r = s.read_all();
            const auto waited = clock_type::now() - start;
            if (!r.bytes.empty() || !r.closed || waited < idle_timeout - 500ms)
                fail(k, "expected a silent close after the idle timeout");
            break;
        }
        case reset_mid: {
            s.send_all(post_head + "{\"MsgType\":\"Notification\",\"Title\":\"cut");
            s.reset();
            break;
        }
        }
    }
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 600;
    const int clients = argc > 2 ? std::atoi(argv[2]) : 64;
    const std::chrono::milliseconds idle_timeout(argc > 3 ? std::atoi(argv[3]) : 5000);

    korvanel::http::ph_limits limits;  // the product's, but a shorter idle timeout
    limits.idle_timeout = idle_timeout;
    korvanel::http::ph_http_server server("0", limits);
    std::thread loop([&] { server.run(); });

    // The dispatcher's side: pops everything, keeps each client's sequence.
    std::atomic<bool> draining{true};
    std::vector<std::vector<long>> popped(static_cast<std::size_t>(clients));
    long foreign = 0;
    auto drain_one = [&]() {
        const std::string m = server.pop_message();
        if (m.empty()) return false;
        int id = -1;
        long seq = -1;
        const auto at = m.find("\"Info\":\"client ");
        if (at == std::string::npos ||
            std::sscanf(m.c_str() + at, "\"Info\":\"client %d seq %ld", &id, &seq) != 2 || id < 0 ||
            id >= clients || m.back() != '\0' || m.substr(0, m.size() - 1) != good_body(id, seq)) {
            ++foreign;
        } else {
            popped[static_cast<std::size_t>(id)].push_back(seq);
        }
        return true;
    };
    std::thread drain([&] {
        while (draining.load())
            if (!drain_one()) std::this_thread::sleep_for(1ms);
    });

    std::this_thread::sleep_for(100ms);
    const int fds_before = open_fds();
    const long rss_start = rss_kib();
    std::printf("soak: %d s, %d clients, idle timeout %lld ms, port %u\n", seconds, clients,
                static_cast<long long>(idle_timeout.count()), server.port());
    std::printf("soak: start RSS %ld KiB, %d descriptors\n", rss_start, fds_before);
    std::fflush(stdout);

    tally t;
    std::vector<client_result> results(static_cast<std::size_t>(clients));
    const auto start = clock_type::now();
    const auto stop_at = start + std::chrono::seconds(seconds);
    std::vector<std::thread> threads;
    for (int i = 0; i < clients; ++i)
        threads.emplace_back([&, i] {
            results[static_cast<std::size_t>(i)] =
                run_client(i, server.port(), stop_at, idle_timeout, limits.max_head_bytes,
                           limits.max_body_bytes, t);
        });

    std::vector<long> rss_per_minute;
    for (int minute = 1; clock_type::now() < stop_at; ++minute) {
        std::this_thread::sleep_until(std::min(stop_at, start + std::chrono::minutes(minute)));
        long requests = 0;
        for (auto& r : t.runs) requests += r.load();
        rss_per_minute.push_back(rss_kib());
        std::printf(
            "soak: %4lld s  RSS %ld KiB  heap in use %ld KiB  descriptors %d  requests %ld\n",
            static_cast<long long>(
                std::chrono::duration_cast<std::chrono::seconds>(clock_type::now() - start)
                    .count()),
            rss_per_minute.back(), heap_in_use_kib(), open_fds(), requests);
        std::fflush(stdout);
    }
    for (auto& th : threads) th.join();

    // Connections still open (none should be) close at the idle timeout.
    int fds_after = open_fds();
    for (auto deadline = clock_type::now() + idle_timeout + 2s;
         fds_after != fds_before && clock_type::now() < deadline; fds_after = open_fds())
        std::this_thread::sleep_for(100ms);
    draining = false;
    drain.join();
    while (drain_one()) {
    }
    server.stop();
    loop.join();

    bool ok = true;
    std::printf("soak: %-15s %10s %9s\n", "kind", "runs", "failures");
    for (int k = 0; k < kinds; ++k) {
        std::printf("soak: %-15s %10ld %9ld\n", kind_names[k], t.runs[k].load(),
                    t.failures[k].load());
        ok = ok && t.failures[k] == 0;
    }
    std::printf("soak: connect failures %ld\n", t.connect_failures.load());

    long good_total = 0, order_errors = 0;
    for (int i = 0; i < clients; ++i) {
        const auto& seqs = popped[static_cast<std::size_t>(i)];
        good_total += results[static_cast<std::size_t>(i)].good_sent;
        bool in_order =
            static_cast<long>(seqs.size()) == results[static_cast<std::size_t>(i)].good_sent;
        for (std::size_t j = 0; in_order && j < seqs.size(); ++j)
            in_order = seqs[j] == static_cast<long>(j);
        if (!in_order) ++order_errors;
    }
    std::printf(
        "soak: good POSTs answered 200: %ld; queue: per-client order broken for %ld clients, "
        "%ld bodies that were not good POSTs\n",
        good_total, order_errors, foreign);
    ok = ok && order_errors == 0 && foreign == 0;

    // Flat: after the first minute (thread stacks, allocator pools) the
    // per-minute samples must not keep climbing; allocator noise is fine.
    if (rss_per_minute.size() >= 3) {
        const long first = rss_per_minute[0], last = rss_per_minute.back();
        std::printf("soak: RSS after minute 1 %ld KiB, last %ld KiB (%+ld KiB)\n", first, last,
                    last - first);
        if (last > first + first / 4 + 8192) {
            std::printf("soak: FAIL RSS grew\n");
            ok = false;
        }
    } else {
        std::printf("soak: RSS last %ld KiB; too short a run to judge flatness (needs 3 minutes)\n",
                    rss_per_minute.empty() ? rss_kib() : rss_per_minute.back());
    }
    std::printf("soak: descriptors before %d, after %d\n", fds_before, fds_after);
    ok = ok && fds_after == fds_before;
    std::printf("soak: %s\n", ok ? "PASS" : "FAIL");
    return ok ? 0 : 1;
}
