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
    loadColourTileset();
    palette().TileBoxMouseUp(Qt::LeftButton, 3 * 40 + 5, 2 * 40 + 5);
    drag({cellCentre(2, 2), cellCentre(3, 2), cellCentre(4, 3)});
    palette().findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);
    palette().TileBoxMouseUp(Qt::LeftButton, 5 * 40 + 5, 5);
    drag({cellCentre(6, 6), cellCentre(7, 6)});
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
