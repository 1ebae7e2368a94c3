#include "render/TextBytes.h"

#include <QStringDecoder>

#include <algorithm>

namespace xemap {

namespace {

bool isUtf8(const std::string& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    return !decoder.hasError() && !text.contains(QChar::ReplacementCharacter);
}

bool fitsLatin1(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 256; });
}

}  // namespace

QString displayText(const std::string& bytes)
{
    if (isUtf8(bytes))
        return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}

std::string storedBytes(const QString& text, const std::string& original)
{
    if (!isUtf8(original) && fitsLatin1(text))
        return text.toLatin1().toStdString();
    return text.toUtf8().toStdString();
}

}  // namespace xemap
