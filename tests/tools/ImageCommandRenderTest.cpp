#include "core/mapfile/MapWriter.h"
#include "render/ExportPicture.h"
#include "render/TilesetLoader.h"
#include "support/ToolRun.h"

#include <gtest/gtest.h>

#include <tuple>

namespace xemap {
namespace {

using namespace testing;

// A City map: grass, a wall piece with a door, a described cell.
MapDocument paintedMap()
{
    MapDocument document;
    for (int x = 0; x < kMapSize; ++x)
        for (int y = 0; y < kMapSize; ++y)
            document.grid.tile(x, y, 0) = 10;
    document.grid.tile(11, 9, 2) = 15;
    document.grid.door(11, 9, Center) = 1;
    document.descriptions.append(std::make_shared<XETile>(XETile{cellIndexOf(3, 3), "", {}, {}, {}, {}, {}, {}}));
    return document;
}

// The export picture on the City tileset at the dialog's scale choice.
QImage picture(const MapDocument& document, float scale)
{
    TilesetProblems problems;
    const auto city = TilesetLoader(programFolder()).loadSheets(defaultRegistry().front(), problems);
    EXPECT_TRUE(city && problems.empty());
    return exportPicture(document, {}, *city, kOtherTilesetDoorGeometry, exportScale(scale));
}

QImage written(const std::filesystem::path& file)
{
    return QImage(QString::fromStdString(file.string())).convertToFormat(QImage::Format_RGB32);
}

// The picture at the scale chosen (0.50 unless told). In a diff picture each changed cell of
// B's picture is outlined, a ring per kind of change from the border inwards: red tiles,
// blue doors, yellow descriptions; the rest is B's picture.
TEST(ImageCommandTest, WritesTheExportPictureAtTheChosenScaleAndOutlinesChangedCellsInTheDiff)
{
    TempFolder folder;
    MapDocument changed = paintedMap();
    changed.grid.tile(0, 0, 0) = 11;
    changed.grid.door(5, 5, North) = 1;
    changed.descriptions.at(0)->shortName = "Well";
    changed.grid.tile(7, 7, 1) = 12;
    changed.grid.door(7, 7, West) = 2;
    ASSERT_TRUE(saveMapFile(paintedMap(), folder / "town.xem") && saveMapFile(changed, folder / "changed.xem"));
    const std::tuple<std::vector<std::string>, float> cases[] = {{{"c.PNG"}, 0.5f},
                                                                 {{"d.bmp", "--scale", "0.10"}, 0.1f}};
    for (auto [arguments, scale] : cases) {
        arguments.insert(arguments.begin(), {"image", "town.xem"});
        const ToolRun run = cli(folder.path(), arguments);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(written(folder / arguments[2]), picture(paintedMap(), scale)) << arguments[2];
    }
    const ToolRun run = cli(folder.path(), {"diff", "town.xem", "changed.xem", "--image", "d.png", "--scale", "1.00"});
    ASSERT_EQ(run.status, 1) << run.err;
    const QImage diff = written(folder / "d.png");

    // A cell is 40 pixels at "1.00"; each ring is 2 pixels wide.
    const QRgb red = qRgb(230, 0, 0), blue = qRgb(0, 90, 255), yellow = qRgb(255, 210, 0);
    const std::tuple<int, int, QRgb> rings[] = {{0, 0, red},        {39, 20, red},   {201, 200, blue},
                                                {121, 158, yellow}, {280, 280, red}, {282, 282, blue}};
    for (const auto& [x, y, colour] : rings)
        EXPECT_EQ(diff.pixel(x, y), colour) << x << "," << y;
    const QImage plain = picture(changed, 1.0f);
    for (const QPoint& same : {QPoint(284, 284), QPoint(20, 20), QPoint(600, 600), QPoint(203, 203)})
        EXPECT_EQ(diff.pixel(same), plain.pixel(same)) << same.x() << "," << same.y();
}

}  // namespace
}  // namespace xemap
