#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace xemap {

// A character of UTF-8 text: its code point and the bytes it takes; length 0 where the
// bytes are no well-formed sequence (a stray byte, an overlong form, a surrogate, a
// code beyond U+10FFFF, a sequence cut short).
struct Utf8Sequence {
    std::uint32_t code = 0;
    std::size_t length = 0;
};
Utf8Sequence utf8SequenceAt(std::string_view text);

bool isUtf8(std::string_view bytes);

// Stored text is bytes. A field whose bytes are valid UTF-8 is UTF-8; any other field is
// Latin-1, so that every byte stands for some character. Windows and files decide alike.
enum class TextForm { Utf8, Latin1 };
inline TextForm textFormOf(std::string_view bytes) { return isUtf8(bytes) ? TextForm::Utf8 : TextForm::Latin1; }

void appendUtf8(std::string& out, std::uint32_t code);
std::string latin1AsUtf8(std::string_view latin1);
// The Latin-1 bytes of UTF-8 text; nothing when a character lies beyond U+00FF or the
// text is not UTF-8.
std::optional<std::string> utf8AsLatin1(std::string_view utf8);

}  // namespace xemap
