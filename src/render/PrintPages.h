#pragma once

#include "core/descriptions/DescriptionList.h"

#include <QImage>
#include <QString>

#include <string>
#include <vector>

class QFontMetrics;
class QPagedPaintDevice;
class QPainter;

namespace xemap {

// One step of the printed listing: a line of text (bold or not), or only a line
// left empty. Empty steps never start a page; text lines do once the page is full.
struct PrintLine {
    std::string text;
    bool bold = false;
    bool skipOnly = false;
};

std::vector<PrintLine> printListingLines(const DescriptionList& descriptions);

// Line height h is the font's text height; lines run from 3 to page height / h - 6.
struct ListingPager {
    int lineHeight;
    int lastLine;
    static constexpr int kFirstLine = 3;
    static constexpr int kLeft = 200;
};

// One row on a printed page: its page (from 1), its line number, where it starts.
struct PrintedRow {
    int page;
    int line;
    int x;
    QString text;
    bool bold;
};

// The listing laid out on pages pageWidth wide. A line wider than the page (less the left
// start) wraps at a space, or at the edge for one long word; its continuation rows start
// at the left start plus the width of its leading blanks. Every row is a printed line for
// the page break.
std::vector<PrintedRow> listingRows(const std::vector<PrintLine>& lines, const QFontMetrics& regular,
                                    const QFontMetrics& bold, int pageWidth, int lastLine);

// Draws the listing in Times New Roman at the point size, page after page, on the
// painter's device (already begun). Returns the number of pages used.
int printListing(QPainter& painter, QPagedPaintDevice& device, const std::vector<PrintLine>& lines, int pointSize);

// The picture stretched into (50, 50, W - 50, W - 50), W the page width.
void printPicture(QPainter& painter, const QImage& picture, int pageWidth);

}  // namespace xemap
