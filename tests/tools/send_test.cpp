#include <gtest/gtest.h>
#include <json/reader.h>
#include <json/value.h>

#include <boost/asio/ip/tcp.hpp>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "scripted_server.hpp"
#include "service/message_decoder.hpp"
#include "tests/http/loopback_client.hpp"
#include "tools/command.hpp"

namespace korvanel::send {
namespace {

using http::testing::running_server;
using testing::scripted_server;
using args = std::vector<std::string>;

struct run_result {
    int code = -1;
    std::string out;
    std::string err;
};

run_result run(const args& a, const std::string& input = {}) {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int code = run_send(a, in, out, err);
    return {code, out.str(), err.str()};
}

args at(unsigned short port, args a) {
    a.insert(a.begin(), {"--host", "127.0.0.1", "--port", std::to_string(port)});
    return a;
}

Json::Value parse_json(const std::string& document) {
    Json::Value root;
    Json::Reader reader;
    EXPECT_TRUE(reader.parse(document, root, false)) << document;
    return root;
}

// A port that refuses: bound once, then released.
unsigned short closed_port() {
    boost::asio::io_context io;
    boost::asio::ip::tcp::acceptor acceptor(io, {boost::asio::ip::make_address_v4("127.0.0.1"), 0});
    return acceptor.local_endpoint().port();
}

// The tool against the real receiver; each body it queued, without the zero
// byte the receiver appends to a POST body.
class SendToReceiver : public ::testing::Test {
protected:
    run_result send(const args& a, const std::string& input = {}) {
        return run(at(receiver_.port(), a), input);
    }

    std::string queued_document() {
        std::string body = receiver_.server().pop_message();
        EXPECT_FALSE(body.empty()) << "nothing queued";
        if (body.empty()) return body;
        EXPECT_EQ(body.back(), '\0');
        body.pop_back();
        return body;
    }

