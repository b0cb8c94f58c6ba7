#pragma once

#include <atomic>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/system/error_code.hpp>

#include "http/connection.hpp"
#include "http/connection_manager.hpp"
#include "http/limits.hpp"

namespace korvanel::http {

// The notification receiver: listens on every IPv4 interface, serves one
// request per connection and queues the bodies for the dispatcher.
//
// Threads: the constructor runs on the creating thread before `run`; `run`
// and every handler run on the receiver thread; `pop_message` is called from
// the dispatcher thread. The queue lock is the only state they share.
class ph_http_server {
public:
    // Resolves `port` as a service name and listens; one accept is pending
    // when this returns. Throws boost::system::system_error on failure.
    explicit ph_http_server(const std::string& port, const ph_limits& limits = {});
    ph_http_server(const ph_http_server&) = delete;
    ph_http_server& operator=(const ph_http_server&) = delete;

    // Runs the event loop until it has no more work. The loop never runs dry
    // in service, because a finished accept always arms the next one.
    void run();

    // Closes the listener and every connection; `run` then returns. Callable
    // from any thread. The notifier never stops its receiver; tests and tools do.
    void stop();

    // Runs `task` inside the event loop, on the receiver thread.
    void post(std::function<void()> task);

    // Returns false, queueing nothing, when the queue is full.
    bool push_message(std::string message);
    // The oldest body, or "" when the queue is empty.
    std::string pop_message();

    void handle_accept(const boost::system::error_code& ec);

    // The port actually bound; differs from the requested one only for "0".
    unsigned short port() const { return port_; }
    // Accepts that failed so far; read from any thread.
    std::size_t failed_accepts() const { return failed_accepts_.load(); }

private:
    // A fresh next connection, then the one pending accept into it.
    void start_accept();
    void accept_into_next_connection();

    boost::asio::io_context io_;
    boost::asio::ip::tcp::acceptor acceptor_;
    ph_limits limits_;
    ph_connection_ptr new_connection_;
    ph_connection_manager connection_manager_;
    boost::asio::steady_timer accept_retry_;
    unsigned short port_ = 0;
    std::atomic<std::size_t> failed_accepts_{0};

    std::mutex queue_mutex_;
    std::deque<std::string> queue_;  // guarded by queue_mutex_
    std::size_t queued_bytes_ = 0;   // guarded by queue_mutex_
};

// True for accept errors that mean the process or system is out of sockets
// or memory: accepting again at once would only spin.
bool is_resource_exhaustion(const boost::system::error_code& ec);

}  // namespace korvanel::http
