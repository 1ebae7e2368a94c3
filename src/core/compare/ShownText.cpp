#include "core/compare/ShownText.h"

#include "core/text/TextForm.h"

#include <cstdint>

namespace xemap {

namespace {

// The character as UTF-8; C0 and C1 controls and DEL, which would act on a terminal
// instead of showing, as escapes.
void appendShown(std::string& out, std::uint32_t code)
{
    constexpr char kHex[] = "0123456789abcdef";
    if (code == '\n')
        out += "\\n";
    else if (code == '\r')
        out += "\\r";
    else if (code == '\t')
        out += "\\t";
    else if (code < 0x20 || (code >= 0x7F && code < 0xA0))
        out += {'\\', 'x', kHex[code >> 4], kHex[code & 0xF]};
    else
        appendUtf8(out, code);
}

}  // namespace

std::string shownText(std::string_view bytes)
{
    std::string shown;
    shown.reserve(bytes.size());
    const bool utf8 = textFormOf(bytes) == TextForm::Utf8;
    while (!bytes.empty()) {
        const Utf8Sequence character =
            utf8 ? utf8SequenceAt(bytes) : Utf8Sequence{static_cast<unsigned char>(bytes.front()), 1};
        appendShown(shown, character.code);
        bytes.remove_prefix(character.length);
    }
    return shown;
}

}  // namespace xemap
