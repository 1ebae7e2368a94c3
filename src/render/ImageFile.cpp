#include "render/ImageFile.h"

#include "core/files/AllocationLimit.h"
#include "core/files/ReadFile.h"

#include <QBuffer>
#include <QImageReader>

#include <new>

namespace xemap {

namespace {

Fault pictureFault(const std::filesystem::path& file, const QString& reason)
{
    return {Fault::Kind::Malformed, file.string(), 0, reason.toStdString()};
}

// The reader's allocation limit is the whole program's: it is set for one picture and
// put back after, so that no other picture is refused by it.
class AllocationLimitForOnePicture {
public:
    explicit AllocationLimitForOnePicture(int megabytes) : previous_(QImageReader::allocationLimit())
    {
        QImageReader::setAllocationLimit(megabytes);
    }
    ~AllocationLimitForOnePicture() { QImageReader::setAllocationLimit(previous_); }
    AllocationLimitForOnePicture(const AllocationLimitForOnePicture&) = delete;
    AllocationLimitForOnePicture& operator=(const AllocationLimitForOnePicture&) = delete;

private:
    int previous_;
};

}  // namespace

Result<QImage> readImageFile(const std::filesystem::path& file, std::uintmax_t limit, qint64 largestPixels)
{
    const auto bytes = readFile(file, limit);
    if (!bytes)
        return bytes.fault();
    try {
        QByteArray data = QByteArray::fromRawData(bytes->data(), qsizetype(bytes->size()));
        QBuffer buffer(&data);
        QImageReader reader(&buffer);
        // Also for a format that does not tell its size before decoding.
        const AllocationLimitForOnePicture pictureLimit(int(largestPixels * 4 / (1024 * 1024)) + 1);
        const QSize size = reader.size();
        if (size.isValid() && qint64(size.width()) * size.height() > largestPixels)
            return pictureFault(
                file,
                QStringLiteral("the picture of %1 x %2 pixels is too large").arg(size.width()).arg(size.height()));
        if (size.isValid() && !allocationFits(std::uintmax_t(size.width()) * std::uintmax_t(size.height()) * 4))
            return outOfMemory("read the picture", file.string());
        QImage picture = reader.read();
        if (picture.isNull())
            return pictureFault(file, reader.errorString());
        return picture;
    } catch (const std::bad_alloc&) {
        return outOfMemory("read the picture", file.string());
    }
}

}  // namespace xemap
