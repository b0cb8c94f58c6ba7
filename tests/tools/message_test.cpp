#include "tools/message.hpp"

#include <gtest/gtest.h>
#include <json/reader.h>
#include <json/value.h>

namespace korvanel::send {
namespace {

Json::Value parse(const std::string& document) {
    Json::Value root;
    Json::Reader reader;
    EXPECT_TRUE(reader.parse(document, root, false)) << document;
    return root;
}

TEST(BuildDocument, HoldsTheGivenPartsOnly) {
    send_options o;
    o.title = "T";
    o.info = "I";
    EXPECT_EQ(build_document(o), R"({"MsgType":"Notification","Title":"T","Info":"I"})");

    o.link = "http://h/";
    o.guid = "6F9619FF-8B86-D011-B42D-00C04FC964FF";
    const Json::Value root = parse(build_document(o));
    EXPECT_EQ(root.getMemberNames(),
              (std::vector<std::string>{"FunctionGuid", "Info", "Link", "MsgType", "Title"}));
    EXPECT_EQ(root["Link"].asString(), "aHR0cDovL2gv");
    EXPECT_EQ(root["FunctionGuid"].asString(), o.guid);
}

TEST(BuildDocument, EmptyPartsStayPresentAndEmpty) {
    send_options o;
    o.link = "";
    o.guid = "";
    const Json::Value root = parse(build_document(o));
    for (const char* name : {"Title", "Info", "Link", "FunctionGuid"}) {
        ASSERT_TRUE(root.isMember(name)) << name;
        EXPECT_EQ(root[name].asString(), "") << name;
    }
}

TEST(BuildRequest, OnePostWithTheExactBodyLength) {
    const std::string body = "{\"Title\":\"\xE9\x80\x9A\xE7\x9F\xA5\"}";  // 通知: 6 bytes, 2 chars
    const std::string request = build_request("desk-17", "8086", body);
    EXPECT_EQ(request,
              "POST / HTTP/1.0\r\n"
              "Host: desk-17:8086\r\n"
              "User-Agent: korvanel-send\r\n"
              "Content-Type: application/json; charset=utf-8\r\n"
              "Content-Length: 18\r\n"
              "\r\n" +
                  body);
    EXPECT_EQ(body.size(), 18u);
}

TEST(BuildRequest, BracketsAnIpv6Literal) {
    const std::string request = build_request("::1", "8086", "{}");
    EXPECT_NE(request.find("\r\nHost: [::1]:8086\r\n"), std::string::npos) << request;
}

}  // namespace
}  // namespace korvanel::send
