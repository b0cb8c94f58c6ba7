#include "http/reply.hpp"

#include <array>

namespace korvanel::http {

namespace {

struct stock_entry {
    ph_reply::status_type status;
    std::string line;
    const char* content;
};

// Senders may match these texts, so they are kept exactly as they have
// always been (the 204 heading included).
const std::array<stock_entry, 16>& stock_table() {
    static const std::array<stock_entry, 16> table{{
        {ph_reply::ok, "HTTP/1.0 200 OK\r\n", "\"Y\""},
        {ph_reply::created, "HTTP/1.0 201 Created\r\n",
         "<html><head><title>Created</title></head><body><h1>201 Created</h1></body></html>"},
        {ph_reply::accepted, "HTTP/1.0 202 Accepted\r\n",
         "<html><head><title>Accepted</title></head><body><h1>202 Accepted</h1></body></html>"},
        {ph_reply::no_content, "HTTP/1.0 204 No Content\r\n",
         "<html><head><title>No Content</title></head><body><h1>204 Content</h1></body></html>"},
        {ph_reply::multiple_choices, "HTTP/1.0 300 Multiple Choices\r\n",
         "<html><head><title>Multiple Choices</title></head><body><h1>300 Multiple "
         "Choices</h1></body></html>"},
        {ph_reply::moved_permanently, "HTTP/1.0 301 Moved Permanently\r\n",
         "<html><head><title>Moved Permanently</title></head><body><h1>301 Moved "
         "Permanently</h1></body></html>"},
        {ph_reply::moved_temporarily, "HTTP/1.0 302 Moved Temporarily\r\n",
         "<html><head><title>Moved Temporarily</title></head><body><h1>302 Moved "
         "Temporarily</h1></body></html>"},
        {ph_reply::not_modified, "HTTP/1.0 304 Not Modified\r\n",
         "<html><head><title>Not Modified</title></head><body><h1>304 Not "
         "Modified</h1></body></html>"},
        {ph_reply::bad_request, "HTTP/1.0 400 Bad Request\r\n",
         "<html><head><title>Bad Request</title></head><body><h1>400 Bad Request</h1></body></html>"},
        {ph_reply::unauthorized, "HTTP/1.0 401 Unauthorized\r\n",
         "<html><head><title>Unauthorized</title></head><body><h1>401 "
         "Unauthorized</h1></body></html>"},
        {ph_reply::forbidden, "HTTP/1.0 403 Forbidden\r\n",
         "<html><head><title>Forbidden</title></head><body><h1>403 Forbidden</h1></body></html>"},
        {ph_reply::not_found, "HTTP/1.0 404 Not Found\r\n",
         "<html><head><title>Not Found</title></head><body><h1>404 Not Found</h1></body></html>"},
        {ph_reply::internal_server_error, "HTTP/1.0 500 Internal Server Error\r\n",
         "<html><head><title>Internal Server Error</title></head><body><h1>500 Internal Server "
         "Error</h1></body></html>"},
        {ph_reply::not_implemented, "HTTP/1.0 501 Not Implemented\r\n",
         "<html><head><title>Not Implemented</title></head><body><h1>501 Not "
         "Implemented</h1></body></html>"},
        {ph_reply::bad_gateway, "HTTP/1.0 502 Bad Gateway\r\n",
         "<html><head><title>Bad Gateway</title></head><body><h1>502 Bad Gateway</h1></body></html>"},
        {ph_reply::service_unavailable, "HTTP/1.0 503 Service Unavailable\r\n",
         "<html><head><title>Service Unavailable</title></head><body><h1>503 Service "
         "Unavailable</h1></body></html>"},
    }};
    return table;
}

const stock_entry& entry_for(ph_reply::status_type status) {
    const auto& table = stock_table();
    for (const auto& entry : table) {
        if (entry.status == status) return entry;
    }
    for (const auto& entry : table) {
        if (entry.status == ph_reply::internal_server_error) return entry;
    }
    return table.front();  // unreachable: the table holds 500
}

const char name_value_separator[] = {':', ' '};
const char crlf[] = {'\r', '\n'};

}  // namespace

const std::string& status_line(ph_reply::status_type status) { return entry_for(status).line; }

std::string stock_content(ph_reply::status_type status) { return entry_for(status).content; }

ph_reply ph_reply::stock_reply(status_type status) {
    ph_reply rep;
    rep.status = status;
    rep.content = stock_content(status);
    rep.headers = {
        {"Content-Length", std::to_string(rep.content.size())},
        {"Content-Type", "text/html"},
    };
    return rep;
}

std::vector<boost::asio::const_buffer> ph_reply::to_buffers() const {
    std::vector<boost::asio::const_buffer> buffers;
    buffers.reserve(2 + headers.size() * 4 + 1);
    buffers.push_back(boost::asio::buffer(status_line(status)));
    for (const auto& h : headers) {
        buffers.push_back(boost::asio::buffer(h.name));
        buffers.push_back(boost::asio::buffer(name_value_separator));
        buffers.push_back(boost::asio::buffer(h.value));
        buffers.push_back(boost::asio::buffer(crlf));
    }
    buffers.push_back(boost::asio::buffer(crlf));
    buffers.push_back(boost::asio::buffer(content));
    return buffers;
}

}  // namespace korvanel::http