    bool queue_empty() { return receiver_.server().pop_message().empty(); }
    std::string port() const { return std::to_string(receiver_.port()); }

private:
    running_server receiver_;
};

TEST_F(SendToReceiver, TextArrivesByteExact) {
    const std::string title =
        "He said \"hi\" \\ C:\\temp\\ \x01\x1F\t\n\r\b\f \xE9\x80\x9A\xE7\x9F\xA5 \xF0\x9F\x94\x94";
    const std::string info =
        "\xE6\x9C\x8D\xE5\x8A\xA1\xE5\x99\xA8\xE5\xB0\x86\xE9\x87\x8D\xE5\x90"
        "\xAF / </script> \x7F";  // 服务器将重启
    const run_result r = send({"--title", title, "--info", info});
    ASSERT_EQ(r.code, exit_ok) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");

    const std::string document = queued_document();
    const Json::Value root = parse_json(document);
    EXPECT_EQ(root["MsgType"].asString(), "Notification");
    EXPECT_EQ(root["Title"].asString(), title);
    EXPECT_EQ(root["Info"].asString(), info);
    // What the dispatcher makes of it.
    const DecodedMessage decoded = DecodeMessage(document);
    EXPECT_EQ(decoded.kind, DecodedMessage::Kind::Notification);
    EXPECT_EQ(decoded.title, title);
    EXPECT_EQ(decoded.info, info);
}

TEST_F(SendToReceiver, LinkRoundTripsThroughBase64) {
    for (
        const std::string link : {
            "http://intranet/tickets?id=42&lang=zh#top",
            "https://\xE4\xBE\x8B\xE3\x81\x88.jp/\xE9\x80\x9A\xE7\x9F\xA5?q=a+b%20c",  // 例え.jp/通知
            "a",
            "ab",
            "abc",  // every padding length
            "",
        }) {
        const run_result r = send({"--title", "T", "--info", "I", "--link", link});
        ASSERT_EQ(r.code, exit_ok) << r.err;
        const std::string document = queued_document();
        EXPECT_TRUE(parse_json(document).isMember("Link"));
        EXPECT_EQ(DecodeMessage(document).link, link);
    }
}

TEST_F(SendToReceiver, GuidIsCarriedAndAbsentPartsAreLeftOut) {
    ASSERT_EQ(send({"--title", "T", "--info", "I", "--guid", "ticket-42 \xE9\x80\x9A"}).code,
              exit_ok);
    EXPECT_EQ(DecodeMessage(queued_document()).functionGuid, "ticket-42 \xE9\x80\x9A");

    ASSERT_EQ(send({"--title", "", "--info", ""}).code, exit_ok);
    EXPECT_EQ(queued_document(), R"({"MsgType":"Notification","Title":"","Info":""})");
}

TEST_F(SendToReceiver, VerbosePrintsTheDocumentAndTheStatusLine) {
    const run_result r = send({"-v", "--title", "T", "--info", "\xE9\x80\x9A", "--link", "x"});
    ASSERT_EQ(r.code, exit_ok) << r.err;
    EXPECT_EQ(r.out, queued_document() + "\nHTTP/1.0 200 OK\n");
}

TEST_F(SendToReceiver, AHostNameIsResolved) {
    // The receiver listens on IPv4 only: should "localhost" give ::1 first,
    // the tool has to go on to the next address.
    const run_result r =
        run({"--host", "localhost", "--port", port(), "--title", "T", "--info", "I"});
    ASSERT_EQ(r.code, exit_ok) << r.err;
    EXPECT_EQ(parse_json(queued_document())["Title"].asString(), "T");
}

TEST_F(SendToReceiver, JsonDocumentIsSentAsItStands) {
    // Comments, CRLF, unusual spacing and members the tool never writes.
    const std::string document =
        "// from a back-end job\r\n{ \"MsgType\" : \"Notification\",\r\n"
        "  /* block */ \"Title\":\"\xE9\x80\x9A\xE7\x9F\xA5\", \"Extra\": [1, 2.5, null] }\n";
    namespace fs = std::filesystem;
    const fs::path file =
        fs::temp_directory_path() / fs::path(u8"korvanel-send-\u901A\u77E5.json");  // 通知
    { std::ofstream(file, std::ios::binary) << document; }
    const std::u8string name = file.u8string();
    const run_result from_file = send({"--json", std::string(name.begin(), name.end())});
    fs::remove(file);
    ASSERT_EQ(from_file.code, exit_ok) << from_file.err;
    EXPECT_EQ(queued_document(), document);

    const run_result from_stdin = send({"--json", "-"}, document);
    ASSERT_EQ(from_stdin.code, exit_ok) << from_stdin.err;
    EXPECT_EQ(queued_document(), document);
}

TEST_F(SendToReceiver, InvalidUtf8IsRefusedBeforeSending) {
    const std::string bad = "ok \xC3\x28";  // C3 wants a continuation byte
    const std::pair<std::string, args> cases[] = {
        {"--title", {"--title", bad, "--info", "I"}},
        {"--info", {"--title", "T", "--info", bad}},
        {"--link", {"--title", "T", "--info", "I", "--link", bad}},
        {"--guid", {"--title", "T", "--info", "I", "--guid", bad}},
    };
    for (const auto& [option, a] : cases) {
        const run_result r = send(a);
        EXPECT_EQ(r.code, exit_bad_utf8) << option;
        EXPECT_NE(
            r.err.find(std::string("the value of ") + option + " is not valid UTF-8 (byte 3)"),
            std::string::npos)
            << r.err;
    }
    const run_result document = send({"--json", "-"}, "{\"Title\":\"\xC4\xE3\"}");
    EXPECT_EQ(document.code, exit_bad_utf8);
    EXPECT_NE(document.err.find("standard input is not valid UTF-8 (byte 10)"), std::string::npos)
        << document.err;
    EXPECT_TRUE(queue_empty());
}

TEST_F(SendToReceiver, UnusableJsonInputIsRefused) {
    const std::pair<std::string, std::string> inputs[] = {
        {"", "does not hold a JSON document"},
        {"   \n", "does not hold a JSON document"},
        {"{\"MsgType\":\"Notification\"", "does not hold a JSON document"},
        {"MsgType=Notification", "does not hold a JSON document"},
    };
    for (const auto& [input, message] : inputs) {
        const run_result r = send({"--json", "-"}, input);
        EXPECT_EQ(r.code, exit_input) << input;
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    }
    const run_result missing = send({"--json", "no/such/file.json"});
    EXPECT_EQ(missing.code, exit_input);
    EXPECT_NE(missing.err.find("cannot read no/such/file.json"), std::string::npos) << missing.err;
    EXPECT_TRUE(queue_empty());
}

TEST(SendArguments, BadArgumentsPrintTheUsageOnStderr) {
    const run_result r = run({"--title", "T", "--info", "I", "--port", "70000"});
    EXPECT_EQ(r.code, exit_usage);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("korvanel-send: --port needs a number from 1 to 65535\n", 0), 0u)
        << r.err;
    EXPECT_NE(r.err.find("usage: korvanel-send"), std::string::npos);
}

TEST(SendArguments, HelpGoesToStdout) {
    const run_result r = run({"--help"});
    EXPECT_EQ(r.code, exit_ok);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.rfind("usage: korvanel-send", 0), 0u);
    EXPECT_NE(r.out.find("--json FILE"), std::string::npos);
}

TEST(SendErrors, UnresolvableHost) {
    // ".invalid" never resolves (RFC 6761).
    const run_result r =
        run({"--host", "no-such-host.invalid", "--title", "T", "--info", "I", "--timeout", "30"});
    EXPECT_EQ(r.code, exit_unresolved) << r.err;
    EXPECT_NE(r.err.find("cannot resolve host no-such-host.invalid"), std::string::npos) << r.err;
}

