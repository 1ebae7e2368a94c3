#include "tileset/Tileset.h"

#include <QImageReader>
#include <QPainter>


namespace xemap {

namespace {

int layerCountOf(const auto& present)
{
    int count = 1;
    for (int layer = 0; layer < kTilesetLayers; ++layer)
        if (present(layer))
            count = layer + 1;
    return count;
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
        QImageReader reader(layerFiles[layer]);
        loaded[layer] = reader.read();
        if (loaded[layer].isNull())
            messages << QStringLiteral("Cannot read the tile sheet \"%1\": %2.")
                            .arg(layerFiles[layer], reader.errorString());
    }
    *this = Tileset(loaded);
    layerCount_ = layerCountOf([&](int layer) { return layerFiles[layer] != QLatin1String(kNoLayerFile); });
    return messages;
}

bool Tileset::hasSheet(int layer) const
{
    return layer >= 0 && layer < kTilesetLayers && !sheets_[layer].isNull();
}

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
    return TilePicture{&sheets_[layer].opaqueSheet(tile, rotation), tileArea(tile)};
}

std::optional<TilePicture> Tileset::keyedTile(int tile, int rotation, int layer) const
{
    if (!fetchable(tile, rotation, layer))
        return std::nullopt;
    return TilePicture{&sheets_[layer].keyedSheet(tile, rotation), tileArea(tile)};
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

}  // namespace xemap
