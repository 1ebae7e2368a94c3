#include "render/PrintPages.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

namespace xemap {
namespace {

class PrintListingTest : public testing::Test {
protected:
    PrintListingTest()
    {
        font.setPixelSize(20);
        (boldFont = font).setBold(true);
    }
    std::vector<PrintedRow> rowsOf(const std::vector<PrintLine>& lines, int lastLine = 1000) const
    {
        return listingRows(lines, QFontMetrics(font), QFontMetrics(boldFont), kPageWidth, lastLine);
    }
    int width(const QString& text, bool isBold = false) const
    {
        return QFontMetrics(isBold ? boldFont : font).horizontalAdvance(text);
    }

    static constexpr int kPageWidth = ListingPager::kLeft + 300;
    QFont font{"Times New Roman"};
    QFont boldFont;
};

TEST_F(PrintListingTest, ALineWiderThanThePageWrapsAtASpaceOrAtTheEdge)
{
    const std::string words = "the quick brown fox jumps over the lazy dog and then runs far away into the hills";
    const std::tuple<std::string, bool, bool> cases[] = {{"Short line", false, true},
                                                         {words, false, true},
                                                         {words, true, true},
                                                         {"    Notes: " + words, false, true},
                                                         {std::string(90, 'm'), false, false},
                                                         {"  " + std::string(90, 'w'), true, false}};
    for (const auto& [text, bold, breaksAtSpaces] : cases) {
        SCOPED_TRACE(text);
        const auto rows = rowsOf({{text, bold, false}});
        const QString line = QString::fromStdString(text);
        ASSERT_FALSE(rows.empty());
        EXPECT_EQ(rows.size() > 1, width(line, bold) > kPageWidth - ListingPager::kLeft);
        const int blanks = int(line.size() - QStringView(line).trimmed().size());
        QString joined;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(std::pair(rows[i].line, rows[i].bold), std::pair(ListingPager::kFirstLine + int(i), bold));
            EXPECT_LE(rows[i].x + width(rows[i].text, bold), kPageWidth) << rows[i].text.toStdString();
            EXPECT_EQ(rows[i].x, ListingPager::kLeft + (i > 0 ? width(line.left(blanks), bold) : 0));
            if (i + 1 == rows.size())
                break;
            // Each row takes all it can: the next word, or the next letter, would not fit.
            const QString more = breaksAtSpaces ? ' ' + rows[i + 1].text.section(' ', 0, 0) : rows[i + 1].text.left(1);
            EXPECT_GT(rows[i].x + width(rows[i].text + more, bold), kPageWidth);
            joined += rows[i].text + (breaksAtSpaces ? " " : "");
        }
        EXPECT_EQ(joined + rows.back().text, line);
    }
}

TEST_F(PrintListingTest, EveryWrappedRowCountsForThePageBreak)
{
    // Words as wide as a row can take, so that each takes a row of its own.
    std::string word = "m";
    while (width(QString::fromStdString(word + "m")) <= kPageWidth - ListingPager::kLeft)
        word += "m";
    // Three lines to a page: the heading, the blank step, then a line of three rows.
    const auto rows = rowsOf({{"Heading", true, false},
                              {{}, false, true},
                              {word + " " + word + " " + word, false, false},
                              {"After", false, false}},
                             ListingPager::kFirstLine + 2);
    ASSERT_EQ(rows.size(), 1 + 3 + 1u);
    const std::pair<int, int> pageAndLine[] = {{1, 3}, {1, 5}, {2, 3}, {2, 4}, {2, 5}};
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(std::make_pair(rows[i].page, rows[i].line), pageAndLine[i]) << i;
}

}  // namespace
}  // namespace xemap
