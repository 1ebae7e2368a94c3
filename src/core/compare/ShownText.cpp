#include "core/compare/ShownText.h"

#include <cstdint>

namespace xemap {

namespace {

struct Character {
    std::uint32_t code = 0;
    std::size_t length = 0;  // 0: no well-formed UTF-8 sequence starts here
};

Character utf8CharacterAt(std::string_view text)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return {lead, 1};
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || text.size() < length)
        return {};
    std::uint32_t code = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return {};
        code = (code << 6) | (byte(i) & 0x3F);
    }
    constexpr std::uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return {};
    return {code, length};
}

bool isUtf8(std::string_view text)
{
    for (std::size_t length; !text.empty(); text.remove_prefix(length))
        if ((length = utf8CharacterAt(text).length) == 0)
            return false;
    return true;
}

// The character as UTF-8; C0 and C1 controls and DEL, which would act on a terminal
// instead of showing, as escapes.
void appendShown(std::string& out, std::uint32_t code)
{
    constexpr char kHex[] = "0123456789abcdef";
    if (code == '\n') {
        out += "\\n";
    } else if (code == '\r') {
        out += "\\r";
    } else if (code == '\t') {
        out += "\\t";
    } else if (code < 0x20 || (code >= 0x7F && code < 0xA0)) {
        out += {'\\', 'x', kHex[code >> 4], kHex[code & 0xF]};
    } else if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += {static_cast<char>(0xC0 | (code >> 6)), static_cast<char>(0x80 | (code & 0x3F))};
    } else if (code < 0x10000) {
        out += {static_cast<char>(0xE0 | (code >> 12)), static_cast<char>(0x80 | ((code >> 6) & 0x3F)),
                static_cast<char>(0x80 | (code & 0x3F))};
    } else {
        out += {static_cast<char>(0xF0 | (code >> 18)), static_cast<char>(0x80 | ((code >> 12) & 0x3F)),
                static_cast<char>(0x80 | ((code >> 6) & 0x3F)), static_cast<char>(0x80 | (code & 0x3F))};
    }
}

}  // namespace

std::string shownText(std::string_view bytes)
{
    std::string shown;
    shown.reserve(bytes.size());
    // The whole field is UTF-8 or the whole field is Latin-1, as the windows take it.
    const bool utf8 = isUtf8(bytes);
    while (!bytes.empty()) {
        const Character character =
            utf8 ? utf8CharacterAt(bytes) : Character{static_cast<unsigned char>(bytes.front()), 1};
        appendShown(shown, character.code);
        bytes.remove_prefix(character.length);
    }
    return shown;
}

}  // namespace xemap
