#include "core/mapfile/MapWriter.h"

#include "core/mapfile/MapFormat.h"
#include "core/mapfile/SafeSave.h"

#include <charconv>
#include <type_traits>

namespace xemap {

namespace {

using namespace mapformat;

bool isSingleDigit(std::string_view text) { return text.size() == 1 && text[0] >= '0' && text[0] <= '9'; }

class MapTextWriter {
public:
    explicit MapTextWriter(std::string& out) : out_(out) {}

    void header(const MapDocument& document);
    void cells(const MapGrid& grid);
    void description(const XETile& tile);

private:
    void number(std::int32_t value);
    void endLine() { out_ += "\r\n"; }
    // A line of text whose own line breaks turn into blanks; ambiguous gets one blank after it.
    template <class Ambiguous>
    void textLine(std::string_view text, Ambiguous ambiguous);
    void plainLine(std::string_view text)
    {
        textLine(text, [](std::string_view) { return false; });
    }
    void recordText(const StringList& text);
    void recordName(std::string_view name, int section);

    template <class Kind>
    void section(const XETile& tile);

    std::string& out_;
};

void MapTextWriter::number(std::int32_t value)
{
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out_.append(buffer, result.ptr);
}

template <class Ambiguous>
void MapTextWriter::textLine(std::string_view text, Ambiguous ambiguous)
{
    const std::size_t start = out_.size();
    // Only a line feed ends a line when the file is read (with the carriage return
    // before it); a lone carriage return reads back as it stands.
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out_ += text[i] == '\n' ? ' ' : text[i];
    }
    if (ambiguous(std::string_view(out_).substr(start)))
        out_ += ' ';
    endLine();
}

void MapTextWriter::header(const MapDocument& document)
{
    textLine(document.mapName, isSingleDigit);
    number(document.tilesetIndex);
    endLine();
}

void MapTextWriter::cells(const MapGrid& grid)
{
    for (int x = 0; x < kMapSize; ++x) {
        for (int y = 0; y < kMapSize; ++y) {
            for (int layer = 0; layer < kCellLayers; ++layer) {
                number(grid.tile(x, y, layer));
                out_ += ' ';
                number(grid.rotation(x, y, layer));
                out_ += ' ';
            }
            if (grid.hasDoor(x, y)) {
                out_ += kDoorSeparator;
                for (int slot = 0; slot < kDoorSlots; ++slot) {
                    number(grid.door(x, y, slot));
                    out_ += ' ';
                }
            }
            endLine();
        }
    }
}

void MapTextWriter::recordText(const StringList& text)
{
    for (const auto& line : text)
        textLine(line, [](std::string_view l) { return l == kTextEnd; });
    out_ += kTextEnd;
    endLine();
}

void MapTextWriter::recordName(std::string_view name, int section)
{
    textLine(name, [section](std::string_view l) { return endsSection(l, section); });
}

template <class Kind>
void MapTextWriter::section(const XETile& tile)
{
    const auto& records = tile.*Kind::records;
    if (records.empty())
        return;
    out_ += Kind::header;
    endLine();
    for (const auto& record : records) {
        recordName(record->name, Kind::section);
        for (const auto field : Kind::stored)
            plainLine((*record).*field);
        if constexpr (std::is_same_v<typename Kind::Record, XEItem>)
            plainLine(record->moveable ? "1" : "0");
        recordText(record->text);
    }
}

void MapTextWriter::description(const XETile& tile)
{
    number(tile.cellIndex);
    endLine();
    plainLine(tile.shortName);
    for (const auto& line : tile.areaText)
        textLine(line, [](std::string_view l) { return l == kTextEnd || l == kBlockEnd; });
    out_ += kTextEnd;
    endLine();

    forEachRecordKind([&](auto kind) { section<decltype(kind)>(tile); });
    out_ += kBlockEnd;
    endLine();
}

}  // namespace

std::string writeMap(const MapDocument& document)
{
    std::string out;
    // A cell line is at most a few dozen characters; descriptions are usually short.
    out.reserve(64 + kCellCount * 40 + static_cast<std::size_t>(document.descriptions.size()) * 256);
    MapTextWriter writer(out);
    writer.header(document);
    writer.cells(document.grid);
    for (const auto& tile : document.descriptions.tiles())
        writer.description(*tile);
    return out;
}

Result<void> saveMapFile(const MapDocument& document, const std::filesystem::path& path)
{
    return saveFileSafely(path, writeMap(document));
}

}  // namespace xemap
