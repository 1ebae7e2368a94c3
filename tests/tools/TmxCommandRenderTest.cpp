#include "core/mapfile/MapWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

namespace xemap {
namespace {

QString programFile(const QString& name) { return QCoreApplication::applicationDirPath() + '/' + name; }

// Exit code and stderr of a program run to its end.
std::pair<int, QString> run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return {-1, "did not finish: " + process.errorString()};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardError())};
}

// Every tile at every rotation on the base, the base overlay and the overlay of the
// Dungeon tileset, with each layer's empty value here and there.
MapDocument everyTurnedTile()
{
    MapDocument document;
    document.tilesetIndex = 1;
    for (int x = 0; x < kMapSize; ++x)
        for (int y = 0; y < kMapSize; ++y)
            for (int layer = 0; layer < 3; ++layer) {
                const int turn = x * kMapSize + y + 33 * layer;
                document.grid.tile(x, y, layer) = turn % 100;
                document.grid.rotation(x, y, layer) = turn / 100 % 4;
            }
    return document;
}

// Tiled leaves keyed-out pixels transparent where XEMap keeps the base tile's magenta.
QImage opaqueOnMagenta(const QImage& picture)
{
    QImage flat(picture.size(), QImage::Format_RGB32);
    flat.fill(0xffff00ff);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (qAlpha(picture.pixel(x, y)) == 255)
                flat.setPixel(x, y, picture.pixel(x, y));
    return flat;
}

// Which of each pair of rows and columns of the full picture a half-size picture
// shows: the same choice all over, or nothing when no choice gives the picture.
std::optional<QPoint> halfSizeChoice(const QImage& half, const QImage& full)
{
    for (const QPoint choice : {QPoint(0, 0), QPoint(1, 1), QPoint(0, 1), QPoint(1, 0)}) {
        bool same = half.size() * 2 == full.size();
        for (int y = 0; same && y < half.height(); ++y)
            for (int x = 0; same && x < half.width(); ++x)
                same = half.pixel(x, y) == full.pixel(2 * x + choice.x(), 2 * y + choice.y());
        if (same)
            return choice;
    }
    return std::nullopt;
}

// Pixels of a half-size picture that show none of the pixels around the two rows and
// two columns they stand for. A scaler that turns a tile before it drops rows may keep
// the row next to the pair, and it chooses for each layer on its own: where an overlay's
// edge lies, the half-size cell can pair a base pixel and an overlay pixel that no
// full-size pixel pairs.
int pixelsFromElsewhere(const QImage& half, const QImage& full)
{
    const auto near = [&full](int x, int y, QRgb shown) {
        for (int row = std::max(2 * y - 1, 0); row <= std::min(2 * y + 2, full.height() - 1); ++row)
            for (int column = std::max(2 * x - 1, 0); column <= std::min(2 * x + 2, full.width() - 1); ++column)
                if (full.pixel(column, row) == shown)
                    return true;
        return false;
    };
    int strays = 0;
    for (int y = 0; y < half.height(); ++y)
        for (int x = 0; x < half.width(); ++x)
            strays += !near(x, y, half.pixel(x, y));
    return strays;
}

TEST(TmxCommand, TiledDrawsTheWrittenMapAsTheImageCommandDoes)
{
    QTemporaryDir folder;
    const QString map = folder.filePath("every.xem"), tmx = folder.filePath("maps/every.tmx");
    ASSERT_TRUE(saveMapFile(everyTurnedTile(), map.toStdString()));
    ASSERT_TRUE(QDir(folder.path()).mkpath("maps"));
    const auto [written, why] = run(programFile("xemap-cli"), {"tmx", map, tmx});
    ASSERT_EQ(written, 0) << why.toStdString();
    ASSERT_EQ(run(programFile("xemap-cli"), {"image", map, folder.filePath("ours.png"), "--scale", "1.00"}).first, 0);

    // Tiled at full size shows every source pixel; at half size, as the image command,
    // it drops one of each pair of rows and columns as the image command does, or the other.
    for (const QString scale : {"1", "0.5"}) {
        const auto [status, error] =
            run("tmxrasterizer", {"--scale", scale, "--no-smoothing", tmx, folder.filePath("tiled" + scale + ".png")});
        ASSERT_EQ(status, 0) << "tmxrasterizer (Debian package tiled): " << error.toStdString();
    }
    const QImage full = opaqueOnMagenta(QImage(folder.filePath("tiled1.png")));
    const QImage half = opaqueOnMagenta(QImage(folder.filePath("tiled0.5.png")));
    const QImage ours = QImage(folder.filePath("ours.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(full.size(), QSize(2560, 2560));
    EXPECT_TRUE(halfSizeChoice(ours, full).has_value());
    ASSERT_EQ(half.size(), ours.size());
    EXPECT_LT(pixelsFromElsewhere(half, full), half.width() * half.height() / 1000);
}

}  // namespace
}  // namespace xemap
