#include "gui/dialogs/Yesnomain.h"
#include "support/WindowTest.h"

using namespace xemap;
using namespace xemap::testing;

namespace {

// The save questions must tell the discard button from a dialog closed without an answer;
// every other question keeps the close box as its negative answer.
TEST(YesnoWindowTest, OnlyTheAffirmativeButtonAnswersYesAndAskOrCancelTellsTheNegativeButtonFromAClose)
{
    QWidget mainWindow;
    mainWindow.move(50, 50);
    TYesNo yesNo(mainWindow);
    ScriptedPrompter prompter;
    const auto button = [&](const char* name) { return yesNo.findChild<QPushButton*>(name); };
    EXPECT_EQ(yesNo.pos(), QPoint(250, 250));
    EXPECT_LT(button("NoButton")->x(), button("YesButton")->x());

    // Each way to end the dialog, and what AskOrCancel makes of it.
    using Answer = TYesNo::Answer;
    const std::tuple<const char*, std::function<void()>, Answer> endings[] = {
        {"yes button", [&] { QTest::mouseClick(button("YesButton"), Qt::LeftButton); }, Answer::Yes},
        {"no button", [&] { QTest::mouseClick(button("NoButton"), Qt::LeftButton); }, Answer::No},
        {"escape", [&] { QTest::keyClick(&yesNo, Qt::Key_Escape); }, Answer::Cancelled},
        {"close box", [&] { yesNo.close(); }, Answer::Cancelled}};
    for (const auto& [how, end, answer] : endings) {
        // The question and both buttons' texts as shown, then the real buttons and keys end it.
        QString seen;
        for (int ask = 0; ask < 2; ++ask)
            prompter.expectDialog([&](QDialog& dialog) {
                seen = yesNo.findChild<QLabel*>("Message")->text() + " | " + button("YesButton")->text() + " | "
                       + button("NoButton")->text();
                dialog.show();
                end();
                return dialog.result();
            });
        EXPECT_EQ(yesNo.Ask(prompter, how, "Yes, Go", QString("No, ") + how), answer == Answer::Yes) << how;
        EXPECT_EQ(seen, QString(how) + " | Yes, Go | No, " + how);
        EXPECT_FALSE(yesNo.isVisible()) << how;
        EXPECT_EQ(yesNo.AskOrCancel(prompter, "Save?", "Yes, Save", "No, Discard"), answer) << how;
    }
}

}  // namespace
