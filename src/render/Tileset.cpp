#include "render/Tileset.h"

#include <QPainter>

#include <algorithm>

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

Tileset::Tileset(const LayerSheets& sheets, int layerCount) : Tileset(sheets)
{
    layerCount_ = std::max(layerCount_, layerCount);
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
