#include "core/mapfile/MapReader.h"

#include "core/files/ReadFile.h"
#include "core/mapfile/MapFormat.h"
#include "core/mapfile/SingleLayerUpgrade.h"
#include "core/text/TextLines.h"

#include <algorithm>
#include <charconv>
#include <memory>
#include <type_traits>

namespace xemap {

namespace {

using namespace mapformat;

constexpr int kMaxCellNumbers = 2 * kCellLayers;
// A layered cell part holds twelve numbers and is never this short.
constexpr std::size_t kShortestLayeredCellPart = 12;

std::optional<std::int32_t> parseInt(std::string_view text)
{
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == '-' || text.front() == '+'))
            return std::nullopt;
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// Text quoted in a message: short, on one line.
std::string inQuotes(std::string_view text)
{
    constexpr std::size_t kShown = 30;
    std::string quoted = printableText(text.substr(0, kShown));
    quoted.insert(quoted.begin(), '\'');
    quoted += text.size() > kShown ? "...'" : "'";
    return quoted;
}

// What a string of the document costs beyond its own object: the heap block that a
// text too long for the object's inline buffer takes.
std::size_t heapCost(std::string_view text)
{
    static const std::size_t kInline = std::string().capacity();
    return text.size() > kInline ? text.size() + 1 : 0;
}

// A record or description: the object, its shared_ptr control block and its list slot.
template <class T>
constexpr std::size_t sharedCost = sizeof(T) + 2 * sizeof(void*) + sizeof(std::shared_ptr<T>);

class MapTextReader {
public:
    MapTextReader(std::string_view text, const ReadOptions& options)
        : lines_(text), options_(options),
          memoryLeft_(std::max(options.minimumMemory, options.memoryPerByte * text.size()))
    {
    }

    LoadedMap read();

private:
    // Thrown only within the reader: readMap hands the fault out as its result.
    [[noreturn]] void fail(std::string message) const { failAt(lines_.lineNumber(), std::move(message)); }
    [[noreturn]] void failAt(int line, std::string message) const
    {
        throw Fault{Fault::Kind::Malformed, {}, line, std::move(message)};
    }

    std::optional<std::int32_t> nextIntegerLine(const char* what);
    void spend(std::size_t bytes);
    std::string_view readTextLines(StringList& text, bool blockEndToo);

    void readHeader();
    void readCells();
    void readCellLine(int x, int y, std::string_view line);
    void readLayeredCell(int x, int y, std::string_view cellPart);
    void readSingleLayerCell(int x, int y, std::string_view cellPart);
    template <std::size_t N>
    std::size_t cellNumbers(std::string_view cellPart, std::array<std::int32_t, N>& values) const;
    void readDoors(int x, int y, std::string_view line, std::size_t colon);

    bool readDescription();
    std::string_view blockLine();
    void readSections(XETile& tile);
    void readRecord(XETile& tile, int section, std::string_view name);
    void readRecordText(XEObject& record);
    bool readItemFlag();

