#include "http/server.hpp"

#include <boost/asio/error.hpp>
#include <boost/asio/post.hpp>
#include <boost/system/system_error.hpp>

namespace korvanel::http {

using boost::asio::ip::tcp;

ph_http_server::ph_http_server(const std::string& port, const ph_limits& limits)
    : acceptor_(io_),
      limits_(limits),
      new_connection_(std::make_shared<ph_http_connection>(io_, connection_manager_, *this, limits_)),
      accept_retry_(io_) {
    tcp::resolver resolver(io_);
    const auto results = resolver.resolve(tcp::v4(), "", port,
                                          tcp::resolver::passive | tcp::resolver::address_configured);
    const tcp::endpoint endpoint = results.begin()->endpoint();

    acceptor_.open(endpoint.protocol());
    acceptor_.set_option(tcp::acceptor::reuse_address(true));
    acceptor_.bind(endpoint);
    acceptor_.listen(tcp::socket::max_listen_connections);
    port_ = acceptor_.local_endpoint().port();
    accept_into_next_connection();
}

void ph_http_server::run() { io_.run(); }

void ph_http_server::stop() {
    boost::asio::post(io_, [this] {
        boost::system::error_code ignored;
        acceptor_.close(ignored);
        accept_retry_.cancel();
        connection_manager_.stop_all();
    });
}

void ph_http_server::post(std::function<void()> task) { boost::asio::post(io_, std::move(task)); }

void ph_http_server::start_accept() {
    new_connection_ = std::make_shared<ph_http_connection>(io_, connection_manager_, *this, limits_);
    accept_into_next_connection();
}

void ph_http_server::accept_into_next_connection() {
    acceptor_.async_accept(new_connection_->socket(),
                           [this](const boost::system::error_code& ec) { handle_accept(ec); });
}

void ph_http_server::handle_accept(const boost::system::error_code& ec) {
    if (ec == boost::asio::error::operation_aborted || !acceptor_.is_open()) return;

    if (ec) {
        // One failed accept must not end accepting for good. When sockets
        // have run out, the backlog will fail again at once: wait a little.
        ++failed_accepts_;
        if (is_resource_exhaustion(ec)) {
            accept_retry_.expires_after(limits_.accept_retry_delay);
            accept_retry_.async_wait([this](const boost::system::error_code& wait_ec) {
                if (!wait_ec && acceptor_.is_open()) start_accept();
            });
        } else {
            start_accept();
        }
        return;
    }

    connection_manager_.start(new_connection_);
    start_accept();
}

bool ph_http_server::push_message(std::string message) {
    const std::lock_guard<std::mutex> lock(queue_mutex_);
    if (queue_.size() >= limits_.max_queued_messages ||
        queued_bytes_ + message.size() > limits_.max_queued_bytes) {
        return false;
    }
    queued_bytes_ += message.size();
    queue_.push_back(std::move(message));
    return true;
}

std::string ph_http_server::pop_message() {
    std::string result;
    const std::lock_guard<std::mutex> lock(queue_mutex_);
    if (!queue_.empty()) {
        result = std::move(queue_.front());
        queue_.pop_front();
        queued_bytes_ -= result.size();
    }
    return result;
}

bool is_resource_exhaustion(const boost::system::error_code& ec) {
    namespace error = boost::asio::error;
    return ec == error::no_descriptors       // EMFILE / WSAEMFILE
           || ec == error::no_buffer_space   // ENOBUFS / WSAENOBUFS
           || ec == error::no_memory         // ENOMEM
           || ec == boost::system::errc::too_many_files_open_in_system;  // ENFILE
}

}  // namespace korvanel::http
