#include "tools/command.hpp"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>

#include "tools/json_check.hpp"
#include "tools/message.hpp"
#include "tools/options.hpp"
#include "tools/post.hpp"
#include "tools/text.hpp"

namespace korvanel::send {

namespace {

constexpr const char* prefix = "korvanel-send: ";

std::optional<std::string> read_all(std::istream& stream) {
    std::ostringstream buffer;
    buffer << stream.rdbuf();
    if (stream.bad()) return std::nullopt;
    return std::move(buffer).str();
}

// Arguments are UTF-8 on every platform; the path type must be told so, or
// Windows would take the bytes as the ANSI code page.
std::filesystem::path path_from_utf8(const std::string& name) {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

struct document_or_exit {
    std::string document;
    int exit = exit_ok;
};

document_or_exit load_document(const std::string& source, std::istream& in, std::ostream& err) {
    std::optional<std::string> text;
    const std::string name = source == "-" ? std::string("standard input") : source;
    if (source == "-") {
        text = read_all(in);
    } else {
        std::ifstream file(path_from_utf8(source), std::ios::binary);
        if (file) text = read_all(file);
    }
    if (!text) {
        err << prefix << "cannot read " << name << '\n';
        return {{}, exit_input};
    }
    if (const auto bad = find_invalid_utf8(*text)) {
        err << prefix << name << " is not valid UTF-8 (byte " << *bad << ")\n";
        return {{}, exit_bad_utf8};
    }
    if (!receiver_accepts(*text)) {
        err << prefix << name << " does not hold a JSON document\n";
        return {{}, exit_input};
    }
    return {std::move(*text), exit_ok};
}

document_or_exit make_document(const send_options& options, std::ostream& err) {
    const std::pair<const char*, const std::string*> texts[] = {
        {"--title", &options.title},
        {"--info", &options.info},
        {"--link", options.link ? &*options.link : nullptr},
        {"--guid", options.guid ? &*options.guid : nullptr},
    };
    for (const auto& [name, text] : texts) {
        if (!text) continue;
        if (const auto bad = find_invalid_utf8(*text)) {
            err << prefix << "the value of " << name << " is not valid UTF-8 (byte " << *bad
                << ")\n";
            return {{}, exit_bad_utf8};
        }
    }
    return {build_document(options), exit_ok};
}

int report(const post_result& result, bool verbose, std::ostream& out, std::ostream& err) {
    switch (result.outcome) {
    case post_outcome::replied:
        break;
    case post_outcome::unresolved:
        err << prefix << result.detail << '\n';
        return exit_unresolved;
    case post_outcome::refused:
        err << prefix << result.detail << '\n';
        return exit_refused;
    case post_outcome::timed_out:
        err << prefix << result.detail << '\n';
        return exit_timed_out;
    case post_outcome::failed:
        err << prefix << result.detail << '\n';
        return exit_failure;
    }
    const auto status = parse_status_line(result.reply);
    if (!status) {
        const std::string start = result.reply.substr(0, result.reply.find_first_of("\r\n"));
        err << prefix << "not an HTTP reply: " << start.substr(0, 80) << '\n';
        return exit_failure;
    }
    if (status->code != 200) {
        err << prefix << "the receiver answered " << status->text << '\n';
        return exit_http_status;
    }
    if (verbose) out << status->text << '\n';
    return exit_ok;
}

}  // namespace

int run_send(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
             std::ostream& err) {
    const parsed_args parsed = parse_args(args);
    if (std::holds_alternative<help_request>(parsed)) {
        out << usage_text();
        return exit_ok;
    }
    if (const auto* error = std::get_if<usage_error>(&parsed)) {
        err << prefix << error->message << "\n\n" << usage_text();
        return exit_usage;
    }
    const auto& options = std::get<send_options>(parsed);

    const document_or_exit doc = options.json_source ? load_document(*options.json_source, in, err)
                                                     : make_document(options, err);
    if (doc.exit != exit_ok) return doc.exit;
    if (options.verbose) out << doc.document << '\n';

    const post_result result =
        post_once(options.host, options.port,
                  build_request(options.host, options.port, doc.document), options.timeout);
    return report(result, options.verbose, out, err);
}

}  // namespace korvanel::send
