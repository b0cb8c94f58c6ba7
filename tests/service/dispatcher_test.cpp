#include <regex>
#include <string>

#include <gtest/gtest.h>

#include "service/http_server_object.hpp"
#include "tools/text.hpp"
#include "service_fixture.hpp"

namespace korvanel {
namespace {

using namespace std::string_literals;
using namespace std::chrono_literals;
using testing::AlertWindow;
using testing::Post;
using testing::TempLog;

const std::string kOk = "HTTP/1.0 200 OK\r\nContent-Length: 3\r\nContent-Type: text/html\r\n\r\n\"Y\"";

ServiceOptions TestOptions() {
    ServiceOptions options;
    options.port = "0";
    return options;
}

// A running service on a free port, its main window and its own log.
struct DispatcherTest : ::testing::Test {
    TempLog log;
    AlertWindow window;
    CHttpServerObject service{window.Handle(), TestOptions()};

    void Send(const std::string& body, const std::string& method = "POST") {
        ASSERT_EQ(Post(service.ListeningPort(), body, method), kOk) << body;
    }
};

bool IsGeneratedGuid(const std::string& s) {
    static const std::regex form("[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}");
    return std::regex_match(s, form);
}

TEST_F(DispatcherTest, RecordsCarryTheConvertedTexts) {
    struct row {
        const char* name;
        std::string body;
        std::wstring title, info, link;
        int hasTitle, hasLink;
        std::string guid;  // "" means generated
    };
    const std::string cjkUrl = "https://example.com/\xe9\x80\x9a\xe7\x9f\xa5?id=7";
    const row rows[] = {
        {"everything",
         R"({"MsgType":"Notification","Title":"\u6d4b\u8bd5 title","Info":"Line 1\nLine 2","Link":")" +
             send::base64_encode(cjkUrl) + R"(","FunctionGuid":"caller-guid-\u00e9"})",
         L"\u6d4b\u8bd5 title", L"Line 1\nLine 2", L"https://example.com/\u901a\u77e5?id=7", 1, 1,
         "caller-guid-\xc3\xa9"},
        {"only_the_type", R"({"MsgType":"Notification"})", L"", L"", L"", 0, 0, ""},
        {"one_blank_title", R"({"MsgType":"Notification","Title":" "})", L" ", L"", L"", 1, 0, ""},
        {"unpadded_link", R"({"MsgType":"Notification","Link":"aHR0cDovL2E"})", L"", L"", L"http://a",
         0, 1, ""},
        {"comments_and_trailing_text",
         "/* c */ {\"MsgType\":\"Notification\", // note\n\"Info\":\"i\"} and more",
         L"", L"i", L"", 0, 0, ""},
    };
    for (const auto& r : rows) Send(r.body);
    ASSERT_TRUE(window.WaitForAlerts(std::size(rows)));
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const auto& r = rows[i];
        SCOPED_TRACE(r.name);
        const AlertRecord& a = window.Alerts()[i].record;
        EXPECT_EQ(a.Title, r.title);
        EXPECT_EQ(a.Info, r.info);
        EXPECT_EQ(a.Link, r.link);
        EXPECT_EQ(a.HasTitle, r.hasTitle);
        EXPECT_EQ(a.HasLink, r.hasLink);
        if (r.guid.empty()) {
            EXPECT_TRUE(IsGeneratedGuid(a.FunctionGuid)) << a.FunctionGuid;
        } else {
            EXPECT_EQ(a.FunctionGuid, r.guid);
        }
        EXPECT_TRUE(a.Spare1.empty() && a.Spare2.empty() && a.Spare3.empty());
        // Handled on the window's own thread while the dispatcher waited.
        EXPECT_EQ(window.Alerts()[i].threadId, GetCurrentThreadId());
    }
}

