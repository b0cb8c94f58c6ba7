// The dispatcher's body decoder: any queued body, then the Base64 decoder on
// its own with any text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/targets/fuzz_check.hpp"
#include "service/base64.hpp"
#include "service/message_decoder.hpp"

using korvanel::DecodedMessage;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string body(reinterpret_cast<const char*>(data), size);
    const DecodedMessage m = korvanel::DecodeMessage(body);
    FUZZ_CHECK(m.document == body.substr(0, body.find('\0')));
    if (m.kind == DecodedMessage::Kind::Notification) {
        FUZZ_CHECK(m.msgType == "Notification");
        for (const std::string* text : {&m.title, &m.info, &m.link})
            FUZZ_CHECK(text->find('\0') == std::string::npos);
    }
    if (m.kind == DecodedMessage::Kind::BadMember) FUZZ_CHECK(!m.badMember.empty());

    // Every 4 input characters give at most 3 bytes; a short tail is padded.
    std::size_t produced = 0;
    const std::string decoded = korvanel::Base64Decode(body.data(), body.size(), &produced);
    FUZZ_CHECK(produced <= (size + 3) / 4 * 3);
    FUZZ_CHECK(decoded.size() <= (size + 3) / 4 * 3);
    return 0;
}
