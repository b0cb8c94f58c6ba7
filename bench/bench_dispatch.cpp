// The dispatcher end to end (Windows, run under Wine by bench/run-bench): the
// real service on a free port hands alerts to a hidden window.
//  - latency: one POST at a time; time from its 200 reply to the window
//    receiving WM_NEW_ALERT (the dispatcher polls every 20 ms);
//  - drain: 500 bodies queued at once; time until the 500th alert;
//  - idle: CPU time and working set of the process over IDLE_SECONDS
//    (argument, default 60) with the service waiting and nothing arriving.
#include <windows.h>
// psapi.h needs windows.h first.
#include <psapi.h>

#include <algorithm>
#include <boost/asio/connect.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/read.hpp>
#include <boost/asio/write.hpp>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/write_log.hpp"
#include "service/alert_record.hpp"
#include "service/http_server_object.hpp"

namespace {

using clock_type = std::chrono::steady_clock;

std::vector<clock_type::time_point> g_alerts;

LRESULT CALLBACK WndProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == korvanel::WM_NEW_ALERT) {
        g_alerts.push_back(clock_type::now());
        return 0;
    }
    return DefWindowProcW(h, m, w, l);
}

void pump_until(std::size_t count, std::chrono::milliseconds limit) {
    const auto end = clock_type::now() + limit;
    MSG msg;
    while (g_alerts.size() < count && clock_type::now() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
}

std::string body(int n) {
    return "{\"MsgType\":\"Notification\",\"Title\":\"bench\",\"Info\":\"alert " +
           std::to_string(n) + "\",\"Link\":\"aHR0cDovL2V4YW1wbGUuY29tLw==\"}";
}

// One POST; returns once the whole reply has been read.
std::string post(unsigned short port, const std::string& json) {
    using boost::asio::ip::tcp;
    boost::asio::io_context io;
    tcp::socket s(io);
    s.connect(tcp::endpoint(boost::asio::ip::address_v4::loopback(), port));
    boost::asio::write(s, boost::asio::buffer("POST / HTTP/1.0\r\n\r\n" + json));
    std::string reply;
    boost::system::error_code ec;
    boost::asio::read(s, boost::asio::dynamic_buffer(reply), ec);
    return reply;
}

double ms(clock_type::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double cpu_seconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto value = [](FILETIME f) {
        return (static_cast<unsigned long long>(f.dwHighDateTime) << 32 | f.dwLowDateTime) / 1e7;
    };
    return value(kernel) + value(user);
}

double working_set_mib() {
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.WorkingSetSize / 1048576.0;
}

}  // namespace

int main(int argc, char** argv) {
    const int idle_seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    korvanel::SetLogDirectoryForTesting(std::wstring(temp) + L"korvanel-bench-dispatch\\");

    WNDCLASSW wc{};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KorvanelBenchDispatch";
    RegisterClassW(&wc);
    HWND window = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                wc.hInstance, nullptr);

    korvanel::ServiceOptions options;
    options.port = "0";
    korvanel::CHttpServerObject service(window, options);
    for (int i = 0; i < 500 && service.ListeningPort() == 0; ++i) Sleep(10);
    const unsigned short port = service.ListeningPort();
    if (port == 0) {
        std::printf("dispatch: the service did not listen\n");
        return 1;
    }

    constexpr int samples = 100;
    std::vector<double> latency;
    for (int i = 0; i < samples; ++i) {
        const std::size_t before = g_alerts.size();
        const std::string reply = post(port, body(i));
        const auto replied = clock_type::now();
        if (reply.rfind("HTTP/1.0 200", 0) != 0) {
            std::printf("dispatch: POST %d got: %s\n", i, reply.substr(0, 30).c_str());
            return 1;
        }
        pump_until(before + 1, std::chrono::seconds(5));
        if (g_alerts.size() <= before) {
            std::printf("dispatch: no alert for POST %d\n", i);
            return 1;
        }
        latency.push_back(ms(std::max(g_alerts.back() - replied, clock_type::duration::zero())));
        Sleep(7 * (i % 3));  // spread the POSTs over the 20 ms polling period
    }
    std::sort(latency.begin(), latency.end());
    std::printf(
        "dispatch: POST reply -> WM_NEW_ALERT over %d POSTs: p50 %.1f ms, p99 %.1f ms, "
        "max %.1f ms\n",
        samples, latency[samples / 2], latency[samples * 99 / 100], latency.back());

    constexpr int burst = 500;
    const std::size_t before = g_alerts.size();
    const auto start = clock_type::now();
    for (int i = 0; i < burst; ++i) service.Receiver()->push_message(body(i) + '\0');
    pump_until(before + burst, std::chrono::seconds(60));
    const std::size_t drained = g_alerts.size() - before;
    const double total = ms(g_alerts.back() - start);
    std::printf(
        "dispatch: %zu of %d queued notifications drained in %.0f ms (%.1f ms each; "
        "500 x 20 ms = 10000 ms)\n",
        drained, burst, total, total / double(drained));

    const double cpu_before = cpu_seconds();
    const auto idle_start = clock_type::now();
    pump_until(g_alerts.size() + 1, std::chrono::seconds(idle_seconds));  // nothing arrives
    const double idle_wall = ms(clock_type::now() - idle_start) / 1000;
    std::printf("dispatch: idle %.0f s: CPU %.2f s (%.2f %% of one core), working set %.1f MiB\n",
                idle_wall, cpu_seconds() - cpu_before,
                100 * (cpu_seconds() - cpu_before) / idle_wall, working_set_mib());
    service.Shutdown();
    return drained == burst ? 0 : 1;
}
