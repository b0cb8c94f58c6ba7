#include "http/reply.hpp"

#include <string>

#include <gtest/gtest.h>

namespace korvanel::http {
namespace {

std::string wire(const ph_reply& reply) {
    std::string out;
    for (const auto& b : reply.to_buffers()) out.append(static_cast<const char*>(b.data()), b.size());
    return out;
}

std::string page(const std::string& title, const std::string& heading) {
    return "<html><head><title>" + title + "</title></head><body><h1>" + heading +
           "</h1></body></html>";
}

TEST(Reply, OkIsSixtySixBytesExactly) {
    const std::string expected =
        "HTTP/1.0 200 OK\r\n"
        "Content-Length: 3\r\n"
        "Content-Type: text/html\r\n"
        "\r\n"
        "\"Y\"";
    EXPECT_EQ(expected.size(), 66u);
    EXPECT_EQ(wire(ph_reply::stock_reply(ph_reply::ok)), expected);
}

TEST(Reply, EveryStockReplyOnTheWire) {
    struct row {
        ph_reply::status_type status;
        std::string line;
        std::string content;
        std::size_t length;
    };
    const row rows[] = {
        {ph_reply::created, "201 Created", page("Created", "201 Created"), 81},
        {ph_reply::accepted, "202 Accepted", page("Accepted", "202 Accepted"), 83},
        // The 204 page has always said "204 Content"; kept for senders that match it.
        {ph_reply::no_content, "204 No Content", page("No Content", "204 Content"), 84},
        {ph_reply::multiple_choices, "300 Multiple Choices",
         page("Multiple Choices", "300 Multiple Choices"), 99},
        {ph_reply::moved_permanently, "301 Moved Permanently",
         page("Moved Permanently", "301 Moved Permanently"), 101},
        {ph_reply::moved_temporarily, "302 Moved Temporarily",
         page("Moved Temporarily", "302 Moved Temporarily"), 101},
        {ph_reply::not_modified, "304 Not Modified", page("Not Modified", "304 Not Modified"), 91},
        {ph_reply::bad_request, "400 Bad Request", page("Bad Request", "400 Bad Request"), 89},
        {ph_reply::unauthorized, "401 Unauthorized", page("Unauthorized", "401 Unauthorized"), 91},
        {ph_reply::forbidden, "403 Forbidden", page("Forbidden", "403 Forbidden"), 85},
        {ph_reply::not_found, "404 Not Found", page("Not Found", "404 Not Found"), 85},
        {ph_reply::internal_server_error, "500 Internal Server Error",
         page("Internal Server Error", "500 Internal Server Error"), 109},
        {ph_reply::not_implemented, "501 Not Implemented",
         page("Not Implemented", "501 Not Implemented"), 97},
        {ph_reply::bad_gateway, "502 Bad Gateway", page("Bad Gateway", "502 Bad Gateway"), 89},
        {ph_reply::service_unavailable, "503 Service Unavailable",
         page("Service Unavailable", "503 Service Unavailable"), 105},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.line);
        EXPECT_EQ(r.content.size(), r.length);
        EXPECT_EQ(status_line(r.status), "HTTP/1.0 " + r.line + "\r\n");
        EXPECT_EQ(stock_content(r.status), r.content);
        EXPECT_EQ(wire(ph_reply::stock_reply(r.status)),
                  "HTTP/1.0 " + r.line + "\r\nContent-Length: " + std::to_string(r.length) +
                      "\r\nContent-Type: text/html\r\n\r\n" + r.content);
    }
}

TEST(Reply, UnknownCodeGetsTheInternalErrorPage) {
    const auto unknown = static_cast<ph_reply::status_type>(405);
    EXPECT_EQ(wire(ph_reply::stock_reply(unknown)),
              wire(ph_reply::stock_reply(ph_reply::internal_server_error)));
    EXPECT_EQ(ph_reply::stock_reply(unknown).status, unknown);
}

TEST(Reply, BuffersPointIntoTheReplyWithoutCopying) {
    const ph_reply reply = ph_reply::stock_reply(ph_reply::bad_request);
    const auto buffers = reply.to_buffers();
    // status line, 2 headers x (name, ": ", value, CRLF), CRLF, content
    ASSERT_EQ(buffers.size(), 11u);
    EXPECT_EQ(buffers.back().data(), reply.content.data());
    EXPECT_EQ(buffers[1].data(), reply.headers[0].name.data());
    EXPECT_EQ(buffers[3].data(), reply.headers[0].value.data());
    EXPECT_EQ(buffers[0].data(), status_line(ph_reply::bad_request).data());
}

}  // namespace
}  // namespace korvanel::http
