#include "render/ExportPicture.h"

#include "core/files/AllocationLimit.h"

#include "render/CellComposer.h"
#include "render/PngWriter.h"
#include "render/Tileset.h"

#include <QFileInfo>
#include <QPainter>
#include <QSaveFile>

#include <algorithm>
#include <array>

namespace xemap {

namespace {

QRect exportCellRect(int x, int y, float scale)
{
    const auto at = [scale](int pixel) { return static_cast<int>(pixel * scale); };
    const QPoint topLeft(at(80 * x), at(80 * y));
    const QPoint end(at(80 * x + 80), at(80 * y + 80));
    return {topLeft, QSize(end.x() - topLeft.x(), end.y() - topLeft.y())};
}

// Ring colours of the kinds of change: red tiles, blue doors, yellow descriptions.
constexpr std::array<QRgb, 3> kChangeColours{qRgb(230, 0, 0), qRgb(0, 90, 255), qRgb(255, 210, 0)};

int ringOf(ChangeKind kind)
{
    switch (kind) {
    case ChangeKind::Tiles: return 0;
    case ChangeKind::Doors: return 1;
    case ChangeKind::Descriptions: return 2;
    case ChangeKind::Map: break;
    }
    return -1;
}

}  // namespace

QImage exportPicture(const MapDocument& document, const EditorState& state, const Tileset& tileset,
                     const DoorGeometry& doorGeometry, float scale, int layerLimit)
{
    const LayerChoice layers{layerLimit};
    const int size = exportPictureSize(scale);
    if (!allocationFits(std::uintmax_t(size) * std::uintmax_t(size) * 4))
        return {};
    QImage picture(size, size, QImage::Format_RGB32);
    QImage cell(kCellImageSize, kCellImageSize, QImage::Format_RGB32);
    if (picture.isNull() || cell.isNull())
        return {};
    picture.fill(Qt::white);
    const QRect sourceRect = tileSourceRectOf(state.tileSource);
    QPainter out(&picture);
    for (int x = 0; x < kMapSize; ++x) {
        for (int y = 0; y < kMapSize; ++y) {
            const QRect target = exportCellRect(x, y, scale);
            const auto position = document.descriptions.find(cellIndexOf(x, y));
            const bool doors = state.showDoors && document.grid.hasDoor(x, y);
            if (!position && !doors) {
                composeLayers(out, target, sourceRect, document.grid, x, y, tileset, layers);
                continue;
            }
            {
                QPainter painter(&cell);
                composeLayers(painter, kCellImageRect, kCellImageRect, document.grid, x, y, tileset, layers);
                if (position)
                    writeLabel(painter, locationIdOf(*position), kExportLabelStyle);
                if (doors)
                    drawDoorGlyphs(painter, document.grid.doors[x][y], doorGeometry, 4);
            }
            out.drawImage(target, cell, sourceRect);
        }
    }
    return picture;
}

void outlineChangedCells(QImage& picture, float scale, const std::vector<MapDifference>& differences)
{
    std::array<std::array<bool, kChangeColours.size()>, kCellCount> kinds{};
    for (const MapDifference& difference : differences)
        if (const int ring = ringOf(difference.kind); ring >= 0 && difference.cellIndex >= 0)
            kinds[difference.cellIndex][ring] = true;
    QPainter painter(&picture);
    for (int cell = 0; cell < kCellCount; ++cell) {
        const GridCell at = gridCellOf(cell);
        QRect ring = exportCellRect(at.x, at.y, scale);
        const int width = std::max(1, ring.width() / 16);
        for (std::size_t kind = 0; kind < kChangeColours.size(); ++kind) {
            if (!kinds[cell][kind])
                continue;
            // A frame of the given width just inside ring, then the next ring inside it.
            const QColor colour(kChangeColours[kind]);
            painter.fillRect(ring.x(), ring.y(), ring.width(), width, colour);
            painter.fillRect(ring.x(), ring.bottom() - width + 1, ring.width(), width, colour);
            painter.fillRect(ring.x(), ring.y(), width, ring.height(), colour);
            painter.fillRect(ring.right() - width + 1, ring.y(), width, ring.height(), colour);
            ring.adjust(width, width, -width, -width);
        }
    }
}

QString writePicture(const QImage& picture, const QString& fileName)
{
    const bool png = QFileInfo(fileName).suffix().compare("png", Qt::CaseInsensitive) == 0;
    QSaveFile file(fileName);
    // In a folder that takes no temporary file, a writable picture is rewritten in place.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Cannot write \"%1\": %2").arg(fileName, file.errorString());
    const bool written = png ? writePng(picture, file) : picture.save(&file, "BMP");
    if (!written || !file.commit())
        return QStringLiteral("Cannot write \"%1\": %2").arg(fileName, file.errorString());
    return {};
}

}  // namespace xemap
