#include "scripted_server.hpp"

#include <boost/asio/post.hpp>
#include <boost/asio/write.hpp>

namespace korvanel::send::testing {

using boost::asio::ip::tcp;

scripted_server::scripted_server(std::optional<std::string> answer)
    : acceptor_(io_, tcp::endpoint(boost::asio::ip::make_address_v4("127.0.0.1"), 0)),
      socket_(io_),
      answer_(std::move(answer)) {
    port_ = acceptor_.local_endpoint().port();
    acceptor_.async_accept(socket_, [this](const boost::system::error_code& ec) {
        if (!ec) read_more();
    });
    loop_ = std::thread([this] { io_.run(); });
}

scripted_server::~scripted_server() {
    boost::asio::post(io_, [this] {
        boost::system::error_code ignored;
        acceptor_.close(ignored);
        socket_.close(ignored);
    });
    loop_.join();
}

std::string scripted_server::received() const {
    const std::lock_guard lock(mutex_);
    return received_;
}

void scripted_server::read_more() {
    socket_.async_read_some(boost::asio::buffer(chunk_),
                            [this](const boost::system::error_code& ec, std::size_t n) {
                                bool complete = false;
                                {
                                    const std::lock_guard lock(mutex_);
                                    received_.append(chunk_, n);
                                    complete = complete_body_size(received_).has_value();
                                }
                                if (ec) return;
                                if (complete && answer_) {
                                    on_request_complete();
                                } else {
                                    read_more();  // a silent server keeps draining
                                }
                            });
}

void scripted_server::on_request_complete() {
    boost::asio::async_write(socket_, boost::asio::buffer(*answer_),
                             [this](const boost::system::error_code&, std::size_t) {
                                 boost::system::error_code ignored;
                                 socket_.shutdown(tcp::socket::shutdown_both, ignored);
                                 socket_.close(ignored);
                             });
}

std::optional<std::size_t> complete_body_size(const std::string& request) {
    const auto head_end = request.find("\r\n\r\n");
    if (head_end == std::string::npos) return std::nullopt;
    const std::string name = "\r\nContent-Length: ";
    const auto at = request.find(name);
    if (at == std::string::npos || at > head_end) return std::nullopt;
    const std::size_t length = std::stoul(request.substr(at + name.size()));
    const std::size_t body = request.size() - head_end - 4;
    if (body < length) return std::nullopt;
    return body;
}

}  // namespace korvanel::send::testing
