#include "render/PrintPages.h"

#include "render/TextBytes.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>

#include <string_view>

namespace xemap {

namespace {

constexpr std::string_view kSeparator = "__________________________________________________";

class PrintLineBuilder {
public:
    explicit PrintLineBuilder(std::vector<PrintLine>& lines) : lines_(lines) {}

    void description(int position, const XETile& tile)
    {
        bold(std::to_string(locationIdOf(position)) + ":  " + tile.shortName);
        for (const auto& text : tile.areaText)
            line(text);
        skip();
        section("NPCs:", tile.npcs, [this](const XENPC& npc) {
            line(npc.name + ":  " + npc.align + "  " + npc.race + " " + (npc.npcClass == "None" ? "" : npc.npcClass));
            line("Script: " + npc.script);
        });
        section("Creatures:", tile.creatures, [this](const XECreature& creature) {
            line(creature.name + ":  " + creature.type);
            line("Weapon: " + creature.weapon);
            line("Armor:  " + creature.armor);
            line("Script: " + creature.script);
        });
        section("Items:", tile.items, [this](const XEItem& item) {
            line(item.name + "  (" + item.value + ")");
            line("Script: " + item.script);
        });
        section("Events:", tile.events, [this](const XEEvent& event) {
            line(event.name);
            line("Location: " + event.location);
            line("Trigger: " + event.trigger);
            line("Script: " + event.script);
        });
        section("Portals:", tile.portals, [this](const XEPortal& portal) {
            line(portal.name);
            line("Location: " + portal.location);
            line("Target Map: " + portal.targetMap);
            line("Target Tile: " + portal.targetTile);
            line("Script: " + portal.script);
        });
        line(std::string(kSeparator));
        skip();
    }

private:
    void line(std::string text) { lines_.push_back({std::move(text), false, false}); }
    void bold(std::string text) { lines_.push_back({std::move(text), true, false}); }
    void skip() { lines_.push_back({{}, false, true}); }

    void notes(const XEObject& record)
    {
        if (record.text.empty())
            return;
        line("Notes:");
        for (const auto& text : record.text)
            line(text);
    }

    template <class Record, class Lines>
    void section(const char* title, const RecordList<Record>& records, Lines recordLines)
    {
        if (records.empty())
            return;
        skip();
        bold(title);
        skip();
        for (const auto& record : records) {
            recordLines(*record);
            notes(*record);
            skip();
        }
    }

    std::vector<PrintLine>& lines_;
};

}  // namespace

std::vector<PrintLine> printListingLines(const DescriptionList& descriptions)
{
    std::vector<PrintLine> lines;
    PrintLineBuilder builder(lines);
    for (int position = 0; position < descriptions.size(); ++position)
        builder.description(position, *descriptions.at(position));
    return lines;
}

int printListing(QPainter& painter, QPagedPaintDevice& device, const std::vector<PrintLine>& lines, int pointSize)
{
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSize(pointSize);
    painter.setPen(Qt::black);
    const QFontMetrics metrics(font, &device);
    const ListingPager pager{metrics.height(), device.height() / metrics.height() - 6};
    int pages = 1;
    int counter = ListingPager::kFirstLine;
    for (const auto& line : lines) {
        if (line.skipOnly) {
            ++counter;
            continue;
        }
        if (counter > pager.lastLine) {
            device.newPage();
            ++pages;
            counter = ListingPager::kFirstLine;
        }
        font.setBold(line.bold);
        painter.setFont(font);
        painter.drawText(QPoint(ListingPager::kLeft, counter * pager.lineHeight + metrics.ascent()),
                         displayText(line.text));
        ++counter;
    }
    return pages;
}

void printPicture(QPainter& painter, const QImage& picture, int pageWidth)
{
    const QRect target(QPoint(50, 50), QPoint(pageWidth - 50 - 1, pageWidth - 50 - 1));
    painter.drawImage(target, picture);
}

}  // namespace xemap
