#include "dialogs/DialogTestSupport.h"
#include "dialogs/Yesnomain.h"
#include "support/ScriptedPrompter.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace xemap;
using namespace xemap::testing;

namespace {

class YesnoWindowTest : public ::testing::Test {
protected:
    QLabel* message() { return yesNo->findChild<QLabel*>("Message"); }
    QPushButton* button(const char* name) { return yesNo->findChild<QPushButton*>(name); }

    // Shows the dialog as the user would see it, ends it the given way and returns
    // the result, so that the real buttons and keys are exercised.
    void answerBy(std::function<void(TYesNo&)> action)
    {
        prompter.expectDialog([this, action](QDialog& dialog) {
            seen << message()->text() + " | " + button("YesButton")->text() + " | " + button("NoButton")->text();
            dialog.show();
            action(static_cast<TYesNo&>(dialog));
            return dialog.result();
        });
    }

    QWidget mainWindow;
    std::unique_ptr<TYesNo> yesNo = [this] {
        mainWindow.move(50, 50);
        return std::make_unique<TYesNo>(mainWindow);
    }();
    ScriptedPrompter prompter;
    QStringList seen;
};

TEST_F(YesnoWindowTest, OnlyTheAffirmativeButtonAnswersYes)
{
    const std::pair<const char*, std::function<void(TYesNo&)>> endings[] = {
        {"yes button", [this](TYesNo&) { QTest::mouseClick(button("YesButton"), Qt::LeftButton); }},
        {"no button", [this](TYesNo&) { QTest::mouseClick(button("NoButton"), Qt::LeftButton); }},
        {"close box", [](TYesNo& dialog) { dialog.close(); }},
        {"escape", [](TYesNo& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); }},
    };
    for (const auto& [how, action] : endings) {
        answerBy(action);
        EXPECT_EQ(yesNo->Ask(prompter, "Go on?", "Yes, Go", "No, Stop"), std::string(how) == "yes button") << how;
        EXPECT_FALSE(yesNo->isVisible()) << how;
    }
    EXPECT_TRUE(prompter.allAnswersUsed());
}

TEST_F(YesnoWindowTest, EachQuestionShowsItsOwnCaptionsBesideTheMainWindow)
{
    EXPECT_EQ(yesNo->pos(), QPoint(250, 250));
    EXPECT_LT(button("NoButton")->x(), button("YesButton")->x());
    answerBy([](TYesNo& dialog) { dialog.reject(); });
    answerBy([](TYesNo& dialog) { dialog.reject(); });
    yesNo->Ask(prompter, "Would you like to save your map before exiting?", "Yes, Save", "No, Discard");
    yesNo->Ask(prompter, "File exists.  Overwrite?", "Yes, Overwrite", "Cancel Export");
    EXPECT_EQ(seen, QStringList({"Would you like to save your map before exiting? | Yes, Save | No, Discard",
                                 "File exists.  Overwrite? | Yes, Overwrite | Cancel Export"}));
    saveScreenshot(*yesNo, "yesno");
}

}  // namespace
