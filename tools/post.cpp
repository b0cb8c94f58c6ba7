#include "tools/post.hpp"

#include <array>
#include <boost/asio/connect.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/write.hpp>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace korvanel::send {

namespace {

using boost::asio::ip::tcp;
using boost::system::error_code;
using clock = std::chrono::steady_clock;

// Replies past this size are cut: only the status line matters.
constexpr std::size_t max_reply_bytes = 64 * 1024;

struct resolve_state {
    std::mutex mutex;
    std::condition_variable done_cv;
    bool done = false;
    error_code ec;
    std::vector<tcp::endpoint> endpoints;
};

// getaddrinfo cannot be cancelled, and Asio's resolver joins its lookup
// thread on destruction. A detached thread that owns its state lets a slow
// lookup outlive the deadline instead of holding the caller past it.
std::shared_ptr<resolve_state> start_resolve(const std::string& host, const std::string& port) {
    auto state = std::make_shared<resolve_state>();
    std::thread([state, host, port] {
        boost::asio::io_context io;
        tcp::resolver resolver(io);
        error_code ec;
        const auto results = resolver.resolve(host, port, tcp::resolver::numeric_service, ec);
        std::vector<tcp::endpoint> endpoints;
        for (const auto& entry : results) endpoints.push_back(entry.endpoint());
        const std::lock_guard lock(state->mutex);
        state->ec = ec;
        state->endpoints = std::move(endpoints);
        state->done = true;
        state->done_cv.notify_all();
    }).detach();
    return state;
}

std::string_view first_line(std::string_view bytes) {
    const auto end = bytes.find_first_of("\r\n");
    return end == std::string_view::npos ? bytes : bytes.substr(0, end);
}

bool iequals(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// One connection: the write and the reads run side by side, because the
// receiver may answer and close before the last byte of a document that
// became valid JSON early has gone out.
class exchange {
public:
    exchange(boost::asio::io_context& io, std::string request)
        : socket_(io), request_(std::move(request)) {}

    void start(const std::vector<tcp::endpoint>& endpoints) {
        boost::asio::async_connect(
            socket_, endpoints,
            [this](const error_code& ec, const tcp::endpoint&) { on_connect(ec); });
    }

    void stop() {
        error_code ignored;
        socket_.close(ignored);
    }

    bool finished() const { return finished_; }
    bool connected() const { return connected_; }
    const error_code& connect_error() const { return connect_ec_; }
    const error_code& transfer_error() const { return read_ec_ ? read_ec_ : write_ec_; }
    const std::string& reply() const { return reply_; }

private:
    void on_connect(const error_code& ec) {
        if (ec) {
            connect_ec_ = ec;
            finished_ = true;
            return;
        }
        connected_ = true;
        boost::asio::async_write(socket_, boost::asio::buffer(request_),
                                 [this](const error_code& ec, std::size_t) {
                                     if (ec && ec != boost::asio::error::operation_aborted) {
                                         write_ec_ = ec;
                                     }
                                 });
        read_more();
    }

    void read_more() {
        socket_.async_read_some(
            boost::asio::buffer(chunk_), [this](const error_code& ec, std::size_t n) {
                reply_.append(chunk_.data(), n);
                if (ec == boost::asio::error::operation_aborted) return;
                if (ec && ec != boost::asio::error::eof) read_ec_ = ec;
                if (ec || reply_complete(reply_) || reply_.size() >= max_reply_bytes) {
                    finished_ = true;
                    stop();
                    return;
                }
                read_more();
            });
    }

    tcp::socket socket_;
    const std::string request_;
    std::array<char, 4096> chunk_{};
    std::string reply_;
    bool connected_ = false;
    bool finished_ = false;
    error_code connect_ec_;
    error_code write_ec_;
    error_code read_ec_;
};

std::string seconds_text(std::chrono::milliseconds timeout) {
    const auto ms = timeout.count();
    std::string text = std::to_string(ms / 1000);
    if (ms % 1000 != 0) {
        std::string fraction = std::to_string(1000 + ms % 1000).substr(1);
        while (fraction.back() == '0') fraction.pop_back();
        text += '.' + fraction;
    }
    return text + " s";
}

}  // namespace

post_result post_once(const std::string& host, const std::string& port, std::string request,
                      std::chrono::milliseconds timeout) {
    const auto deadline = clock::now() + timeout;
    const std::string where = host + ":" + port;

    const auto lookup = start_resolve(host, port);
    {
        std::unique_lock lock(lookup->mutex);
        if (!lookup->done_cv.wait_until(lock, deadline, [&] { return lookup->done; })) {
            return {post_outcome::timed_out,
                    {},
                    "no address for " + host + " within " + seconds_text(timeout)};
        }
    }
    if (lookup->ec || lookup->endpoints.empty()) {
        return {post_outcome::unresolved,
                {},
                "cannot resolve host " + host +
                    (lookup->ec ? ": " + lookup->ec.message() : std::string{})};
    }

    boost::asio::io_context io;
    exchange ex(io, std::move(request));
    ex.start(lookup->endpoints);
    io.run_until(deadline);
    if (!ex.finished()) {
        ex.stop();
        io.restart();
        io.run();  // let the cancelled operations finish
        return {post_outcome::timed_out,
                {},
                (ex.connected() ? "no reply from " : "no connection to ") + where + " within " +
                    seconds_text(timeout)};
    }
    if (const auto& ec = ex.connect_error()) {
        if (ec == boost::asio::error::connection_refused) {
            return {post_outcome::refused, {}, "connection refused by " + where};
        }
        return {post_outcome::failed, {}, "cannot connect to " + where + ": " + ec.message()};
    }
    if (!ex.reply().empty()) return {post_outcome::replied, ex.reply(), {}};
    if (const auto& ec = ex.transfer_error()) {
        return {post_outcome::failed, {}, "connection to " + where + " lost: " + ec.message()};
    }
    return {post_outcome::failed, {}, where + " closed the connection without a reply"};
}

bool reply_complete(std::string_view bytes) {
    const auto head_end = bytes.find("\r\n\r\n");
    if (head_end == std::string_view::npos) return false;
    const std::string_view head = bytes.substr(0, head_end + 2);
    const std::size_t body = bytes.size() - head_end - 4;
    std::size_t line_start = head.find("\r\n") + 2;  // past the status line
    while (line_start < head.size()) {
        const auto line_end = head.find("\r\n", line_start);
        const std::string_view line = head.substr(line_start, line_end - line_start);
        line_start = line_end + 2;
        const auto colon = line.find(':');
        if (colon == std::string_view::npos || !iequals(line.substr(0, colon), "content-length")) {
            continue;
        }
        std::string_view value = line.substr(colon + 1);
        while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) {
            value.remove_prefix(1);
        }
        std::size_t length = 0;
        for (const char c : value) {
            if (c < '0' || c > '9') return false;       // unreadable: wait for the close
            if (length > max_reply_bytes) return true;  // more than we keep anyway
            length = length * 10 + static_cast<std::size_t>(c - '0');
        }
        return !value.empty() && body >= length;
    }
    return false;
}

std::optional<status_line> parse_status_line(std::string_view reply) {
    const std::string_view line = first_line(reply);
    // "HTTP/1.x" SP three digits, then SP and a reason or nothing.
    if (line.size() < 12 || !line.starts_with("HTTP/1.") || line[8] != ' ') return std::nullopt;
    int code = 0;
    for (std::size_t i = 9; i < 12; ++i) {
        if (line[i] < '0' || line[i] > '9') return std::nullopt;
        code = code * 10 + (line[i] - '0');
    }
    if (line.size() > 12 && line[12] != ' ') return std::nullopt;
    return status_line{std::string(line), code};
}

}  // namespace korvanel::send
