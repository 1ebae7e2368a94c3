#pragma once

#include <string>
#include <string_view>

namespace xemap {

// Stored bytes as the windows show them (by their text form: UTF-8, or else Latin-1),
// written as UTF-8 on one line: line breaks, tabs and control characters
// become escapes (\n, \r, \t, \xNN), so a field can never break a line of output.
std::string shownText(std::string_view bytes);

}  // namespace xemap
