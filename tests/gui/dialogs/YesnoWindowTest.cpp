#include "gui/dialogs/Yesnomain.h"
#include "support/WindowTest.h"

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

    // Each way to end the dialog, and what AskOrCancel makes of it.
    using Answer = TYesNo::Answer;
    const std::tuple<const char*, std::function<void(TYesNo&)>, Answer> endings[4] = {
        {"yes button", [this](TYesNo&) { QTest::mouseClick(button("YesButton"), Qt::LeftButton); }, Answer::Yes},
        {"no button", [this](TYesNo&) { QTest::mouseClick(button("NoButton"), Qt::LeftButton); }, Answer::No},
        {"escape", [](TYesNo& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); }, Answer::Cancelled},
        {"close box", [](TYesNo& dialog) { dialog.close(); }, Answer::Cancelled},
    };

    QWidget mainWindow;
    std::unique_ptr<TYesNo> yesNo = [this] {
        mainWindow.move(50, 50);
        return std::make_unique<TYesNo>(mainWindow);
    }();
    ScriptedPrompter prompter;
    QStringList seen;
};

// The save questions must tell the discard button from a dialog closed without an answer;
// every other question keeps the close box as its negative answer.
TEST_F(YesnoWindowTest, OnlyTheAffirmativeButtonAnswersYesAndAskOrCancelTellsTheNegativeButtonFromAClose)
{
    EXPECT_EQ(yesNo->pos(), QPoint(250, 250));
    EXPECT_LT(button("NoButton")->x(), button("YesButton")->x());
    for (const auto& [how, action, answer] : endings) {
        answerBy(action);
        const QString question = QString("Ended by ") + how + "?";
        EXPECT_EQ(yesNo->Ask(prompter, question, "Yes, Go", QString("No, ") + how), answer == Answer::Yes) << how;
        EXPECT_EQ(seen.last(), question + " | Yes, Go | No, " + how);
        EXPECT_FALSE(yesNo->isVisible()) << how;
        answerBy(action);
        EXPECT_EQ(yesNo->AskOrCancel(prompter, "Save?", "Yes, Save", "No, Discard"), answer) << how;
    }
    EXPECT_TRUE(prompter.allAnswersUsed());
}

}  // namespace
