#include "gui/descriptions/Tiledescmain.h"
#include "support/MainWindowTestSupport.h"

#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTest>

using namespace xemap;
using namespace xemap::testing;

namespace {

class DescribeWindowTest : public ColourMapFixture {
protected:
    // Answers the next Describe Tile dialog: `edit` changes its working description.
    void answerDescribe(int result, std::function<void(XETile&)> edit = {})
    {
        prompter.expectDialog([result, edit](QDialog& dialog) {
            if (edit)
                edit(*static_cast<TTileDescForm&>(dialog).workingDescription());
            return result;
        });
    }
    QStringList names()
    {
        QStringList result;
        for (const TilePtr& tile : form().document().descriptions.tiles())
            result << QString::fromStdString(tile->shortName);
        return result;
    }
    QImage cellPicture(int column, int row) { return form().mapImage().copy(column * 20, row * 20, 20, 20); }
};

TEST_F(DescribeWindowTest, DoneAddsTheDescriptionWithItsLabelAndUndoTakesItAway)
{
    const QImage bare = cellPicture(3, 4);
    hover(3, 4);
    answerDescribe(QDialog::Accepted, [](XETile& tile) { tile.shortName = "Inn"; });
    QTest::keyClick(&form(), 'T');
    ASSERT_EQ(names(), QStringList{"Inn"});
    hover(10, 10);
    EXPECT_NE(cellPicture(3, 4), bare) << "the cell shows its location ID";

    button("UndoButton")->click();
    EXPECT_TRUE(form().document().descriptions.empty());
    EXPECT_EQ(cellPicture(3, 4), bare);

    // Cancel leaves the list alone.
    hover(3, 4);
    answerDescribe(QDialog::Rejected, [](XETile& tile) { tile.shortName = "Lost"; });
    form().DescItemClick();
    EXPECT_TRUE(form().document().descriptions.empty());
}

TEST_F(DescribeWindowTest, ACancelledDialogThatEditedAStoredRecordLeavesTheMapModified)
{
    auto tile = std::make_shared<XETile>();
    tile->cellIndex = cellIndexOf(3, 4);
    auto rope = std::make_shared<XEItem>();
    rope->name = "Rope";
    tile->items.push_back(rope);
    form().document().descriptions.append(tile);
    hover(3, 4);
    prompter.expectDialog([](QDialog& dialog) {
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        dialog.findChild<QTabWidget*>("PageControl1")->setCurrentIndex(3);
        auto* items = dialog.findChild<QListWidget*>("ItemList");
        QTest::mouseClick(items->viewport(), Qt::LeftButton, {}, items->visualItemRect(items->item(0)).center());
        QWidget* value = dialog.findChild<QWidget*>("ItemValue");
        value->setFocus(Qt::MouseFocusReason);
        QTest::keyClicks(value, "5");
        QTest::mouseClick(dialog.findChild<QPushButton*>("ItemNew"), Qt::LeftButton);
        dialog.hide();
        return int(QDialog::Rejected);
    });
    form().DescItemClick();
    EXPECT_EQ(rope->value, "5");
    EXPECT_TRUE(form().session().modified());
}

TEST_F(DescribeWindowTest, ChangeIdMovesTheFifthDescriptionBeforeTheSecond)
{
    for (int i = 1; i <= 5; ++i)
        describe(i, 0, "Place " + std::to_string(i));
    hover(5, 0);
    prompter.expectDialog([](QDialog& dialog) {
        dialog.findChild<QPushButton*>("ChangeID")->click();
        return int(QDialog::Accepted);
    });
    prompter.expectDialog([](QDialog& dialog) {
        dialog.findChild<QListWidget*>("TileList")->setCurrentRow(1);
        return int(QDialog::Accepted);
    });
    form().DescItemClick();
    EXPECT_EQ(names(), (QStringList{"Place 1", "Place 5", "Place 2", "Place 3", "Place 4"}));
}

// Each opening lands at one spot beside the main window, and both dialogs stay whole on the screen.
TEST_F(DescribeWindowTest, DescribeAndChangeIdOpenAtTheirOwnPlacesOnTheScreen)
{
    windows->show();
    hover(2, 2);
    std::vector<QPoint> describePlaces;
    std::vector<QRect> frames;  // as shown
    auto recordFrame = [&frames](QDialog& dialog) {
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        frames.push_back(dialog.frameGeometry());
    };
    const QRect screen = form().screen()->availableGeometry();
    // The last main window sits near the screen's far corner: its dialogs must not leave the screen.
    for (const QPoint mainWindowAt : {QPoint(50, 50), QPoint(50, 50), QPoint(10, 30), screen.bottomRight()}) {
        form().move(mainWindowAt);
        prompter.expectDialog([&](QDialog& dialog) {
            describePlaces.push_back(dialog.pos());
            recordFrame(dialog);
            dialog.findChild<QPushButton*>("ChangeID")->click();
            dialog.hide();
            return int(QDialog::Rejected);
        });
        prompter.expectDialog([&](QDialog& dialog) {
            EXPECT_EQ(dialog.x(), 18);
            recordFrame(dialog);
            dialog.hide();
            return int(QDialog::Rejected);
        });
        form().DescItemClick();
    }
    ASSERT_EQ(describePlaces.size(), 4u);
    EXPECT_EQ(describePlaces[0], describePlaces[1]) << "the same place before and after a first showing";
    EXPECT_EQ(describePlaces[2], describePlaces[0] - QPoint(40, 20)) << "it follows the main window";
    for (const QRect& frame : frames)
        EXPECT_TRUE(screen.contains(frame))
            << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
}

TEST_F(DescribeWindowTest, RemoveAllTakesTheCellsDescriptionAndSaysWhenThereIsNone)
{
    describe(1, 1, "Well");
    describe(2, 2, "Gate");
    hover(1, 1);
    answerDescribe(TTileDescForm::RemoveAllResult);
    form().DescItemClick();
    EXPECT_EQ(names(), QStringList{"Gate"});

    hover(9, 9);
    answerDescribe(TTileDescForm::RemoveAllResult);
    form().DescItemClick();
    EXPECT_EQ(prompter.messages, QStringList{"Tile description not found"});
    EXPECT_EQ(names(), QStringList{"Gate"});
}

}  // namespace
