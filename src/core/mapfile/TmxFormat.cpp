#include "core/mapfile/TmxFormat.h"

#include "core/text/TextForm.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace xemap::tmx {

namespace {

constexpr std::string_view kLatin1 = "latin-1";
constexpr std::string_view kEscaped = "escaped";
constexpr std::string_view kLatin1Escaped = "latin-1, escaped";

// Characters XML 1.0 cannot hold, and the carriage return, which a reader turns into a
// line feed.
bool unholdable(std::uint32_t code)
{
    return (code < 0x20 && code != '\t' && code != '\n') || code == 0xFFFE || code == 0xFFFF;
}

// Tiled drops a multi-line value that is nothing but blanks and line breaks.
bool blankLines(std::string_view text)
{
    return text.find('\n') != std::string_view::npos && text.find_first_not_of(" \t\n") == std::string_view::npos;
}

template <class Each>
void forEachCharacter(std::string_view utf8, Each each)
{
    while (!utf8.empty()) {
        const Utf8Sequence character = utf8SequenceAt(utf8);
        if (character.length == 0)
            return;
        each(character.code);
        utf8.remove_prefix(character.length);
    }
}

bool needsEscapes(std::string_view utf8)
{
    bool needed = blankLines(utf8);
    forEachCharacter(utf8, [&](std::uint32_t code) { needed = needed || unholdable(code); });
    return needed;
}

std::string escaped(std::string_view utf8)
{
    const bool lineBreaks = blankLines(utf8);
    std::string out;
    forEachCharacter(utf8, [&](std::uint32_t code) {
        char buffer[8];
        if (code == '\\')
            out += "\\\\";
        else if (code <= 0xFF && (unholdable(code) || (lineBreaks && code == '\n')))
            out.append(buffer, static_cast<std::size_t>(std::snprintf(buffer, sizeof buffer, "\\x%02x", code)));
        else if (unholdable(code))
            out.append(buffer, static_cast<std::size_t>(std::snprintf(buffer, sizeof buffer, "\\u%04x", code)));
        else
            appendUtf8(out, code);
    });
    return out;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The escapes of escaped() undone; a backslash that starts none of them stays.
std::string unescaped(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        if (text[i + 1] == '\\') {
            out += '\\';
            ++i;
            continue;
        }
        const std::size_t digits = text[i + 1] == 'x' ? 2 : text[i + 1] == 'u' ? 4 : 0;
        std::uint32_t code = 0;
        bool hex = digits > 0 && i + 1 + digits < text.size();
        for (std::size_t d = 0; hex && d < digits; ++d) {
            const int value = hexDigit(text[i + 2 + d]);
            hex = value >= 0;
            code = code * 16 + static_cast<std::uint32_t>(value);
        }
        if (!hex || (code >= 0xD800 && code <= 0xDFFF)) {
            out += text[i];
            continue;
        }
        appendUtf8(out, code);
        i += 1 + digits;
    }
    return out;
}

}  // namespace

std::string layerValuesProperty(int cellLayer) { return tileLayerName(cellLayer) + " values"; }

std::string tileLayerName(int cellLayer) { return "cell layer " + std::to_string(cellLayer); }

std::string recordProperty(std::string_view noun, int number, std::string_view field)
{
    std::string name = std::string(noun) + ' ' + std::to_string(number) + ' ' + std::string(field);
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return name;
}

TextProperty textProperty(std::string_view bytes)
{
    const bool latin1 = textFormOf(bytes) == TextForm::Latin1;
    std::string text = latin1 ? latin1AsUtf8(bytes) : std::string(bytes);
    if (!needsEscapes(text))
        return {std::move(text), std::string(latin1 ? kLatin1 : "")};
    return {escaped(text), std::string(latin1 ? kLatin1Escaped : kEscaped)};
}

std::optional<std::string> fieldBytes(std::string_view value, std::string_view encoding)
{
    if (encoding.empty())
        return std::string(value);
    if (encoding != kLatin1 && encoding != kEscaped && encoding != kLatin1Escaped)
        return std::nullopt;
    std::string text = encoding == kLatin1 ? std::string(value) : unescaped(value);
    if (encoding == kEscaped)
        return text;
    // Text edited in Tiled beyond Latin-1 is kept as UTF-8, as the windows keep it.
    auto latin1 = utf8AsLatin1(text);
    return latin1 ? std::move(*latin1) : std::move(text);
}

std::string joinedLines(const StringList& lines)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += (i ? "\n" : "") + lines[i];
    if (!lines.empty() && lines.back().empty())
        text += '\n';
    return text;
}

StringList splitLines(std::string_view text)
{
    StringList lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        lines.emplace_back(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

}  // namespace xemap::tmx
