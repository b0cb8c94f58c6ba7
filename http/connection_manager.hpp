#pragma once

#include <memory>
#include <set>

namespace korvanel::http {

class ph_http_connection;
using ph_connection_ptr = std::shared_ptr<ph_http_connection>;

// The live connections of one server; touched by the receiver thread only.
class ph_connection_manager {
public:
    ph_connection_manager() = default;
    ph_connection_manager(const ph_connection_manager&) = delete;
    ph_connection_manager& operator=(const ph_connection_manager&) = delete;

    void start(const ph_connection_ptr& c);
    void stop(const ph_connection_ptr& c);
    void stop_all();

    std::size_t size() const { return connections_.size(); }

private:
    std::set<ph_connection_ptr> connections_;
};

}  // namespace korvanel::http
