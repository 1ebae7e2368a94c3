#include "core/text/TextLines.h"

#include <algorithm>
#include <fstream>
#include <iterator>

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

std::vector<std::string_view> splitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    LineSource source(text);
    for (std::string_view line; source.next(line);)
        lines.push_back(line);
    return lines;
}

std::optional<std::string> readTextFile(const std::filesystem::path& file)
{
    std::error_code ec;
    if (std::filesystem::is_directory(file, ec))
        return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        return std::nullopt;
    return text;
}

}  // namespace xemap