    LineSource lines_;
    const ReadOptions& options_;
    LoadedMap map_;
    int blockStart_ = 0;
    std::size_t memoryLeft_;
};

void MapTextReader::spend(std::size_t bytes)
{
    if (bytes > memoryLeft_)
        fail("the descriptions would take more memory than " + std::to_string(options_.memoryPerByte)
             + " times the file's size (too many lines or records for a file of this size)");
    memoryLeft_ -= bytes;
}

// Lines up to the text end "...", or the block end too when blockEndToo; the end line
// itself is consumed and returned. The lines are counted and paid for first, so that the list is
// allocated once and a text too costly is refused before any of it is kept.
std::string_view MapTextReader::readTextLines(StringList& text, bool blockEndToo)
{
    const auto ends = [blockEndToo](std::string_view line) {
        return line == kTextEnd || (blockEndToo && line == kBlockEnd);
    };
    LineSource ahead = lines_;
    std::size_t count = 0;
    for (std::string_view line; ahead.next(line) && !ends(line);)
        ++count;
    spend(count * sizeof(std::string));
    text.reserve(text.size() + count);
    std::string_view line = blockLine();
    for (; !ends(line); line = blockLine()) {
        spend(heapCost(line));
        text.emplace_back(line);
    }
    return line;
}

// Blank lines before the number are passed over; nothing may follow it on its line.
std::optional<std::int32_t> MapTextReader::nextIntegerLine(const char* what)
{
    std::string_view line;
    do {
        if (!lines_.next(line))
            return std::nullopt;
    } while (trim(line).empty());
    const auto value = parseInt(trim(line));
    if (!value)
        fail(std::string("expected ") + what + ", found " + inQuotes(trim(line)));
    return value;
}

void MapTextReader::readHeader()
{
    std::string_view first;
    if (!lines_.next(first))
        failAt(1, "the file is empty");
    if (first.size() == 1 && first[0] >= '0' && first[0] <= '9') {
        map_.hasMapNameLine = false;
        map_.document.tilesetIndex = first[0] - '0';
        return;
    }
    map_.document.mapName = std::string(first);
    const auto index = nextIntegerLine("the tileset index");
    if (!index)
        failAt(lines_.lineNumber() + 1, "the file ends before the tileset index");
    map_.document.tilesetIndex = *index;
}

void MapTextReader::readCells()
{
    for (int x = 0; x < kMapSize; ++x) {
        for (int y = 0; y < kMapSize; ++y) {
            std::string_view line;
            if (!lines_.next(line))
                failAt(lines_.lineNumber() + 1, "the file ends after " + std::to_string(x * kMapSize + y) + " of the "
                                                    + std::to_string(kCellCount) + " cell lines");
            readCellLine(x, y, trim(line));
        }
    }
}

void MapTextReader::readCellLine(int x, int y, std::string_view line)
{
    const std::size_t colon = line.find(':');
    const std::string_view cellPart = line.substr(0, colon);
    if (x == 0 && y == 0)
        map_.singleLayer = cellPart.size() < kShortestLayeredCellPart;
    if (map_.singleLayer)
        readSingleLayerCell(x, y, cellPart);
    else
        readLayeredCell(x, y, cellPart);
    if (colon != std::string_view::npos)
        readDoors(x, y, line, colon);
}

// Up to max whitespace-separated numbers from the cell part; at least one.
template <std::size_t N>
std::size_t scanNumbers(std::string_view part, std::array<std::int32_t, N>& values, std::string& bad)
{
    std::size_t count = 0;
    while (count < N) {
        std::size_t start = 0;
        while (start < part.size() && isBlank(part[start]))
            ++start;
        if (start == part.size())
            break;
        std::size_t end = start;
        while (end < part.size() && !isBlank(part[end]))
            ++end;
        const auto value = parseInt(part.substr(start, end - start));
        if (!value) {
            bad = std::string(part.substr(start, end - start));
            return count;
        }
        values[count++] = *value;
        part.remove_prefix(end);
    }
    return count;
}

// The cell part's numbers; a cell line holds at least one, and nothing else.
template <std::size_t N>
std::size_t MapTextReader::cellNumbers(std::string_view cellPart, std::array<std::int32_t, N>& values) const
{
    std::string bad;
    const std::size_t count = scanNumbers(cellPart, values, bad);
    if (!bad.empty())
        fail("expected a number in the cell line, found " + inQuotes(bad));
    if (count == 0)
        fail("the cell line holds no numbers");
    return count;
}

void MapTextReader::readLayeredCell(int x, int y, std::string_view cellPart)
{
    std::array<std::int32_t, kMaxCellNumbers> values{};
    const std::size_t count = cellNumbers(cellPart, values);
    // Missing pairs leave their layers as the fresh grid has them: empty.
    for (std::size_t i = 0; i < count; ++i) {
        const int layer = static_cast<int>(i / 2);
        (i % 2 == 0 ? map_.document.grid.tile(x, y, layer) : map_.document.grid.rotation(x, y, layer)) = values[i];
    }
}

void MapTextReader::readSingleLayerCell(int x, int y, std::string_view cellPart)
{
    std::array<std::int32_t, 2> values{};
    cellNumbers(cellPart, values);
    convertSingleLayerCell(map_.document.grid, map_.document.tilesetIndex, x, y, values[0], values[1],
                           options_.layerCount);
}

// The writer's door part: " : " and five values each followed by a blank, so the
// edge doors are single digits at fixed places after the colon.
void MapTextReader::readDoors(int x, int y, std::string_view line, std::size_t colon)
{
    for (int slot = North; slot <= West; ++slot) {
        const std::size_t at = colon + 2 + 2 * static_cast<std::size_t>(slot);
        if (at >= line.size())
            break;
        const char c = line[at];
        if (c < '0' || c > '9')
            fail("expected a door digit, found " + inQuotes(std::string_view(&c, 1)));
        map_.document.grid.door(x, y, slot) = c - '0';
    }
    const std::size_t centerAt = colon + 10;
    if (centerAt >= line.size())
        return;
    const auto center = parseInt(trim(line.substr(centerAt)));
    if (!center)
        fail("expected the centre door value, found " + inQuotes(line.substr(centerAt)));
    map_.document.grid.door(x, y, Center) = *center;
}

std::string_view MapTextReader::blockLine()
{
    std::string_view line;
    if (!lines_.next(line))
        failAt(lines_.lineNumber() + 1,
               "the file ends inside the description that begins on line " + std::to_string(blockStart_));
    return line;
}

bool MapTextReader::readDescription()
{
    const auto cellIndex = nextIntegerLine("a description's cell index");
    if (!cellIndex)
        return false;
    if (*cellIndex < -1 || *cellIndex >= kCellCount)
        fail("cell index " + std::to_string(*cellIndex) + " is outside 0 to 1023 (or -1 for a detached description)");
    blockStart_ = lines_.lineNumber();
    auto tile = std::make_shared<XETile>();
    tile->cellIndex = *cellIndex;
    tile->shortName = std::string(blockLine());
    spend(sharedCost<XETile> + heapCost(tile->shortName));
    if (readTextLines(tile->areaText, true) == kTextEnd)
        readSections(*tile);
    map_.document.descriptions.append(std::move(tile));
    return true;
}

void MapTextReader::readSections(XETile& tile)
{
    int section = -1;  // none started yet: every header may come, other lines are passed over
    for (;;) {
        const std::string_view line = blockLine();
        if (line == kBlockEnd)
            return;
        int header = -1;
        for (int later = section + 1; later < kSectionCount; ++later)
            if (line == kSectionHeaders[later])
                header = later;
        if (header >= 0)
            section = header;
        else if (section >= 0)
            readRecord(tile, section, line);
        else if (!trim(line).empty()) {
            spend(sizeof(SkippedLine) + heapCost(line));
            map_.skipped.push_back({lines_.lineNumber(), std::string(line)});
        }
    }
}

void MapTextReader::readRecordText(XEObject& record) { readTextLines(record.text, false); }

void MapTextReader::readRecord(XETile& tile, int section, std::string_view name)
{
    withRecordKind(section, [&](auto kind) {
        using Kind = decltype(kind);
        auto record = std::make_shared<typename Kind::Record>();
        record->name = std::string(name);
        std::size_t cost = sharedCost<typename Kind::Record> + heapCost(name);
        for (const auto field : Kind::stored) {
            (*record).*field = std::string(blockLine());
            cost += heapCost((*record).*field);
        }
        spend(cost);
        if constexpr (std::is_same_v<typename Kind::Record, XEItem>)
            record->moveable = readItemFlag();
        readRecordText(*record);
        (tile.*Kind::records).push_back(std::move(record));
    });
}

bool MapTextReader::readItemFlag()
{
    const std::string_view flagLine = blockLine();
    const auto flag = parseInt(trim(flagLine));
    if (!flag)
        fail("expected the item's flag 0 or 1, found " + inQuotes(flagLine));
    return *flag != 0;
}

LoadedMap MapTextReader::read()
{
    readHeader();
    readCells();
    while (readDescription()) {
    }
    return std::move(map_);
}

}  // namespace

Result<LoadedMap> readMap(std::string_view text, const ReadOptions& options)
{
    try {
        LoadedMap map = MapTextReader(text, options).read();
        if (map.singleLayer && options.confirmUpgrade && !options.confirmUpgrade())
            return Fault{Fault::Kind::Declined, {}, 0, "the single-layer map was left alone"};
        return map;
    } catch (const Fault& fault) {
        return fault;
    } catch (const std::bad_alloc&) {
        return Fault{Fault::Kind::OutOfMemory, {}, 0, "there is not enough memory to read the file"};
    }
}

Result<LoadedMap> readMapFile(const std::filesystem::path& path, const ReadOptions& options)
{
    auto file = readFile(path, options.sizeLimit);
    if (!file)
        return file.fault();
    Result<LoadedMap> read = readMap(*file, options);
    if (!read) {
        Fault fault = read.fault();
        fault.file = path.string();
        return fault;
    }
    read->document.mapFileName = path.string();
    read->document.mapDirectory = path.parent_path().string();
    return read;
}

}  // namespace xemap
