#include "support/MainWindowTestSupport.h"

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
    EXPECT_EQ(palette().pos(), QPoint(form().x() + form().frameGeometry().width() + 20, form().y()));
    EXPECT_GE(form().width(), 660);
}

TEST_F(MainWindowTest, ZoomButtonsStopAtOneAndEight)
{
    auto* bar = form().findChild<QScrollBar*>("XScroll");
    const auto clickThrice = [this](const char* name) {
        for (int i = 0; i < 3; ++i)
            button(name)->click();
    };
    clickThrice("ZoomInButton");
    EXPECT_EQ(form().state().zoomFactor, 8);
    EXPECT_EQ(bar->maximum(), 112);
    EXPECT_FALSE(button("ZoomInButton")->isEnabled());
    clickThrice("ZoomOutButton");
    EXPECT_EQ(form().state().zoomFactor, 1);
    EXPECT_FALSE(bar->isEnabled());
    EXPECT_FALSE(button("ZoomOutButton")->isEnabled());
    EXPECT_TRUE(button("ZoomInButton")->isEnabled());
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

}  // namespace
