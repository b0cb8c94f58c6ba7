#include "http/connection.hpp"

#include <boost/asio/error.hpp>
#include <boost/asio/write.hpp>

#include "http/server.hpp"

namespace korvanel::http {

ph_http_connection::ph_http_connection(boost::asio::io_context& io,
                                       ph_connection_manager& manager, ph_http_server& server,
                                       const ph_limits& limits)
    : socket_(io),
      reader_(limits),
      manager_(manager),
      server_(server),
      deadline_(io),
      idle_timeout_(limits.idle_timeout) {}

void ph_http_connection::start() {
    deadline_.expires_after(idle_timeout_);
    watch_deadline();
    read_more();
}

void ph_http_connection::stop() noexcept {
    boost::system::error_code ignored;
    socket_.close(ignored);
    deadline_.cancel();
}

void ph_http_connection::read_more() {
    socket_.async_read_some(boost::asio::buffer(buffer_),
                            [self = shared_from_this()](const boost::system::error_code& ec,
                                                        std::size_t n) { self->handle_read(ec, n); });
}

void ph_http_connection::handle_read(const boost::system::error_code& ec,
                                     std::size_t bytes_transferred) {
    if (ec) {
        if (ec != boost::asio::error::operation_aborted) manager_.stop(shared_from_this());
        return;
    }
    deadline_.expires_after(idle_timeout_);

    ph_read_outcome outcome = reader_.feed(buffer_.data(), bytes_transferred);
    switch (outcome.action) {
    case ph_read_outcome::read_more:
        read_more();
        break;
    case ph_read_outcome::reject:
        write_reply(ph_reply::bad_request);
        break;
    case ph_read_outcome::queue:
        // Queue before replying: a sender that has read 200 knows its body is
        // already queued. A full queue is refused openly rather than dropped.
        write_reply(server_.push_message(std::move(outcome.message)) ? ph_reply::ok
                                                                     : ph_reply::service_unavailable);
        break;
    }
}

void ph_http_connection::write_reply(ph_reply::status_type status) {
    reply_ = ph_reply::stock_reply(status);
    boost::asio::async_write(socket_, reply_.to_buffers(),
                             [self = shared_from_this()](const boost::system::error_code& ec,
                                                         std::size_t) { self->handle_write(ec); });
}

void ph_http_connection::handle_write(const boost::system::error_code& ec) {
    if (!ec) {
        boost::system::error_code ignored;
        socket_.shutdown(boost::asio::ip::tcp::socket::shutdown_both, ignored);
    }
    if (ec != boost::asio::error::operation_aborted) manager_.stop(shared_from_this());
}

// One wait at a time; every read pushes the expiry forward, which wakes this
// wait early, so it re-checks the expiry instead of trusting the error code.
void ph_http_connection::watch_deadline() {
    deadline_.async_wait([self = shared_from_this()](const boost::system::error_code&) {
        if (!self->socket_.is_open()) return;
        if (self->deadline_.expiry() <= boost::asio::steady_timer::clock_type::now()) {
            self->manager_.stop(self);
            return;
        }
        self->watch_deadline();
    });
}

}  // namespace korvanel::http
