#include "service/base64.hpp"

#include <cstdint>

namespace korvanel {

namespace {

std::uint32_t Sextet(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return 0;
}

}  // namespace

std::string Base64Decode(const char* text, std::size_t length, std::size_t* decodedLength) {
    std::string out;
    out.reserve(length / 4 * 3 + 3);
    // A character past the end reads as sextet 0; it is never '='.
    auto at = [&](std::size_t p) -> unsigned char {
        return p < length ? static_cast<unsigned char>(text[p]) : 0;
    };
    std::size_t p = 0;
    std::size_t i = 0;
    while (i < length) {
        if (at(p) == '\r' || at(p) == '\n') {
            ++p;
            ++i;
            continue;
        }
        std::uint32_t v = (Sextet(at(p)) << 18) + (Sextet(at(p + 1)) << 12);
        out.push_back(static_cast<char>((v >> 16) & 0xFF));
        p += 2;
        if (at(p) != '=') {
            v += Sextet(at(p)) << 6;
            out.push_back(static_cast<char>((v >> 8) & 0xFF));
            ++p;
            if (at(p) != '=') {
                v += Sextet(at(p));
                out.push_back(static_cast<char>(v & 0xFF));
                ++p;
            }
        }
        i += 4;
    }
    if (decodedLength) *decodedLength = out.size();
    return out;
}

}  // namespace korvanel
