#include "core/output/Listing.h"

#include "core/descriptions/RecordFields.h"

#include <string_view>
#include <type_traits>

namespace xemap {

namespace {

// A line that looks blank holds one space.
constexpr std::string_view kBlank = " ";
constexpr std::string_view kIndent = "   ";
constexpr std::string_view kTextIndent = "      ";
constexpr std::string_view kNoValue = "0 gp";
constexpr std::size_t kSeparatorLength = 50;

// Characters as the user sees them: UTF-8 sequences count once, other bytes alone.
std::size_t displayedLength(std::string_view text)
{
    std::size_t length = 0;
    for (std::size_t i = 0; i < text.size(); ++length) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t size = lead < 0xC2 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 1;
        for (std::size_t k = 1; k < size; ++k)
            if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                size = 1;
        i += size;
    }
    return length;
}

// Lines kept one string each, for printing.
struct LineSink {
    std::vector<std::string>& lines;
    template <class... Parts>
    void add(const Parts&... parts)
    {
        std::string& line = lines.emplace_back();
        (line.append(parts), ...);
    }
};

// Lines written straight into the file text.
struct TextSink {
    std::string& text;
    template <class... Parts>
    void add(const Parts&... parts)
    {
        (text.append(parts), ...);
        text += "\r\n";
    }
};

template <class Sink>
class ListingBuilder {
public:
    explicit ListingBuilder(Sink sink) : sink_(sink) {}

    void description(int position, const XETile& tile)
    {
        const std::string heading = std::to_string(locationIdOf(position)) + ":  " + tile.shortName;
        line(heading);
        line(std::string(displayedLength(heading), '_'));
        for (const auto& text : tile.areaText)
            line(text);
        blank();
        forEachRecordKind([&](auto kind) { section<decltype(kind)>(tile); });
        line(std::string(kSeparatorLength, '_'));
        blank();
    }

private:
    template <class... Parts>
    void line(const Parts&... parts)
    {
        sink_.add(parts...);
    }
    void blank() { line(kBlank); }

    void recordText(const XEObject& record)
    {
        for (const auto& text : record.text)
            line(kTextIndent, text);
    }

    template <class Kind>
    void section(const XETile& tile)
    {
        using Record = typename Kind::Record;
        const auto& records = tile.*Kind::records;
        if (records.empty())
            return;
        blank();
        line(kIndent, Kind::header);
        blank();
        for (const auto& stored : records) {
            const Record* record = stored.get();
            Record valued;
            if constexpr (std::is_same_v<Record, XEItem>)
                if (record->value.empty()) {
                    valued = *record;
                    valued.value = kNoValue;
                    record = &valued;
                }
            // Portals alone have their name unindented.
            line(std::is_same_v<Record, XEPortal> ? std::string_view() : kIndent, Kind::heading(*record));
            for (const auto& [label, field] : Kind::labelled)
                if (!Kind::listingSkipsEmpty || !((*record).*field).empty())
                    line(kIndent, label, (*record).*field);
            recordText(*record);
            // NPCs follow one another without a blank; the section ends with one.
            if constexpr (!std::is_same_v<Record, XENPC>)
                blank();
        }
        if constexpr (std::is_same_v<Record, XENPC>)
            blank();
    }

    Sink sink_;
};

template <class Sink>
void buildListing(const DescriptionList& descriptions, Sink sink)
{
    ListingBuilder<Sink> builder(sink);
    for (int position = 0; position < descriptions.size(); ++position)
        builder.description(position, *descriptions.at(position));
}

}  // namespace

std::vector<std::string> listingLines(const DescriptionList& descriptions)
{
    std::vector<std::string> lines;
    buildListing(descriptions, LineSink{lines});
    return lines;
}

std::string listingText(const DescriptionList& descriptions)
{
    std::string text;
    buildListing(descriptions, TextSink{text});
    return text;
}

void giveItemsTheListedValue(DescriptionList& descriptions)
{
    for (int position = 0; position < descriptions.size(); ++position)
        for (const auto& item : descriptions.at(position)->items)
            if (item->value.empty())
                item->value = kNoValue;
}

}  // namespace xemap
