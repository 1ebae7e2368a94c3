#include "core/text/TextLines.h"

#include "core/text/TextForm.h"

#include <algorithm>

namespace xemap {

std::string_view trim(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool isBlankLine(std::string_view line) { return std::all_of(line.begin(), line.end(), isBlank); }

bool LineSource::next(std::string_view& line)
{
    if (position_ >= text_.size())
        return false;
    const std::size_t end = text_.find('\n', position_);
    const std::size_t stop = end == std::string_view::npos ? text_.size() : end;
    line = text_.substr(position_, stop - position_);
    if (!line.empty() && line.back() == '\r' && end != std::string_view::npos)
        line.remove_suffix(1);
    position_ = stop + 1;
    ++number_;
    return true;
}

namespace {

// The length of the UTF-8 sequence at the start of text that stands for a printable
// character, or 0 when it is not one (a C1 control, a stray or overlong byte).
std::size_t printableSequence(std::string_view text)
{
    const Utf8Sequence character = utf8SequenceAt(text);
    return character.code >= 0xA0 ? character.length : 0;
}

}  // namespace

std::string printableText(std::string_view text)
{
    constexpr char kHex[] = "0123456789abcdef";
    std::string shown;
    shown.reserve(text.size());
    while (!text.empty()) {
        const auto c = static_cast<unsigned char>(text.front());
        std::size_t length = c >= 0x20 && c < 0x7F ? 1 : c >= 0x80 ? printableSequence(text) : 0;
        if (length > 0) {
            shown += text.substr(0, length);
        } else {
            length = 1;
            shown += {'\\', 'x', kHex[c >> 4], kHex[c & 0xF]};
        }
        text.remove_prefix(length);
    }
    return shown;
}

}  // namespace xemap
