#include "tools/options.hpp"

#include <gtest/gtest.h>

namespace korvanel::send {
namespace {

using namespace std::chrono_literals;
using args = std::vector<std::string>;

send_options parse_ok(const args& a) {
    const parsed_args parsed = parse_args(a);
    if (const auto* error = std::get_if<usage_error>(&parsed)) {
        ADD_FAILURE() << "refused: " << error->message;
        return {};
    }
    const auto* options = std::get_if<send_options>(&parsed);
    if (!options) {
        ADD_FAILURE() << "no options";
        return {};
    }
    return *options;
}

TEST(ParseArgs, DefaultsWhenOnlyTheRequiredPartsAreGiven) {
    const send_options o = parse_ok({"--title", "T", "--info", "I"});
    EXPECT_EQ(o.host, "localhost");
    EXPECT_EQ(o.port, "8086");
    EXPECT_EQ(o.timeout, 10s);
    EXPECT_FALSE(o.verbose);
    EXPECT_EQ(o.title, "T");
    EXPECT_EQ(o.info, "I");
    EXPECT_FALSE(o.link);
    EXPECT_FALSE(o.guid);
    EXPECT_FALSE(o.json_source);
}

TEST(ParseArgs, EveryOptionInBothSpellings) {
    for (const args& a : {
             args{"--host", "10.0.0.7", "--port", "9000", "--title", "T", "--info", "I", "--link",
                  "http://x/", "--guid", "G", "--timeout", "2.5", "--verbose"},
             args{"--host=10.0.0.7", "--port=9000", "--title=T", "--info=I", "--link=http://x/",
                  "--guid=G", "--timeout=2.5", "-v"},
         }) {
        const send_options o = parse_ok(a);
        EXPECT_EQ(o.host, "10.0.0.7");
        EXPECT_EQ(o.port, "9000");
        EXPECT_EQ(o.title, "T");
        EXPECT_EQ(o.info, "I");
        EXPECT_EQ(o.link, "http://x/");
        EXPECT_EQ(o.guid, "G");
        EXPECT_EQ(o.timeout, 2500ms);
        EXPECT_TRUE(o.verbose);
    }
}

TEST(ParseArgs, ValuesAreTakenVerbatim) {
    // A value may look like an option, hold '=' or be empty.
    const send_options o = parse_ok({"--title", "--info", "--info", "-5 = x", "--guid="});
    EXPECT_EQ(o.title, "--info");
    EXPECT_EQ(o.info, "-5 = x");
    EXPECT_EQ(o.guid, "");
    EXPECT_EQ(parse_ok({"--title=a=b", "--info", ""}).title, "a=b");
}

TEST(ParseArgs, JsonSourceStandsAlone) {
    EXPECT_EQ(parse_ok({"--json", "-"}).json_source, "-");
    EXPECT_EQ(parse_ok({"--json=doc.json", "--port", "1"}).json_source, "doc.json");
}

TEST(ParseArgs, FractionalTimeoutRoundsUpToAMillisecond) {
    EXPECT_EQ(parse_ok({"--json", "-", "--timeout", "0.0001"}).timeout, 1ms);
    EXPECT_EQ(parse_ok({"--json", "-", "--timeout", "86400"}).timeout, 86400s);
}

TEST(ParseArgs, HelpStopsTheParse) {
    for (const args& a : {args{"--help"}, args{"-h"}, args{"--title", "T", "--help", "--bogus"}}) {
        EXPECT_TRUE(std::holds_alternative<help_request>(parse_args(a)));
    }
}

TEST(ParseArgs, RefusesBadArguments) {
    const std::pair<args, std::string> cases[] = {
        {{}, "--title and --info are required"},
        {{"--title", "T"}, "--title and --info are required"},
        {{"--info", "I"}, "--title and --info are required"},
        {{"--title", "T", "--info"}, "--info needs a value"},
        {{"--title", "T", "--info", "I", "--colour", "red"}, "unknown option --colour"},
        {{"--title", "T", "--info", "I", "extra"}, "unexpected argument 'extra'"},
        {{"--title", "T", "--title", "U", "--info", "I"}, "--title given twice"},
        {{"--json", "-", "--title", "T"}, "cannot be combined"},
        {{"--json", "-", "--guid", "G"}, "cannot be combined"},
        {{"--json", "-", "--verbose=yes"}, "--verbose takes no value"},
        {{"--json", "-", "--host", ""}, "--host must not be empty"},
    };
    for (const auto& [a, message] : cases) {
        const parsed_args parsed = parse_args(a);
        const auto* error = std::get_if<usage_error>(&parsed);
        ASSERT_NE(error, nullptr) << message;
        EXPECT_NE(error->message.find(message), std::string::npos) << error->message;
    }
}

TEST(ParseArgs, RefusesPortsAndTimeoutsOutOfRange) {
    for (const char* port : {"0", "65536", "99999", "-1", "80a", "", " 80", "+80", "123456"}) {
        const parsed_args parsed = parse_args({"--json", "-", "--port", port});
        EXPECT_TRUE(std::holds_alternative<usage_error>(parsed)) << "port '" << port << "'";
    }
    for (const char* port : {"1", "65535", "08086"}) {
        EXPECT_TRUE(
            std::holds_alternative<send_options>(parse_args({"--json", "-", "--port", port})))
            << port;
    }
    for (const char* seconds :
         {"0", "0.0", "-1", "abc", "", ".", "1e3", "inf", "nan", "86401", "2s"}) {
        const parsed_args parsed = parse_args({"--json", "-", "--timeout", seconds});
        EXPECT_TRUE(std::holds_alternative<usage_error>(parsed)) << "timeout '" << seconds << "'";
    }
}

}  // namespace
}  // namespace korvanel::send
