#pragma once

#include <chrono>
#include <string>
#include <thread>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>

#include "http/server.hpp"

namespace korvanel::http::testing {

using namespace std::chrono_literals;

// A blocking test client on 127.0.0.1 whose reads have a time limit, so a
// test can tell "no reply yet" from "closed".
class loopback_client {
public:
    explicit loopback_client(unsigned short port);

    void send(const std::string& bytes);

    struct received {
        std::string bytes;
        bool closed = false;  // the server ended the connection
    };
    // Reads until the server closes the connection or `limit` passes.
    received read(std::chrono::milliseconds limit = 10s);

    // Abortive close: the server sees a reset.
    void reset();
    void close();

private:
    boost::asio::io_context io_;
    boost::asio::ip::tcp::socket socket_;
};

// Sends one request and returns everything the server answered before closing.
std::string exchange(unsigned short port, const std::string& request);

// A receiver on an ephemeral loopback port with its event loop on a thread.
class running_server {
public:
    explicit running_server(const ph_limits& limits = {});
    ~running_server();
    running_server(const running_server&) = delete;
    running_server& operator=(const running_server&) = delete;

    ph_http_server& server() { return server_; }
    unsigned short port() const { return server_.port(); }

private:
    ph_http_server server_;
    std::thread loop_;
};

std::string wire_reply(ph_reply::status_type status);

}  // namespace korvanel::http::testing
