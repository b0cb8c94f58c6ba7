// Resident memory of the receiver's queue: RSS before and after pushing
// 10,000 bodies of 1 KiB (each a JSON document plus the closing zero byte, as
// the connection queues it), then after popping them all again.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "http/server.hpp"

namespace {

long rss_bytes() {
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

}  // namespace

int main() {
    constexpr int count = 10'000;
    constexpr std::size_t body_size = 1024;
    korvanel::http::ph_http_server server("0");

    std::string body = "{\"MsgType\":\"Notification\",\"Info\":\"";
    body.append(body_size - body.size() - 3, 'x');
    body += "\"}";
    body.push_back('\0');

    const long before = rss_bytes();
    int pushed = 0;
    for (int i = 0; i < count; ++i) pushed += server.push_message(body) ? 1 : 0;
    const long after = rss_bytes();
    int popped = 0;
    while (!server.pop_message().empty()) ++popped;
    const long drained = rss_bytes();

    std::printf("queue: %d bodies of %zu bytes pushed (%d accepted), %d popped\n", count,
                body.size(), pushed, popped);
    std::printf("queue: RSS before %.1f MiB, full %.1f MiB, drained %.1f MiB\n", before / 1048576.0,
                after / 1048576.0, drained / 1048576.0);
    std::printf("queue: %.0f bytes of RSS per queued body (%zu bytes of payload)\n",
                double(after - before) / count, body.size());
    return pushed == count && popped == count ? 0 : 1;
}
