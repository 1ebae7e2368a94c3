#include "core/output/Listing.h"

#include <string_view>

namespace xemap {

namespace {

// A line that looks blank holds one space.
constexpr std::string_view kBlank = " ";
constexpr std::string_view kIndent = "   ";
constexpr std::string_view kTextIndent = "      ";
constexpr std::string_view kNoClass = "None";
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

    void description(int position, XETile& tile)
    {
        const std::string heading = std::to_string(locationIdOf(position)) + ":  " + tile.shortName;
        line(heading);
        line(std::string(displayedLength(heading), '_'));
        for (const auto& text : tile.areaText)
            line(text);
        blank();
        section("NPCs:", tile.npcs, [this](const XENPC& r) { npc(r); });
        if (!tile.npcs.empty())
            blank();
        section("Creatures:", tile.creatures, [this](const XECreature& r) { creature(r); });
        section("Items:", tile.items, [this](XEItem& r) { item(r); });
        section("Events:", tile.events, [this](const XEEvent& r) { event(r); });
        section("Portals:", tile.portals, [this](const XEPortal& r) { portal(r); });
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

    template <class Record, class Block>
    void section(std::string_view title, const RecordList<Record>& records, Block block)
    {
        if (records.empty())
            return;
        blank();
        line(kIndent, title);
        blank();
        for (const auto& record : records)
            block(*record);
    }

    void npc(const XENPC& npc)
    {
        const std::string_view npcClass = npc.npcClass == kNoClass ? std::string_view() : npc.npcClass;
        line(kIndent, npc.name, ":  ", npc.align, "  ", npc.race, " ", npcClass);
        line(kIndent, "Script: ", npc.script);
        recordText(npc);
    }

    void creature(const XECreature& creature)
    {
        line(kIndent, creature.name, ":  ", creature.type);
        if (!creature.weapon.empty())
            line(kIndent, "Weapon: ", creature.weapon);
        if (!creature.armor.empty())
            line(kIndent, "Armor:  ", creature.armor);
        if (!creature.script.empty())
            line(kIndent, "Script: ", creature.script);
        recordText(creature);
        blank();
    }

    void item(XEItem& item)
    {
        if (item.value.empty())
            item.value = kNoValue;
        line(kIndent, item.name, "  (", item.value, ")");
        if (!item.script.empty())
            line(kIndent, "Script: ", item.script);
        recordText(item);
        blank();
    }

    void event(const XEEvent& event)
    {
        line(kIndent, event.name);
        line(kIndent, "Location: ", event.location);
        line(kIndent, "Trigger: ", event.trigger);
        line(kIndent, "Script: ", event.script);
        recordText(event);
        blank();
    }

    // Portals alone have their name unindented.
    void portal(const XEPortal& portal)
    {
        line(portal.name);
        line(kIndent, "Location: ", portal.location);
        line(kIndent, "Target Map: ", portal.targetMap);
        line(kIndent, "Target Tile: ", portal.targetTile);
        line(kIndent, "Script: ", portal.script);
        recordText(portal);
        blank();
    }

    Sink sink_;
};

template <class Sink>
void buildListing(DescriptionList& descriptions, Sink sink)
{
    ListingBuilder<Sink> builder(sink);
    for (int position = 0; position < descriptions.size(); ++position)
        builder.description(position, *descriptions.at(position));
}

}  // namespace

std::vector<std::string> listingLines(DescriptionList& descriptions)
{
    std::vector<std::string> lines;
    buildListing(descriptions, LineSink{lines});
    return lines;
}

std::string listingText(DescriptionList& descriptions)
{
    std::string text;
    buildListing(descriptions, TextSink{text});
    return text;
}

}  // namespace xemap
