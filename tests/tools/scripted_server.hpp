#pragma once

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace korvanel::send::testing {

// A stand-in receiver on an ephemeral loopback port that serves one
// connection by a script: once a whole request (head plus Content-Length
// bytes) is in, it writes `answer` and closes; with no answer it holds the
// connection open and says nothing until it is destroyed.
class scripted_server {
public:
    explicit scripted_server(std::optional<std::string> answer);
    ~scripted_server();
    scripted_server(const scripted_server&) = delete;
    scripted_server& operator=(const scripted_server&) = delete;

    unsigned short port() const { return port_; }
    // Every byte the client sent so far.
    std::string received() const;

private:
    void read_more();
    void on_request_complete();

    boost::asio::io_context io_;
    boost::asio::ip::tcp::acceptor acceptor_;
    boost::asio::ip::tcp::socket socket_;
    std::optional<std::string> answer_;
    unsigned short port_ = 0;
    char chunk_[4096];
    mutable std::mutex mutex_;
    std::string received_;  // guarded by mutex_
    std::thread loop_;
};

// Whether `request` holds its head and all the body its Content-Length
// announces; the body's size when so.
std::optional<std::size_t> complete_body_size(const std::string& request);

}  // namespace korvanel::send::testing
