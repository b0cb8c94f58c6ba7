#include "service/message_decoder.hpp"

#include <optional>

#include <json/json.h>

#include "service/base64.hpp"

namespace korvanel {

namespace {

std::string UpToZero(const std::string& s) { return s.substr(0, s.find('\0')); }

// A member as text: a string gives its characters, null or absence the empty
// text, a boolean "true" or "false". Anything else has no text (nullopt).
// A root that is not an object has no members.
std::optional<std::string> MemberText(const Json::Value& root, const char* name) {
    if (!root.isObject()) return std::string();
    const Json::Value* member = root.find(name, name + std::char_traits<char>::length(name));
    if (member == nullptr || member->isNull()) return std::string();
    if (member->isString()) return member->asString();
    if (member->isBool()) return std::string(member->asBool() ? "true" : "false");
    return std::nullopt;
}

}  // namespace

DecodedMessage DecodeMessage(const std::string& body) {
    DecodedMessage out;
    out.document = UpToZero(body);

    Json::Reader reader;
    Json::Value root;
    bool parsed = false;
    try {
        parsed = reader.parse(out.document, root, true);
    } catch (const std::exception&) {
        parsed = false;  // nesting past the reader's limit
    }
    if (!parsed) {
        out.kind = DecodedMessage::Kind::NotJson;
        return out;
    }

    struct Field {
        const char* name;
        std::string* target;
    };
    const auto read = [&](const Field& f) {
        auto text = MemberText(root, f.name);
        if (!text) {
            out.kind = DecodedMessage::Kind::BadMember;
            out.badMember = f.name;
            return false;
        }
        *f.target = std::move(*text);
        return true;
    };

    if (!read({"MsgType", &out.msgType})) return out;
    if (out.msgType != "Notification") {
        out.kind = DecodedMessage::Kind::Ignored;
        return out;
    }
    std::string link64;
    for (const Field& f : {Field{"Title", &out.title}, Field{"Info", &out.info},
                           Field{"Link", &link64}, Field{"FunctionGuid", &out.functionGuid}}) {
        if (!read(f)) return out;
    }
    out.title = UpToZero(out.title);
    out.info = UpToZero(out.info);
    link64 = UpToZero(link64);
    out.link = UpToZero(Base64Decode(link64.data(), link64.size()));
    out.kind = DecodedMessage::Kind::Notification;
    return out;
}

}  // namespace korvanel
