#include "render/TextBytes.h"

#include "core/text/TextForm.h"

#include <algorithm>

namespace xemap {

namespace {

bool fitsLatin1(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 256; });
}

}  // namespace

QString displayText(const std::string& bytes)
{
    if (textFormOf(bytes) == TextForm::Utf8)
        return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}

std::string storedBytes(const QString& text, const std::string& original)
{
    if (textFormOf(original) == TextForm::Latin1 && fitsLatin1(text))
        return text.toLatin1().toStdString();
    return text.toUtf8().toStdString();
}

}  // namespace xemap
