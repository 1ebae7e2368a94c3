#include "app/MainWindowTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QTabWidget>

using namespace xemap;
using namespace xemap::testing;

namespace {

class ScreenshotWindowTest : public MainWindowFixture {
  protected:
    // The default City tileset that the build generates beside the program.
    void loadCity()
    {
        const QDir program(QCoreApplication::applicationDirPath());
        ASSERT_TRUE(program.exists("tilesets/outdoor_bases.bmp"));
        const auto file = [&program](const char* name) {
            return program.filePath(QString("tilesets/") + name);
        };
        form().registerTileset("City",
                               {file("outdoor_bases.bmp"), file("city_layer.bmp"), "null", "null", "null"});
        palette().LoadTileset(form().tilesetNames.size() - 1);
        form().redrawAll();
    }
    void pick(int tile, Qt::MouseButton button = Qt::LeftButton)
    {
        palette().TileBoxMouseUp(button, (tile % 10) * 40 + 5, (tile / 10) * 40 + 5);
    }
    QTabWidget* tabs() { return palette().findChild<QTabWidget*>("PageControl1"); }
    QString shots()
    {
        const QString folder = QCoreApplication::applicationDirPath() + "/../screenshots";
        QDir().mkpath(folder);
        return folder;
    }
};

// Paints a little of each layer and writes both windows to build/screenshots for a look.
TEST_F(ScreenshotWindowTest, WritesTheMainWindowAndThePalette)
{
    loadCity();
    pick(4);
    drag({cellCentre(2, 2), cellCentre(3, 2), cellCentre(4, 3)});
    pick(10);
    drag({cellCentre(8, 3), cellCentre(9, 3), cellCentre(9, 4)});
    tabs()->setCurrentIndex(1);
    pick(5);
    drag({cellCentre(6, 6), cellCentre(7, 6)});
    tabs()->setCurrentIndex(0);
    button("SelectButton")->click();
    drag({cellCentre(10, 10), cellCentre(13, 12)});
    form().MapBoxMouseMove({}, 200, 400);

    const QString folder = shots();
    form().show();
    palette().show();
    EXPECT_TRUE(form().grab().save(folder + "/main-window.png"));
    EXPECT_TRUE(palette().grab().save(folder + "/palette.png"));
}

// A lake, a framed building, a wall and a road, seen at zoom 2.
TEST_F(ScreenshotWindowTest, WritesTheBrushesAtZoomTwo)
{
    loadCity();
    pick(30);
    for (int y = 3; y <= 5; ++y)
        drag({cellCentre(2, y), cellCentre(3, y), cellCentre(4, y), cellCentre(5, y)});
    tabs()->setCurrentIndex(1);
    palette().GroupButtonClick(0);
    drag({cellCentre(8, 2), cellCentre(12, 5)});
    palette().GroupButtonClick(8);
    drag({cellCentre(2, 9), cellCentre(3, 9), cellCentre(4, 9), cellCentre(5, 9), cellCentre(5, 10),
          cellCentre(5, 11)});
    drag({cellCentre(4, 10), cellCentre(5, 10), cellCentre(6, 10)});
    palette().GroupButtonClick(10);
    drag({cellCentre(0, 13), cellCentre(1, 13), cellCentre(2, 13), cellCentre(3, 13), cellCentre(3, 14),
          cellCentre(3, 15), cellCentre(4, 15), cellCentre(5, 15)});
    drag({cellCentre(2, 12), cellCentre(2, 13), cellCentre(2, 14)});
    button("ZoomInButton")->click();
    form().MapBoxMouseMove({}, 630, 630);
    form().show();
    EXPECT_TRUE(form().grab().save(shots() + "/brushes-zoom2.png"));
}

} // namespace
