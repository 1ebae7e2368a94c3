#include "gui/descriptions/Tiledescmain.h"
#include "support/MainWindowTestSupport.h"

using namespace xemap;
using namespace xemap::testing;

namespace {

class DescribeWindowTest : public ColourMapFixture {
protected:
    // Answers the next Describe Tile dialog, with the short name typed in it.
    void answerDescribe(int result, const std::string& name = "")
    {
        prompter.expectDialog([result, name](QDialog& dialog) {
            static_cast<TTileDescForm&>(dialog).workingDescription()->shortName = name;
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
    // A right press on the cell: the cursor moves there and the menu opens.
    void rightPress(int column, int row)
    {
        form().MapBoxMouseDown(Qt::RightButton, {}, cellCentre(column, row).x(), cellCentre(column, row).y());
        form().findChild<QMenu*>("MapMenu")->hide();
    }
    const DescriptionList& descriptions() { return form().document().descriptions; }
};

// Each opening lands at one spot beside the main window, and both dialogs stay whole on the screen.
// The first Change ID, accepted, moves the fifth description before the second.
TEST_F(DescribeWindowTest, DescribeAndChangeIdOpenBesideTheMainWindowAndWhollyOnTheScreen)
{
    for (int i = 1; i <= 5; ++i)
        describe(i, 0, "Place " + std::to_string(i));
    windows->show();
    hover(5, 0);
    std::vector<QPoint> describePlaces;
    const QRect screen = form().screen()->availableGeometry();
    // Shows the dialog, which must stay whole on the screen; only the first Change ID is accepted.
    auto showOnScreen = [&](QDialog& dialog) {
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        EXPECT_TRUE(screen.contains(dialog.frameGeometry())) << dialog.objectName().toStdString();
        dialog.hide();
        return int(describePlaces.size() == 1 ? QDialog::Accepted : QDialog::Rejected);
    };
    // The last main window sits near the screen's far corner: its dialogs must not leave the screen.
    for (const QPoint mainWindowAt : {QPoint(50, 50), QPoint(50, 50), QPoint(10, 30), screen.bottomRight()}) {
        form().move(mainWindowAt);
        prompter.expectDialog([&](QDialog& dialog) {
            describePlaces.push_back(dialog.pos());
            dialog.findChild<QPushButton*>("ChangeID")->click();
            return showOnScreen(dialog);
        });
        prompter.expectDialog([&](QDialog& dialog) {
            EXPECT_EQ(dialog.x(), 18);
            dialog.findChild<QListWidget*>("TileList")->setCurrentRow(1);
            return showOnScreen(dialog);
        });
        form().DescItemClick();
    }
    EXPECT_EQ(names(), (QStringList{"Place 1", "Place 5", "Place 2", "Place 3", "Place 4"}));
    EXPECT_EQ(describePlaces.at(0), describePlaces.at(1)) << "the same place before and after a first showing";
    EXPECT_EQ(describePlaces.at(2), describePlaces[0] - QPoint(40, 20)) << "it follows the main window";
}

// Done adds a description, Cancel leaves the list, and Remove All takes the cell's one or says there is none.
TEST_F(DescribeWindowTest, TheButtonThatEndsDescribeTileDecidesWhatBecomesOfTheDescription)
{
    hover(3, 4);
    answerDescribe(QDialog::Accepted, "Inn");
    QTest::keyClick(&form(), 'T');
    answerDescribe(QDialog::Rejected, "Lost");
    form().DescItemClick();
    EXPECT_EQ(names(), QStringList{"Inn"});

    describe(1, 1, "Well");
    describe(2, 2, "Gate");
    for (const int at : {1, 9}) {
        hover(at, at);
        answerDescribe(TTileDescForm::RemoveAllResult);
        form().DescItemClick();
        EXPECT_EQ(names(), (QStringList{"Inn", "Gate"}));
    }
    EXPECT_EQ(prompter.messages, QStringList{"Tile description not found"});
}

TEST_F(DescribeWindowTest, ThePopupItemsActOnTheSelectedRegionOrTheCellUnderTheCursorOrTheMenu)
{
    mapToSetUp(form().session()).grid.tile(1, 1, 1) = 12;
    describe(1, 1, "Inn");
    form().SelectButtonClick();
    drag({cellCentre(1, 1), cellCentre(2, 2)});
    EXPECT_FALSE(action("PasteRegion")->isEnabled());
    action("CopyRegion")->trigger();
    hover(10, 10);
    action("PasteRegion")->trigger();
    EXPECT_EQ(grid().tile(10, 10, 1), 12);

    form().SelectButtonClick();
    drag({cellCentre(1, 1), cellCentre(2, 2)});
    action("CutRegion")->trigger();
    EXPECT_EQ(grid().tile(1, 1, 1), 99);

    // The description items act on the cell the menu opened on.
    for (int i = 2; i < 6; ++i)
        describe(i, 0, "");
    rightPress(9, 9);
    EXPECT_FALSE(action("CutDesc")->isEnabled());
    rightPress(2, 0);
    action("CutDesc")->trigger();

    hover(0, 0);
    action("PasteDesc")->trigger();
    EXPECT_EQ(std::tuple(action("PasteDesc")->isEnabled(), descriptions().size()), std::tuple(false, 5));

    rightPress(4, 0);
    action("CopyDesc")->trigger();
    hover(7, 7);
    action("PasteDesc")->trigger();
    EXPECT_EQ(descriptions().at(5)->cellIndex, cellIndexOf(7, 7));

    // The Doors dialog sets the cursor cell's doors, and the rotate items turn its tile.
    rightPress(5, 5);
    answerDoors(5, 3, QDialog::Accepted);
    action("DoorItem")->trigger();
    EXPECT_EQ(grid().door(5, 5, Center), -3);

    // The rotate items turn the cursor cell on the current layer, and wrap.
    palette().TileBoxMouseUp(Qt::LeftButton, 45, 45);  // a tile of layer 1
    rightPress(3, 3);
    action("LRotate")->trigger();
    EXPECT_EQ(grid().rotation(3, 3, 1), 3);
    action("RRotate")->trigger();
    EXPECT_EQ(grid().rotation(3, 3, 1), 0);
}

}  // namespace
