#include "render/Tileset.h"

#include <QImageReader>
#include <QPainter>

namespace xemap {

namespace {

// A sheet is 802 x 802; a picture that needs far more memory is not one, and a tiny
// compressed file can claim a huge one.
constexpr int kLargestPictureMegabytes = 16;

int layerCountOf(const auto& present)
{
    int count = 1;
    for (int layer = 0; layer < kTilesetLayers; ++layer)
        if (present(layer))
            count = layer + 1;
    return count;
}

// The picture of a layer file, or a null image and why there is none.
QImage readSheetPicture(const QString& file, QString& fault)
{
    QImageReader reader(file);
    reader.setAllocationLimit(kLargestPictureMegabytes);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() * 4 > kLargestPictureMegabytes * qint64(1 << 20)) {
        fault = QStringLiteral("the picture of %1 x %2 pixels is too large for a tile sheet of %3 x %3")
                    .arg(size.width())
                    .arg(size.height())
                    .arg(kSheetSize);
        return {};
    }
    QImage picture = reader.read();
    if (picture.isNull())
        fault = reader.errorString();
    return picture;
}

}  // namespace

Tileset::Tileset(const LayerSheets& sheets)
{
    for (int layer = 0; layer < kTilesetLayers; ++layer)
        if (!sheets[layer].isNull())
            sheets_[layer] = TileSheet(sheets[layer]);
    layerCount_ = layerCountOf([&](int layer) { return !sheets[layer].isNull(); });
}

QStringList Tileset::LoadTileset(const LayerFiles& layerFiles)
{
    QStringList messages;
    LayerSheets loaded;
    for (int layer = 0; layer < kTilesetLayers; ++layer) {
        if (layerFiles[layer] == QLatin1String(kNoLayerFile))
            continue;
        QString fault;
        loaded[layer] = readSheetPicture(layerFiles[layer], fault);
        if (loaded[layer].isNull())
            messages << QStringLiteral("Cannot read the tile sheet \"%1\": %2.").arg(layerFiles[layer], fault);
    }
    *this = Tileset(loaded);
    layerCount_ = layerCountOf([&](int layer) { return layerFiles[layer] != QLatin1String(kNoLayerFile); });
    return messages;
}

bool Tileset::hasSheet(int layer) const { return layer >= 0 && layer < kTilesetLayers && !sheets_[layer].isNull(); }

bool Tileset::fetchable(int tile, int rotation, int layer) const
{
    return validTile(tile) && validRotation(rotation) && hasSheet(layer);
}

void Tileset::RotateTile(int tile, int rotation, int layer) const
{
    if (fetchable(tile, rotation, layer))
        sheets_[layer].turn(tile, rotation);
}

std::optional<TilePicture> Tileset::opaqueTile(int tile, int rotation, int layer) const
{
    if (!fetchable(tile, rotation, layer))
        return std::nullopt;
    return sheets_[layer].opaqueTile(tile, rotation);
}

std::optional<TilePicture> Tileset::keyedTile(int tile, int rotation, int layer) const
{
    if (!fetchable(tile, rotation, layer))
        return std::nullopt;
    return sheets_[layer].keyedTile(tile, rotation);
}

bool Tileset::FetchTile(QImage& destination, int tile, int rotation, int layer) const
{
    const auto picture = opaqueTile(tile, rotation, layer);
    if (!picture)
        return false;
    QPainter painter(&destination);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(0, 0), *picture->sheet, picture->area);
    return true;
}

void Tileset::setKeepsTurnedTiles(bool keeps)
{
    for (TileSheet& sheet : sheets_)
        sheet.setKeepsTurnedTiles(keeps);
}

}  // namespace xemap
