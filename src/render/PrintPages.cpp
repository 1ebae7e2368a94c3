#include "render/PrintPages.h"

#include "core/descriptions/RecordFields.h"
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
        forEachRecordKind([&](auto kind) { section<decltype(kind)>(tile); });
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

    template <class Kind>
    void section(const XETile& tile)
    {
        const auto& records = tile.*Kind::records;
        if (records.empty())
            return;
        skip();
        bold(std::string(Kind::header));
        skip();
        for (const auto& record : records) {
            line(Kind::heading(*record));
            for (const auto& [label, field] : Kind::labelled)
                line(std::string(label) + (*record).*field);
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
