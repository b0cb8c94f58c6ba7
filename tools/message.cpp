#include "tools/message.hpp"

#include "tools/text.hpp"

namespace korvanel::send {

std::string build_document(const send_options& options) {
    std::string doc = "{\"MsgType\":\"Notification\"";
    doc += ",\"Title\":" + json_quote(options.title);
    doc += ",\"Info\":" + json_quote(options.info);
    if (options.link) doc += ",\"Link\":" + json_quote(base64_encode(*options.link));
    if (options.guid) doc += ",\"FunctionGuid\":" + json_quote(*options.guid);
    doc += '}';
    return doc;
}

std::string build_request(std::string_view host, std::string_view port, std::string_view body) {
    std::string request = "POST / HTTP/1.0\r\nHost: ";
    // An IPv6 literal needs brackets to keep its colons apart from the port.
    const bool ipv6_literal = host.find(':') != std::string_view::npos;
    if (ipv6_literal) request += '[';
    request += host;
    if (ipv6_literal) request += ']';
    request += ':';
    request += port;
    request +=
        "\r\nUser-Agent: korvanel-send\r\n"
        "Content-Type: application/json; charset=utf-8\r\n"
        "Content-Length: ";
    request += std::to_string(body.size());
    request += "\r\n\r\n";
    request += body;
    return request;
}

}  // namespace korvanel::send