TEST_F(DispatcherTest, PlainLinkArrivesGarbledAsAlways) {
    Send(R"({"MsgType":"Notification","Link":"http://a"})");
    ASSERT_TRUE(window.WaitForAlerts(1));
    EXPECT_NE(window.Alerts()[0].record.Link, L"http://a");
    EXPECT_EQ(window.Alerts()[0].record.HasLink, 1);
}

TEST_F(DispatcherTest, EqualMessagesGetDifferentIdentifiers) {
    Send(R"({"MsgType":"Notification","FunctionGuid":""})");
    Send(R"({"MsgType":"Notification","FunctionGuid":""})");
    ASSERT_TRUE(window.WaitForAlerts(2));
    EXPECT_NE(window.Alerts()[0].record.FunctionGuid, window.Alerts()[1].record.FunctionGuid);
}

TEST_F(DispatcherTest, OtherDocumentsAreLoggedButRaiseNothing) {
    const std::string wrongCase = R"({"MsgType":"notification","Title":"no"})";
    const std::string arrayRoot = R"(["MsgType","Notification"])";
    Send(wrongCase);
    Send(arrayRoot);
    Send("   ", "PUT");  // queued unchecked, then refused by the reader
    Send(R"({"MsgType":"Notification","Title":"last"})");
    ASSERT_TRUE(window.WaitForAlerts(1));
    window.Pump(100ms);
    ASSERT_EQ(window.Alerts().size(), 1u);
    EXPECT_EQ(window.Alerts()[0].record.Title, L"last");

    const auto lines = log.Lines();
    const std::vector<std::string> expected = {
        "CHttpServerObject",
        "Http Msg is " + wrongCase,
        "Http Msg is " + arrayRoot,
        "Json::Reader parse fail",
        R"(Http Msg is {"MsgType":"Notification","Title":"last"})",
    };
    EXPECT_EQ(lines, expected);
}

TEST_F(DispatcherTest, HttpMsgLineReachesTheDebuggerAndTheLogVerbatim) {
    testing::DebugOutputListener debugger;
    const std::string body = R"({"MsgType":"Info","Text":"100% %d %s caf)" "\xc3\xa9" R"("})";
    Send(body);
    Send(R"({"MsgType":"Notification"})");
    ASSERT_TRUE(window.WaitForAlerts(1));
    // In the ANSI code page (1252 here) for the debugger; the log writes one
    // byte per character as the OEM code page read it.
    const std::string ansi = R"(Http Msg is {"MsgType":"Info","Text":"100% %d %s caf)" "\xe9" R"("})";
    const auto texts = debugger.Texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), ansi), texts.end());
    EXPECT_GE(log.Find(R"(Http Msg is {"MsgType":"Info","Text":"100% %d %s caf)"), 0);
}

// Mend: a member that is a number, array or object used to throw out of the
// dispatcher and end it.
TEST_F(DispatcherTest, NonTextMemberIsDroppedWithALogLine) {
    Send(R"({"MsgType":"Notification","Title":42})");
    Send(R"({"MsgType":["x"]})");
    Send(R"({"MsgType":"Notification","Title":"after"})");
    ASSERT_TRUE(window.WaitForAlerts(1));
    window.Pump(100ms);
    ASSERT_EQ(window.Alerts().size(), 1u);
    EXPECT_EQ(window.Alerts()[0].record.Title, L"after");

    const auto lines = log.Lines();
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[1], R"(Http Msg is {"MsgType":"Notification","Title":42})");
    EXPECT_NE(lines[2].find("\"Title\""), std::string::npos) << lines[2];
    EXPECT_EQ(lines[3], R"(Http Msg is {"MsgType":["x"]})");
    EXPECT_NE(lines[4].find("\"MsgType\""), std::string::npos) << lines[4];
}

TEST_F(DispatcherTest, OneAlertPerPassInQueueOrder) {
    // Queued together, behind the receiver's back, so only the pacing of the
    // dispatcher separates them.
    for (const char* t : {"one", "two", "three"}) {
        ASSERT_TRUE(service.Receiver()->push_message(
            R"({"MsgType":"Notification","Title":")" + std::string(t) + "\"}\0"s));
    }
    ASSERT_TRUE(window.WaitForAlerts(3));
    const auto& a = window.Alerts();
    EXPECT_EQ(a[0].record.Title, L"one");
    EXPECT_EQ(a[1].record.Title, L"two");
    EXPECT_EQ(a[2].record.Title, L"three");
    EXPECT_GE(a[2].at - a[0].at, 40ms);
}

}  // namespace
}  // namespace korvanel
