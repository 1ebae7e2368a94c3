#pragma once

#include <string>
#include <string_view>

namespace xemap {

// Control characters and the blank count as blank, as the file readers have always trimmed.
constexpr bool isBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view trim(std::string_view text);
bool isBlankLine(std::string_view line);

// The lines of a text one at a time, without their line ends (CRLF or LF).
class LineSource {
public:
    explicit LineSource(std::string_view text) : text_(text) {}

    // The next line; false at the end of the text.
    bool next(std::string_view& line);
    // The number of the line last returned, counted from 1.
    int lineNumber() const { return number_; }

private:
    std::string_view text_;
    std::size_t position_ = 0;
    int number_ = 0;
};

// Text as it may be shown on a terminal or in a message: control characters, C1 controls
// and bytes that are not UTF-8 become \xNN escapes; everything else is kept.
std::string printableText(std::string_view text);

}  // namespace xemap
