#include "tools/options.hpp"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <set>
#include <string_view>

namespace korvanel::send {

namespace {

bool parse_port(const std::string& text) {
    if (text.empty() || text.size() > 5) return false;
    unsigned value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return value >= 1 && value <= 65535;
}

std::optional<std::chrono::milliseconds> parse_timeout(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos) {
        return std::nullopt;
    }
    char* end = nullptr;
    errno = 0;
    const double seconds = std::strtod(text.c_str(), &end);
    // A day is far beyond any useful wait and keeps the arithmetic finite.
    if (errno != 0 || *end != '\0' || !(seconds > 0) || seconds > 86400) return std::nullopt;
    const auto ms = static_cast<long long>(std::ceil(seconds * 1000));
    return std::chrono::milliseconds(ms);
}

}  // namespace

parsed_args parse_args(const std::vector<std::string>& args) {
    send_options options;
    std::set<std::string> seen;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> value;
        if (const auto eq = name.find('='); name.starts_with("--") && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
        }
        if (name == "--help" || name == "-h") return help_request{};
        if (name == "--verbose" || name == "-v") {
            if (value) return usage_error{name + " takes no value"};
            options.verbose = true;
            continue;
        }
        static const std::set<std::string_view> with_value{
            "--host", "--port", "--title", "--info", "--link", "--guid", "--timeout", "--json"};
        if (!with_value.contains(name)) {
            return usage_error{name.starts_with("-") ? "unknown option " + name
                                                     : "unexpected argument '" + name + "'"};
        }
        if (!value) {
            if (i + 1 == args.size()) return usage_error{name + " needs a value"};
            value = args[++i];
        }
        if (!seen.insert(name).second) return usage_error{name + " given twice"};

        if (name == "--host") {
            if (value->empty()) return usage_error{"--host must not be empty"};
            options.host = *value;
        } else if (name == "--port") {
            if (!parse_port(*value)) return usage_error{"--port needs a number from 1 to 65535"};
            options.port = *value;
        } else if (name == "--timeout") {
            const auto timeout = parse_timeout(*value);
            if (!timeout) return usage_error{"--timeout needs a number of seconds above 0"};
            options.timeout = *timeout;
        } else if (name == "--json") {
            options.json_source = *value;
        } else if (name == "--title") {
            options.title = *value;
        } else if (name == "--info") {
            options.info = *value;
        } else if (name == "--link") {
            options.link = *value;
        } else {
            options.guid = *value;
        }
    }

    const bool parts = seen.contains("--title") || seen.contains("--info") ||
                       seen.contains("--link") || seen.contains("--guid");
    if (options.json_source && parts) {
        return usage_error{
            "--json sends a document as it stands: "
            "it cannot be combined with --title, --info, --link or --guid"};
    }
    if (!options.json_source && (!seen.contains("--title") || !seen.contains("--info"))) {
        return usage_error{"--title and --info are required (or --json)"};
    }
    return options;
}

const char* usage_text() {
    return R"(usage: korvanel-send [--host H] [--port P] [--timeout S] [-v]
                     --title T --info I [--link URL] [--guid G]
       korvanel-send [--host H] [--port P] [--timeout S] [-v] --json FILE|-
       korvanel-send --help

Sends one notification to a Korvanel receiver as an HTTP/1.0 POST.

  --host H       receiver host name or address (default localhost)
  --port P       receiver TCP port (default 8086)
  --title T      alert title (UTF-8)
  --info I       alert text (UTF-8)
  --link URL     address the alert opens; sent Base64-encoded
  --guid G       identifier of the alert (default: the receiver makes one)
  --json FILE    send the JSON document in FILE as it stands ("-": stdin)
  --timeout S    give up after S seconds, fractions allowed (default 10)
  -v, --verbose  print the document sent and the reply's status line
  -h, --help     print this help

Exit codes: 0 the receiver answered 200, 1 other network or protocol error,
2 bad arguments, 3 invalid UTF-8, 4 --json input unreadable or not JSON,
5 host not resolvable, 6 connection refused, 7 timed out, 8 reply not 200.
)";
}

}  // namespace korvanel::send
