#pragma once

#include <string>

namespace korvanel {

// A queued body, decoded as far as the dispatcher needs it. Texts stay UTF-8
// bytes here; turning them into UTF-16 is the Windows side's business.
struct DecodedMessage {
    enum class Kind {
        NotJson,        // the reader refused the body
        BadMember,      // a member holds a number, array or object
        Ignored,        // parsed, but "MsgType" is not exactly "Notification"
        Notification,   // raises an alert
    };
    Kind kind = Kind::NotJson;
    std::string document;      // the body up to its first zero byte
    std::string msgType;
    std::string title;         // up to its first zero byte
    std::string info;          // up to its first zero byte
    std::string link;          // Base64-decoded, up to the first zero byte
    std::string functionGuid;  // as received, every byte
    std::string badMember;     // the member's name, for BadMember
};

// Parses `body` with JsonCpp's default (lenient) reader, comments collected,
// and reads the members in the order the dispatcher always has: "MsgType",
// then "Title", "Info", "Link", "FunctionGuid".
DecodedMessage DecodeMessage(const std::string& body);

}  // namespace korvanel
