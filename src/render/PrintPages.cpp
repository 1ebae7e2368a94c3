#include "render/PrintPages.h"

#include "core/descriptions/RecordFields.h"
#include "render/TextBytes.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <utility>

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

namespace {

// The rows one line takes. Each row holds at least one character, so that a page too
// narrow for any still ends.
class LineWrapper {
public:
    LineWrapper(const QFontMetrics& metrics, int width) : metrics_(metrics), width_(width) {}

    // (start offset, text) of each row.
    std::vector<std::pair<int, QString>> rows(const QString& line) const
    {
        qsizetype blanks = 0;
        while (blanks < line.size() && line[blanks] == u' ')
            ++blanks;
        // Continuations keep the line's indent unless it would leave them hardly any room.
        int indent = metrics_.horizontalAdvance(line.left(blanks));
        if (indent >= width_ / 2)
            indent = 0;
        std::vector<std::pair<int, QString>> rows;
        QStringView rest(line);
        int offset = 0;
        qsizetype keep = blanks;  // leading blanks of the first row are no place to break
        while (true) {
            const qsizetype fits = fittingLength(rest, width_ - offset);
            if (fits == rest.size()) {
                rows.emplace_back(offset, rest.toString());
                return rows;
            }
            qsizetype cut = rest.left(fits + 1).lastIndexOf(u' ');
            qsizetype next = cut + 1;
            if (cut <= keep)
                cut = next = fits;
            rows.emplace_back(offset, rest.left(cut).toString());
            rest = rest.mid(next);
            while (rest.startsWith(u' '))
                rest = rest.mid(1);
            if (rest.isEmpty())
                return rows;
            offset = indent;
            keep = 0;
        }
    }

private:
    // The longest start of text no wider than width, and at least one character.
    qsizetype fittingLength(QStringView text, int width) const
    {
        qsizetype low = 1, high = text.size();
        if (metrics_.horizontalAdvance(text.toString()) <= width)
            return high;
        while (low < high) {
            const qsizetype middle = (low + high + 1) / 2;
            if (metrics_.horizontalAdvance(text.left(middle).toString()) <= width)
                low = middle;
            else
                high = middle - 1;
        }
        if (low < text.size() && text[low].isLowSurrogate())
            low = std::max<qsizetype>(1, low - 1);
        return low;
    }

    const QFontMetrics& metrics_;
    int width_;
};

}  // namespace

std::vector<PrintedRow> listingRows(const std::vector<PrintLine>& lines, const QFontMetrics& regular,
                                    const QFontMetrics& bold, int pageWidth, int lastLine)
{
    const int width = pageWidth - ListingPager::kLeft;
    std::vector<PrintedRow> rows;
    int page = 1;
    int counter = ListingPager::kFirstLine;
    for (const auto& line : lines) {
        if (line.skipOnly) {
            ++counter;
            continue;
        }
        const LineWrapper wrapper(line.bold ? bold : regular, width);
        for (auto& [offset, text] : wrapper.rows(displayText(line.text))) {
            if (counter > lastLine) {
                ++page;
                counter = ListingPager::kFirstLine;
            }
            rows.push_back({page, counter, ListingPager::kLeft + offset, std::move(text), line.bold});
            ++counter;
        }
    }
    return rows;
}

int printListing(QPainter& painter, QPagedPaintDevice& device, const std::vector<PrintLine>& lines, int pointSize)
{
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSize(pointSize);
    QFont boldFont = font;
    boldFont.setBold(true);
    painter.setPen(Qt::black);
    const QFontMetrics metrics(font, &device);
    const ListingPager pager{metrics.height(), device.height() / metrics.height() - 6};
    int page = 1;
    for (const PrintedRow& row :
         listingRows(lines, metrics, QFontMetrics(boldFont, &device), device.width(), pager.lastLine)) {
        if (row.page != page) {
            device.newPage();
            page = row.page;
        }
        painter.setFont(row.bold ? boldFont : font);
        painter.drawText(QPoint(row.x, row.line * pager.lineHeight + metrics.ascent()), row.text);
    }
    return page;
}

void printPicture(QPainter& painter, const QImage& picture, int pageWidth)
{
    const QRect target(QPoint(50, 50), QPoint(pageWidth - 50 - 1, pageWidth - 50 - 1));
    painter.drawImage(target, picture);
}

}  // namespace xemap
