#include "core/mapfile/MapWriter.h"
#include "render/ExportPicture.h"
#include "render/TilesetLoader.h"
#include "support/ToolRun.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>
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
    auto described = std::make_shared<XETile>();
    described->cellIndex = cellIndexOf(3, 3);
    document.descriptions.append(described);
    return document;
}

class ImageCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(saveMapFile(paintedMap(), map.toStdString()));
        TilesetProblems problems;
        auto loaded = TilesetLoader(QCoreApplication::applicationDirPath().toStdString())
                          .loadSheets(defaultRegistry().front(), problems);
        ASSERT_TRUE(loaded && problems.empty());
        city = *loaded;
    }
    QString path(const QString& name) const { return folder.filePath(name); }
    // The tool's exit code and what it wrote on stderr.
    static std::pair<int, QString> cli(const QStringList& arguments)
    {
        return runProgram(programFile("xemap-cli"), arguments);
    }
    QImage picture(const MapDocument& document, float scale) const
    {
        return exportPicture(document, {}, *city, kOtherTilesetDoorGeometry, exportScale(scale));
    }

    QTemporaryDir folder;
    const QString map = path("town.xem");
    std::optional<Tileset> city;
};

TEST_F(ImageCommandTest, WritesTheExportPictureAtTheChosenScale)
{
    const std::tuple<QStringList, QString, float> cases[] = {{{}, "c.PNG", 0.5f}, {{"--scale", "0.10"}, "d.bmp", 0.1f}};
    for (const auto& [options, file, scale] : cases) {
        const auto [status, error] = cli(QStringList{"image", map, path(file)} + options);
        ASSERT_EQ(status, 0) << error.toStdString();
        EXPECT_EQ(QImage(path(file)).convertToFormat(QImage::Format_RGB32), picture(paintedMap(), scale))
            << file.toStdString();
    }
}

TEST_F(ImageCommandTest, BadRequestsFailWithOneLineAndLeaveTheOutputAlone)
{
    QDir(folder.path()).mkpath("tiles");
    writeBytes(path("tiles/XEMAP.INI").toStdString(),
               "Broken\r\ntilesets\\missing.bmp\r\nnull\r\nnull\r\nnull\r\nnull\r\n");
    writeBytes(path("kept.png").toStdString(), "kept");

    const QStringList requests[] = {
        {map, path("kept.png"), "--tiles", path("tiles")},  // the sheet is missing
        {map, path("kept.png"), "--scale", "0.3"},
        {map, path("kept.gif")},
        {map, path("missing/kept.png")},
    };
    for (const QStringList& request : requests) {
        SCOPED_TRACE(request.join(' ').toStdString());
        const auto [status, error] = cli(QStringList{"image"} + request);
        EXPECT_EQ(status, 1);
        EXPECT_EQ(error.count('\n'), 1) << error.toStdString();
        EXPECT_EQ(fileBytes(path("kept.png").toStdString()), "kept");
    }
    EXPECT_TRUE(cli({"image", map, path("kept.png"), "--tiles", path("tiles")}).second.contains("missing.bmp"));
}

// Each changed cell of B's picture is outlined, a ring per kind of change from the border
// inwards: red tiles, blue doors, yellow descriptions; the rest is B's picture.
TEST_F(ImageCommandTest, DiffPictureOutlinesChangedCellsByKind)
{
    MapDocument changed = paintedMap();
    changed.grid.tile(0, 0, 0) = 11;
    changed.grid.door(5, 5, North) = 1;
    changed.descriptions.at(0)->shortName = "Well";
    changed.grid.tile(7, 7, 1) = 12;
    changed.grid.door(7, 7, West) = 2;
    const QString other = path("changed.xem");
    ASSERT_TRUE(saveMapFile(changed, other.toStdString()));
    const auto [status, error] = cli({"diff", map, other, "--image", path("diff.png"), "--scale", "1.00"});
    ASSERT_EQ(status, 1) << error.toStdString();
    const QImage diff = QImage(path("diff.png")).convertToFormat(QImage::Format_RGB32);

    // A cell is 40 pixels at "1.00"; each ring is 2 pixels wide.
    const QRgb red = qRgb(230, 0, 0), blue = qRgb(0, 90, 255), yellow = qRgb(255, 210, 0);
    for (const auto& [x, y, colour] : {std::tuple{0, 0, red},
                                       {39, 20, red},
                                       {201, 200, blue},
                                       {121, 158, yellow},
                                       {280, 280, red},
                                       {282, 282, blue}})
        EXPECT_EQ(diff.pixel(x, y), colour) << x << "," << y;
    const QImage plain = picture(changed, 1.0f);
    for (const QPoint& same : {QPoint(284, 284), QPoint(20, 20), QPoint(600, 600), QPoint(203, 203)})
        EXPECT_EQ(diff.pixel(same), plain.pixel(same)) << same.x() << "," << same.y();
}

}  // namespace
}  // namespace xemap