TEST(SendErrors, ConnectionRefused) {
    const unsigned short port = closed_port();
    const run_result r = run(at(port, {"--title", "T", "--info", "I"}));
    EXPECT_EQ(r.code, exit_refused) << r.err;
    EXPECT_EQ(r.err,
              "korvanel-send: connection refused by 127.0.0.1:" + std::to_string(port) + "\n");
}

TEST(SendErrors, SilentServerTimesOutAfterReceivingTheWholeRequest) {
    const scripted_server silent(std::nullopt);
    const run_result r =
        run(at(silent.port(), {"--title", "T", "--info", "I", "--timeout", "0.3"}));
    EXPECT_EQ(r.code, exit_timed_out) << r.err;
    EXPECT_EQ(r.err, "korvanel-send: no reply from 127.0.0.1:" + std::to_string(silent.port()) +
                         " within 0.3 s\n");
    EXPECT_TRUE(testing::complete_body_size(silent.received()).has_value()) << silent.received();
}

TEST(SendErrors, ConnectTimesOutWhenTheListenerIsSwamped) {
    // A listener that never accepts, its backlog filled: further SYNs are
    // dropped and a connect waits.
    namespace asio = boost::asio;
    asio::io_context io;
    asio::ip::tcp::acceptor listener(io);
    listener.open(asio::ip::tcp::v4());
    listener.bind({asio::ip::make_address_v4("127.0.0.1"), 0});
    listener.listen(0);
    const auto endpoint = listener.local_endpoint();
    std::vector<asio::ip::tcp::socket> fillers;
    for (int i = 0; i < 4; ++i) {
        fillers.emplace_back(io).async_connect(endpoint, [](const boost::system::error_code&) {});
    }
    io.poll();

    const run_result r =
        run(at(endpoint.port(), {"--title", "T", "--info", "I", "--timeout", "0.3"}));
    EXPECT_EQ(r.code, exit_timed_out) << r.err;
    EXPECT_EQ(r.err, "korvanel-send: no connection to 127.0.0.1:" +
                         std::to_string(endpoint.port()) + " within 0.3 s\n");
}

TEST(SendErrors, RepliesOtherThan200) {
    using http::ph_reply;
    struct scripted_reply {
        std::string answer;
        int code;
        std::string message;
    };
    const scripted_reply replies[] = {
        {http::testing::wire_reply(ph_reply::service_unavailable), exit_http_status,
         "the receiver answered HTTP/1.0 503 Service Unavailable\n"},
        {http::testing::wire_reply(ph_reply::bad_request), exit_http_status,
         "the receiver answered HTTP/1.0 400 Bad Request\n"},
        {"HTTP/1.1 201 Created\r\n\r\n", exit_http_status,
         "the receiver answered HTTP/1.1 201 Created\n"},
        {"SSH-2.0-OpenSSH_9.2\r\n", exit_failure, "not an HTTP reply: SSH-2.0-OpenSSH_9.2\n"},
        {"", exit_failure, "closed the connection without a reply\n"},
        // No Content-Length: the close ends the reply.
        {"HTTP/1.0 200 OK\r\n\r\nfine", exit_ok, ""},
    };
    for (const auto& reply : replies) {
        const scripted_server server(reply.answer);
        const run_result r = run(at(server.port(), {"--title", "T", "--info", "I"}));
        EXPECT_EQ(r.code, reply.code) << reply.answer;
        EXPECT_TRUE(r.err.ends_with(reply.message)) << r.err;
    }
}

TEST(SendRequest, IsOneHttp10PostWithAnExactContentLength) {
    const scripted_server server(http::testing::wire_reply(http::ph_reply::ok));
    const std::string title = "\xE9\x80\x9A\xE7\x9F\xA5 \"q\"";
    const run_result r = run(at(server.port(), {"-v", "--title", title, "--info", "I"}));
    ASSERT_EQ(r.code, exit_ok) << r.err;

    const std::string request = server.received();
    EXPECT_EQ(request.rfind("POST / HTTP/1.0\r\n", 0), 0u) << request;
    const auto head_end = request.find("\r\n\r\n");
    ASSERT_NE(head_end, std::string::npos);
    const std::string body = request.substr(head_end + 4);
    EXPECT_NE(request.find("\r\nContent-Length: " + std::to_string(body.size()) + "\r\n"),
              std::string::npos)
        << request;
    EXPECT_EQ(r.out, body + "\nHTTP/1.0 200 OK\n");
    EXPECT_EQ(parse_json(body)["Title"].asString(), title);
}

}  // namespace
}  // namespace korvanel::send
