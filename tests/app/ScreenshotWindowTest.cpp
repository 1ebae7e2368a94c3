#include "app/MainWindowTestSupport.h"
#include "dialogs/DialogTestSupport.h"

#include <QTabWidget>

using namespace xemap;
using namespace xemap::testing;

namespace {

// Painted with City, the first tileset of the default registry, which the palette loads at start.
class ScreenshotWindowTest : public MainWindowFixture {
  protected:
    void pick(int tile)
    {
        palette().TileBoxMouseUp(Qt::LeftButton, (tile % 10) * 40 + 5, (tile / 10) * 40 + 5);
    }
    QTabWidget* tabs() { return palette().findChild<QTabWidget*>("PageControl1"); }
};

// A lake, a framed building, a wall, a road and a selected region; both windows are written to
// build/screenshots for a look, and the map once more at zoom 2.
TEST_F(ScreenshotWindowTest, WritesBothWindowsAndTheBrushesAtZoomTwo)
{
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
    button("SelectButton")->click();
    drag({cellCentre(10, 10), cellCentre(13, 12)});
    form().MapBoxMouseMove({}, 200, 400);

    form().show();
    palette().show();
    saveScreenshot(form(), "main-window");
    saveScreenshot(palette(), "palette");
    button("ZoomInButton")->click();
    form().MapBoxMouseMove({}, 630, 630);
    saveScreenshot(form(), "brushes-zoom2");
}

} // namespace
