#include "http/connection_manager.hpp"

#include "http/connection.hpp"

namespace korvanel::http {

void ph_connection_manager::start(const ph_connection_ptr& c) {
    connections_.insert(c);
    c->start();
}

void ph_connection_manager::stop(const ph_connection_ptr& c) {
    connections_.erase(c);
    c->stop();
}

void ph_connection_manager::stop_all() {
    const auto all = std::move(connections_);
    connections_.clear();
    for (const auto& c : all) c->stop();
}

}  // namespace korvanel::http
