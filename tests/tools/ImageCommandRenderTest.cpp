#include "mapfile/MapWriter.h"
#include "output/ExportPicture.h"
#include "tileset/Tileset.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace xemap {
namespace {

QString programFile(const QString& name) { return QDir(QCoreApplication::applicationDirPath()).filePath(name); }

struct ToolRun {
    int status;
    QString error;
};

ToolRun image(const QStringList& arguments)
{
    QProcess tool;
    tool.start(programFile("xemap-cli"), QStringList{"image"} + arguments);
    tool.waitForFinished(60000);
    return {tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1, QString::fromLocal8Bit(tool.readAllStandardError())};
}

// A City map: grass, a pond with its shore, a wall with a door, a described cell.
MapDocument paintedMap()
{
    MapDocument document;
    document.grid.fill(0);
    for (int x = 0; x < kMapSize; ++x)
        for (int y = 0; y < kMapSize; ++y) {
            document.grid.tile(x, y, 0) = 10;
            document.grid.tile(x, y, 1) = 99;
        }
    document.grid.tile(5, 5, 0) = 30;
    document.grid.tile(5, 4, 1) = 32;
    for (int x = 8; x < 14; ++x)
        document.grid.tile(x, 9, 2) = 10;
    document.grid.tile(11, 9, 2) = 15;
    document.grid.door(11, 9, Center) = 1;
    auto described = std::make_shared<XETile>();
    described->cellIndex = cellIndexOf(3, 3);
    document.descriptions.append(described);
    return document;
}

class ImageCommandTest : public testing::Test {
protected:
    void SetUp() override
    {
        map = folder.filePath("town.xem");
        ASSERT_TRUE(saveMapFile(paintedMap(), map.toStdString()));
    }
    QString path(const QString& name) const { return folder.filePath(name); }

    QTemporaryDir folder;
    QString map;
};

TEST_F(ImageCommandTest, WritesTheExportPictureAtEveryScale)
{
    Tileset city;
    ASSERT_TRUE(city.LoadTileset({programFile("tilesets/outdoor_bases.bmp"), programFile("tilesets/city_layer.bmp"),
                                  "null", "null", "null"})
                    .isEmpty());
    EditorState view;
    const MapDocument document = paintedMap();
    const struct {
        const char *scale, *file;
        float choice;
        int size;
    } cases[] = {{"1.00", "a.png", 1.0f, 1280}, {"0.50", "b.bmp", 0.5f, 640}, {"0.25", "c.PNG", 0.25f, 320},
                 {"0.10", "d.bmp", 0.1f, 128}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scale);
        const ToolRun run = image({map, path(c.file), "--scale", c.scale});
        ASSERT_EQ(run.status, 0) << run.error.toStdString();
        const QImage written = QImage(path(c.file)).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(written.size(), QSize(c.size, c.size));
        EXPECT_EQ(written, ExportPicture(document, view, city, kOtherTilesetDoorGeometry, exportScale(c.choice)));
    }
}

TEST_F(ImageCommandTest, BadRequestsFailWithOneLineAndLeaveTheOutputAlone)
{
    QDir(folder.path()).mkpath("tiles");
    QFile registry(path("tiles/XEMAP.INI"));
    ASSERT_TRUE(registry.open(QIODevice::WriteOnly));
    registry.write("Broken\r\ntilesets\\missing.bmp\r\nnull\r\nnull\r\nnull\r\nnull\r\n");
    registry.close();
    QFile kept(path("kept.png"));
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.write("kept");
    kept.close();

    const QStringList requests[] = {
        {map, path("kept.png"), "--tiles", path("tiles")},  // the sheet is missing
        {map, path("kept.png"), "--scale", "0.3"},
        {map, path("kept.gif")},
        {path("absent.xem"), path("kept.png")},
        {map},
    };
    for (const QStringList& request : requests) {
        SCOPED_TRACE(request.join(' ').toStdString());
        const ToolRun run = image(request);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.error.count('\n'), 1) << run.error.toStdString();
        QFile check(path("kept.png"));
        ASSERT_TRUE(check.open(QIODevice::ReadOnly));
        EXPECT_EQ(check.readAll(), "kept");
    }
    EXPECT_TRUE(image({map, path("kept.png"), "--tiles", path("tiles")}).error.contains("missing.bmp"));
}

}  // namespace
}  // namespace xemap
