#include "core/compare/ShownText.h"

#include <cstdint>

namespace xemap {

namespace {

// Length of the well-formed UTF-8 sequence at the start of text, 0 if there is none.
std::size_t utf8Sequence(std::string_view text)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || text.size() < length)
        return 0;
    std::uint32_t code = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(i) & 0x3F);
    }
    constexpr std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

bool isUtf8(std::string_view text)
{
    while (!text.empty()) {
        const std::size_t length = utf8Sequence(text);
        if (length == 0)
            return false;
        text.remove_prefix(length);
    }
    return true;
}

void appendCodePoint(std::string& out, std::uint32_t code)
{
    constexpr char kHex[] = "0123456789abcdef";
    switch (code) {
    case '\n': out += "\\n"; return;
    case '\r': out += "\\r"; return;
    case '\t': out += "\\t"; return;
    default: break;
    }
    // C0 and C1 controls and DEL would act on a terminal instead of showing.
    if (code < 0x20 || (code >= 0x7F && code < 0xA0)) {
        out += {'\\', 'x', kHex[code >> 4], kHex[code & 0xF]};
    } else if (code < 0x80) {
        out += static_cast<char>(code);
    } else {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace

std::string shownText(std::string_view bytes)
{
    std::string shown;
    shown.reserve(bytes.size());
    if (!isUtf8(bytes)) {
        for (const char byte : bytes)
            appendCodePoint(shown, static_cast<unsigned char>(byte));
        return shown;
    }
    while (!bytes.empty()) {
        const std::size_t length = utf8Sequence(bytes);
        const auto lead = static_cast<unsigned char>(bytes.front());
        // Two-byte sequences below U+00A0 are the C1 controls.
        if (length == 1 || (length == 2 && (((lead & 0x1F) << 6) | (bytes[1] & 0x3F)) < 0xA0))
            appendCodePoint(shown, length == 1 ? lead : ((lead & 0x1F) << 6) | (bytes[1] & 0x3F));
        else
            shown += bytes.substr(0, length);
        bytes.remove_prefix(length);
    }
    return shown;
}

}  // namespace xemap
