#include "app/MainWindowTestSupport.h"

#include <QLabel>
#include <QScrollBar>

using namespace xemap;
using namespace xemap::testing;

namespace {

class MainWindowTest : public MainWindowFixture {};

TEST_F(MainWindowTest, StartsWithTheButtonsAndTextsOfAnUntouchedMap)
{
    EXPECT_EQ(form().windowTitle(), "XEMap");
    EXPECT_EQ(form().findChild<QLabel*>("Label1")->text(), "Normal Draw");
    EXPECT_EQ(form().findChild<QLabel*>("XTile")->text(), "000");
    EXPECT_EQ(form().findChild<QWidget*>("MapBox")->size(), QSize(640, 640));
    const std::pair<const char*, bool> enabled[] = {
        {"NewButton", true},      {"OpenButton", true},   {"SaveButton", false},  {"ExportButton", true},
        {"PrintButton", true},    {"UndoButton", false},  {"RedoButton", false},  {"ZoomInButton", true},
        {"ZoomOutButton", false}, {"RedrawButton", true}, {"SelectButton", true}, {"RotLeftButton", true},
        {"RotRightButton", true},
    };
    for (const auto& [name, on] : enabled) {
        ASSERT_NE(button(name), nullptr) << name;
        EXPECT_EQ(button(name)->isEnabled(), on) << name;
    }
    EXPECT_EQ(button("SelectButton")->toolTip(), "Selection Mode");
    for (const char* name : {"XScroll", "YScroll"}) {
        auto* bar = form().findChild<QScrollBar*>(name);
        EXPECT_FALSE(bar->isEnabled()) << name;
        EXPECT_EQ(bar->maximum(), 0) << name;
    }
    for (const char* name : {"ViewGrid", "ViewDoors", "ViewLabels", "ViewLargeTileset"})
        EXPECT_TRUE(action(name)->isChecked()) << name;
    EXPECT_EQ(action("SaveItem")->shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(action("ExitItem")->shortcut(), QKeySequence("Ctrl+Q"));
    EXPECT_EQ(palette().windowTitle(), "Tile Palette");
    EXPECT_EQ(palette().pos(), QPoint(form().x() + form().frameGeometry().width() + 20, form().y()));
    EXPECT_GE(form().width(), 660);
}

TEST_F(MainWindowTest, ZoomButtonsStopAtOneAndEight)
{
    auto* bar = form().findChild<QScrollBar*>("XScroll");
    const std::tuple<const char*, float, int, bool, bool> steps[] = {
        {"ZoomInButton", 2, 64, true, true},   {"ZoomInButton", 4, 96, true, true},
        {"ZoomInButton", 8, 112, false, true}, {"ZoomOutButton", 4, 96, true, true},
        {"ZoomOutButton", 2, 64, true, true},  {"ZoomOutButton", 1, 0, true, false},
    };
    for (const auto& [name, zoom, maximum, zoomIn, zoomOut] : steps) {
        button(name)->click();
        EXPECT_EQ(form().state().zoomFactor, zoom);
        EXPECT_EQ(form().state().cellSize, int(20 * zoom));
        EXPECT_EQ(bar->maximum(), maximum);
        EXPECT_EQ(bar->isEnabled(), zoom > 1);
        EXPECT_EQ(button("ZoomInButton")->isEnabled(), zoomIn);
        EXPECT_EQ(button("ZoomOutButton")->isEnabled(), zoomOut);
    }
}

TEST_F(MainWindowTest, ExportAndPrintAskForTheirConfigurationFirst)
{
    for (const char* name : {"ExportButton", "PrintButton"}) {
        prompter.expectDialog([](QDialog&) { return int(QDialog::Rejected); });
        button(name)->click();
    }
    EXPECT_EQ(prompter.dialogsShown, (QStringList{"TPrintConfig", "TPrintConfig"}));
    EXPECT_TRUE(prompter.allAnswersUsed());
}

} // namespace
