#include "service/message_decoder.hpp"

#include <string>

#include <gtest/gtest.h>

namespace korvanel {
namespace {

using namespace std::string_literals;
using Kind = DecodedMessage::Kind;

TEST(DecodeMessage, Table) {
    struct row {
        const char* name;
        std::string body;
        Kind kind;
        std::string title = {};
        std::string info = {};
        std::string link = {};
        std::string guid = {};
        std::string badMember = {};
    };
    const row rows[] = {
        {"full_notification",
         R"({"MsgType":"Notification","Title":"T","Info":"I","Link":"aHR0cDovL2EvYg==","FunctionGuid":"g-1"})"
         "\0"s,
         Kind::Notification, "T", "I", "http://a/b", "g-1"},
        {"only_msgtype", R"({"MsgType":"Notification"})", Kind::Notification},
        {"null_members_are_empty",
         R"({"MsgType":"Notification","Title":null,"Info":null,"Link":null,"FunctionGuid":null})",
         Kind::Notification},
        {"booleans_become_words", R"({"MsgType":"Notification","Title":true,"Info":false})",
         Kind::Notification, "true", "false"},
        {"utf8_kept_as_bytes", "{\"MsgType\":\"Notification\",\"Title\":\"\xe4\xbd\xa0\"}",
         Kind::Notification, "\xe4\xbd\xa0"},
        {"escaped_zero_cuts_texts_but_not_the_guid",
         R"({"MsgType":"Notification","Title":"a\u0000b","FunctionGuid":"x\u0000y"})",
         Kind::Notification, "a", "", "", "x\0y"s},
        {"unpadded_link", R"({"MsgType":"Notification","Link":"aHR0cDovL2E"})", Kind::Notification,
         "", "", "http://a"},
        {"plain_link_is_garbled_not_refused", R"({"MsgType":"Notification","Link":"http://a"})",
         Kind::Notification, "", "", "\x86\xdb\x69\x03\xff\xda"},
        {"comments_are_allowed",
         "// line\n{/* block */\"MsgType\":\"Notification\",\"Title\":\"c\"} // after",
         Kind::Notification, "c"},
        {"text_after_the_value_is_ignored", R"({"MsgType":"Notification","Info":"i"} trailing)",
         Kind::Notification, "", "i"},
        {"zero_byte_ends_the_document", "{\"MsgType\":\"Notification\"}\0garbage"s,
         Kind::Notification},
        {"wrong_case_type", R"({"MsgType":"notification","Title":"T"})", Kind::Ignored},
        {"absent_type", R"({"Title":"T"})", Kind::Ignored},
        {"array_root_has_no_members", R"(["MsgType","Notification"])", Kind::Ignored},
        {"string_root", R"("Notification")", Kind::Ignored},
        {"blanks_only", "   ", Kind::NotJson},
        {"not_json", "MsgType=Notification", Kind::NotJson},
        {"too_deep_for_the_reader", std::string(5000, '['), Kind::NotJson},
        {"number_type", R"({"MsgType":1})", Kind::BadMember, "", "", "", "", "MsgType"},
        {"number_title", R"({"MsgType":"Notification","Title":42})", Kind::BadMember, "", "", "", "",
         "Title"},
        {"object_link", R"({"MsgType":"Notification","Link":{}})", Kind::BadMember, "", "", "", "",
         "Link"},
        {"array_guid", R"({"MsgType":"Notification","FunctionGuid":[]})", Kind::BadMember, "", "",
         "", "", "FunctionGuid"},
        // Members of a message that is not a notification are never read.
        {"bad_member_of_ignored_message", R"({"MsgType":"Other","Title":42})", Kind::Ignored},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const DecodedMessage m = DecodeMessage(r.body);
        EXPECT_EQ(m.kind, r.kind);
        if (r.kind == Kind::Notification) {
            EXPECT_EQ(m.title, r.title);
            EXPECT_EQ(m.info, r.info);
            EXPECT_EQ(m.link, r.link);
            EXPECT_EQ(m.functionGuid, r.guid);
        }
        EXPECT_EQ(m.badMember, r.badMember);
    }
}

TEST(DecodeMessage, DocumentIsTheBodyUpToItsZeroByte) {
    EXPECT_EQ(DecodeMessage("{\"a\":1}\0tail\0"s).document, "{\"a\":1}");
    EXPECT_EQ(DecodeMessage("{}").document, "{}");
}

}  // namespace
}  // namespace korvanel
