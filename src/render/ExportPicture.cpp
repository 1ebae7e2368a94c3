#include "render/ExportPicture.h"

#include "render/CellComposer.h"
#include "render/PngWriter.h"
#include "render/Tileset.h"

#include <QFileInfo>
#include <QPainter>
#include <QSaveFile>

namespace xemap {

namespace {

QRect exportCellRect(int x, int y, float scale)
{
    const auto at = [scale](int pixel) { return static_cast<int>(pixel * scale); };
    const QPoint topLeft(at(80 * x), at(80 * y));
    const QPoint end(at(80 * x + 80), at(80 * y + 80));
    return {topLeft, QSize(end.x() - topLeft.x(), end.y() - topLeft.y())};
}

}  // namespace

QImage exportPicture(const MapDocument& document, const EditorState& state, const Tileset& tileset,
                     const DoorGeometry& doorGeometry, float scale, int layerLimit)
{
    const LayerChoice layers{layerLimit};
    const int size = exportPictureSize(scale);
    QImage picture(size, size, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QImage cell(kCellImageSize, kCellImageSize, QImage::Format_RGB32);
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
