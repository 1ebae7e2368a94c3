#include "app/MainWindowTestSupport.h"

#include <QLabel>
#include <QScrollBar>

using namespace xemap;
using namespace xemap::testing;

namespace {

class MainWindowTest : public MainWindowFixture {};

TEST_F(MainWindowTest, StartsWithAnUntouchedMapAndThePaletteBesideIt)
{
    EXPECT_EQ(form().windowTitle(), "XEMap");
    EXPECT_EQ(form().findChild<QLabel*>("Label1")->text(), "Normal Draw");
    for (const char* name : {"SaveButton", "UndoButton", "RedoButton"})
        EXPECT_FALSE(button(name)->isEnabled()) << name;
    for (const char* name : {"ViewGrid", "ViewDoors", "ViewLabels", "ViewLargeTileset"})
        EXPECT_TRUE(action(name)->isChecked()) << name;
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
