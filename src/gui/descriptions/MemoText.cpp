#include "gui/descriptions/MemoText.h"

#include "render/TextBytes.h"

#include <QPlainTextEdit>
#include <QTextDocument>

namespace xemap {

namespace {

// A memo's lines travel as one text, so that the whole memo is shown and stored one way.
// Unlike a TMX text, every line break parts two lines: an empty memo has no lines, and a
// memo ending in a line break ends in an empty line.
std::string joinedMemoLines(const StringList& lines)
{
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            joined += '\n';
        joined += lines[i];
    }
    return joined;
}

StringList memoLinesOf(const std::string& text)
{
    StringList lines;
    if (text.empty())
        return lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

// The memo's text as typed. Unlike toPlainText it keeps no-break spaces, which a
// Latin-1 description holds as ordinary bytes.
QString memoText(const QPlainTextEdit* memo)
{
    QString text = memo->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

}  // namespace

void showMemo(QPlainTextEdit* memo, const StringList& lines)
{
    memo->setPlainText(displayText(joinedMemoLines(lines)));
    memo->document()->setModified(false);
}

StringList memoLines(const QPlainTextEdit* memo, const StringList& shown)
{
    if (!memo->document()->isModified())
        return shown;
    return memoLinesOf(storedBytes(memoText(memo), joinedMemoLines(shown)));
}

}  // namespace xemap
