#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace korvanel::send {

struct send_options {
    std::string host = "localhost";
    std::string port = "8086";  // decimal, 1..65535
    std::chrono::milliseconds timeout{10'000};
    bool verbose = false;
    // Either a document given whole (a file name, "-" for standard input)...
    std::optional<std::string> json_source;
    // ...or the parts the tool builds one from.
    std::string title;
    std::string info;
    std::optional<std::string> link;
    std::optional<std::string> guid;
};

struct help_request {};

struct usage_error {
    std::string message;
};

// `args` excludes the program name. Values are taken verbatim, so a title
// may start with '-'.
using parsed_args = std::variant<send_options, help_request, usage_error>;
parsed_args parse_args(const std::vector<std::string>& args);

const char* usage_text();

}  // namespace korvanel::send
