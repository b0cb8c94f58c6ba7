#pragma once

#include <string>
#include <vector>

#include <boost/asio/buffer.hpp>

#include "http/header.hpp"

namespace korvanel::http {

struct ph_reply {
    enum status_type {
        ok = 200,
        created = 201,
        accepted = 202,
        no_content = 204,
        multiple_choices = 300,
        moved_permanently = 301,
        moved_temporarily = 302,
        not_modified = 304,
        bad_request = 400,
        unauthorized = 401,
        forbidden = 403,
        not_found = 404,
        internal_server_error = 500,
        not_implemented = 501,
        bad_gateway = 502,
        service_unavailable = 503,
    };

    status_type status = ok;
    std::vector<ph_header> headers;
    std::string content;

    // The reply as ranges for one gathered write. They point into this
    // reply's strings and into constants, so the reply must stay alive and
    // unchanged until the write completes.
    std::vector<boost::asio::const_buffer> to_buffers() const;

    static ph_reply stock_reply(status_type status);
};

// Status line with its CR LF; an unknown code maps to the 500 line.
const std::string& status_line(ph_reply::status_type status);

// The canned body for a code; an unknown code maps to the 500 page.
std::string stock_content(ph_reply::status_type status);

}  // namespace korvanel::http
