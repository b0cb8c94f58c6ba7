#pragma once

#include <array>
#include <cstddef>
#include <memory>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/system/error_code.hpp>

#include "http/connection_manager.hpp"
#include "http/limits.hpp"
#include "http/reply.hpp"
#include "http/request_reader.hpp"

namespace korvanel::http {

class ph_http_server;

// One accepted TCP connection carrying exactly one request. It stays alive
// while the manager's set or an outstanding handler holds a pointer to it.
class ph_http_connection : public std::enable_shared_from_this<ph_http_connection> {
public:
    ph_http_connection(boost::asio::io_context& io, ph_connection_manager& manager,
                       ph_http_server& server, const ph_limits& limits);
    ph_http_connection(const ph_http_connection&) = delete;
    ph_http_connection& operator=(const ph_http_connection&) = delete;

    boost::asio::ip::tcp::socket& socket() { return socket_; }

    void start();
    // Closes the socket; pending operations complete with operation_aborted.
    // A close error is of no use to anyone here, so it never throws.
    void stop() noexcept;

    void handle_read(const boost::system::error_code& ec, std::size_t bytes_transferred);
    void handle_write(const boost::system::error_code& ec);

private:
    void read_more();
    void write_reply(ph_reply::status_type status);
    void watch_deadline();

    boost::asio::ip::tcp::socket socket_;
    std::array<char, 8192> buffer_;
    ph_request_reader reader_;
    ph_reply reply_;
    ph_connection_manager& manager_;
    ph_http_server& server_;
    boost::asio::steady_timer deadline_;
    std::chrono::milliseconds idle_timeout_;
};

}  // namespace korvanel::http
