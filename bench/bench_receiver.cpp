// The receiver under load: listens on a free port (or the one given), writes
// the port number to a file so the load tool can find it, and drains the
// queue on a second thread the way the dispatcher does, only without the
// 20 ms pause, so the queue never fills. Ends after the given seconds and
// prints how many bodies it received.
//
// Usage: korvanel_bench_receiver PORT_FILE SECONDS [PORT]
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "http/server.hpp"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s PORT_FILE SECONDS [PORT]\n", argv[0]);
        return 2;
    }
    const std::string port = argc > 3 ? argv[3] : "0";
    korvanel::http::ph_http_server server(port);
    {
        // Written whole to a temporary name first, so a reader never sees half.
        const std::string tmp = std::string(argv[1]) + ".tmp";
        std::ofstream(tmp) << server.port() << "\n";
        std::rename(tmp.c_str(), argv[1]);
    }

    std::atomic<bool> running{true};
    std::size_t bodies = 0;
    std::thread drain([&] {
        while (running.load()) {
            if (server.pop_message().empty())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            else
                ++bodies;
        }
    });
    std::thread loop([&] { server.run(); });
    std::this_thread::sleep_for(std::chrono::seconds(std::atoi(argv[2])));
    server.stop();
    loop.join();
    running = false;
    drain.join();
    while (!server.pop_message().empty()) ++bodies;
    std::printf("bodies %zu\n", bodies);
    return 0;
}
