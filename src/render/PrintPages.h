#pragma once

#include "core/descriptions/DescriptionList.h"

#include <QImage>

#include <string>
#include <vector>

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

// Draws the listing in Times New Roman at the point size, page after page, on the
// painter's device (already begun). Returns the number of pages used.
int printListing(QPainter& painter, QPagedPaintDevice& device, const std::vector<PrintLine>& lines, int pointSize);

// The picture stretched into (50, 50, W - 50, W - 50), W the page width.
void printPicture(QPainter& painter, const QImage& picture, int pageWidth);

}  // namespace xemap
