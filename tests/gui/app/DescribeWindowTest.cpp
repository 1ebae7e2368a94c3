#include "gui/descriptions/Tiledescmain.h"
#include "support/MainWindowTestSupport.h"

#include <QListWidget>
#include <QPushButton>
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
