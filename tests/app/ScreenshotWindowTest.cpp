#include "app/MainWindowTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QTabWidget>

using namespace xemap;
using namespace xemap::testing;

namespace {

class ScreenshotWindowTest : public MainWindowFixture {};

// Paints a little of each layer and writes both windows to build/screenshots for a look.
TEST_F(ScreenshotWindowTest, WritesTheMainWindowAndThePalette)
{
    // The default City tileset that the build generates beside the program.
    const QDir program(QCoreApplication::applicationDirPath());
    ASSERT_TRUE(program.exists("tilesets/outdoor_bases.bmp"));
    form().registerTileset("City", {program.filePath("tilesets/outdoor_bases.bmp"),
                                    program.filePath("tilesets/city_layer.bmp"), "null", "null", "null"});
    palette().LoadTileset(form().tilesetNames.size() - 1);
    form().redrawAll();

    const auto pick = [this](int tile) { palette().TileBoxMouseUp(Qt::LeftButton, (tile % 10) * 40 + 5, (tile / 10) * 40 + 5); };
    auto* tabs = palette().findChild<QTabWidget*>("PageControl1");
    pick(4);
    drag({cellCentre(2, 2), cellCentre(3, 2), cellCentre(4, 3)});
    pick(10);
    drag({cellCentre(8, 3), cellCentre(9, 3), cellCentre(9, 4)});
    tabs->setCurrentIndex(1);
    pick(5);
    drag({cellCentre(6, 6), cellCentre(7, 6)});
    tabs->setCurrentIndex(0);
    button("SelectButton")->click();
    drag({cellCentre(10, 10), cellCentre(13, 12)});
    form().MapBoxMouseMove({}, 200, 400);

    const QString folder = QCoreApplication::applicationDirPath() + "/../screenshots";
    ASSERT_TRUE(QDir().mkpath(folder));
    form().show();
    palette().show();
    EXPECT_TRUE(form().grab().save(folder + "/main-window.png"));
    EXPECT_TRUE(palette().grab().save(folder + "/palette.png"));
}

}  // namespace
