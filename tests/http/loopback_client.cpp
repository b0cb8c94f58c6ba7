#include "loopback_client.hpp"

#include <functional>

#include <boost/asio/connect.hpp>
#include <boost/asio/write.hpp>

namespace korvanel::http::testing {

using boost::asio::ip::tcp;

loopback_client::loopback_client(unsigned short port) : socket_(io_) {
    socket_.connect(tcp::endpoint(boost::asio::ip::make_address_v4("127.0.0.1"), port));
}

void loopback_client::send(const std::string& bytes) {
    boost::asio::write(socket_, boost::asio::buffer(bytes));
}

loopback_client::received loopback_client::read(std::chrono::milliseconds limit) {
    received out;
    char chunk[4096];
    bool reading = true;
    std::function<void()> next = [&] {
        socket_.async_read_some(boost::asio::buffer(chunk),
                                [&](const boost::system::error_code& ec, std::size_t n) {
                                    out.bytes.append(chunk, n);
                                    if (ec) {
                                        out.closed = ec != boost::asio::error::operation_aborted;
                                        reading = false;
                                        return;
                                    }
                                    next();
                                });
    };
    next();
    io_.restart();
    io_.run_for(limit);
    if (reading) {
        socket_.cancel();
        io_.restart();
        io_.run();  // collect the cancelled read
    }
    return out;
}

void loopback_client::reset() {
    socket_.set_option(tcp::socket::linger(true, 0));
    socket_.close();
}

void loopback_client::close() { socket_.close(); }

std::string exchange(unsigned short port, const std::string& request) {
    loopback_client client(port);
    client.send(request);
    return client.read().bytes;
}

running_server::running_server(const ph_limits& limits)
    : server_("0", limits), loop_([this] { server_.run(); }) {}

running_server::~running_server() {
    server_.stop();
    loop_.join();
}

std::string wire_reply(ph_reply::status_type status) {
    const ph_reply reply = ph_reply::stock_reply(status);
    std::string out;
    for (const auto& b : reply.to_buffers()) out.append(static_cast<const char*>(b.data()), b.size());
    return out;
}

}  // namespace korvanel::http::testing
