#include "core/mapfile/MapWriter.h"
#include "render/ExportPicture.h"
#include "render/Tileset.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace xemap {
namespace {

QString programFile(const QString& name) { return QCoreApplication::applicationDirPath() + '/' + name; }

// The tool's exit code and what it wrote on stderr.
std::pair<int, QString> image(const QStringList& arguments)
{
    QProcess tool;
    tool.start(programFile("xemap-cli"), QStringList{"image"} + arguments);
    tool.waitForFinished(60000);
    return {tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1,
            QString::fromLocal8Bit(tool.readAllStandardError())};
}

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

class ImageCommandTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(saveMapFile(paintedMap(), map.toStdString())); }
    QString path(const QString& name) const { return folder.filePath(name); }

    QTemporaryDir folder;
    const QString map = path("town.xem");
};

TEST_F(ImageCommandTest, WritesTheExportPictureAtTheChosenScale)
{
    Tileset city;
    ASSERT_TRUE(city.LoadTileset({programFile("tilesets/outdoor_bases.bmp"), programFile("tilesets/city_layer.bmp"),
                                  "null", "null", "null"})
                    .isEmpty());
    const struct {
        QStringList options;
        const char* file;
        float choice;
    } cases[] = {{{}, "c.PNG", 0.5f}, {{"--scale", "0.10"}, "d.bmp", 0.1f}};
    for (const auto& c : cases) {
        const auto [status, error] = image(QStringList{map, path(c.file)} + c.options);
        ASSERT_EQ(status, 0) << error.toStdString();
        const QImage expected = exportPicture(paintedMap(), {}, city, kOtherTilesetDoorGeometry, exportScale(c.choice));
        EXPECT_EQ(QImage(path(c.file)).convertToFormat(QImage::Format_RGB32), expected) << c.file;
    }
}

TEST_F(ImageCommandTest, BadRequestsFailWithOneLineAndLeaveTheOutputAlone)
{
    const auto write = [this](const QString& name, const QByteArray& bytes) {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    };
    QDir(folder.path()).mkpath("tiles");
    write("tiles/XEMAP.INI", "Broken\r\ntilesets\\missing.bmp\r\nnull\r\nnull\r\nnull\r\nnull\r\n");
    write("kept.png", "kept");

    const QStringList requests[] = {
        {map, path("kept.png"), "--tiles", path("tiles")},  // the sheet is missing
        {map, path("kept.png"), "--scale", "0.3"},
        {map, path("kept.gif")},
        {map, path("missing/kept.png")},
    };
    for (const QStringList& request : requests) {
        SCOPED_TRACE(request.join(' ').toStdString());
        const auto [status, error] = image(request);
        EXPECT_EQ(status, 1);
        EXPECT_EQ(error.count('\n'), 1) << error.toStdString();
        QFile check(path("kept.png"));
        ASSERT_TRUE(check.open(QIODevice::ReadOnly));
        EXPECT_EQ(check.readAll(), "kept");
    }
    EXPECT_TRUE(image({map, path("kept.png"), "--tiles", path("tiles")}).second.contains("missing.bmp"));
}

}  // namespace
}  // namespace xemap
