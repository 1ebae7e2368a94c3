#include "support/MainWindowTestSupport.h"

#include <QTimer>

using namespace xemap;
using namespace xemap::testing;

namespace {

class LifecycleWindowTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        loadColourTileset();
        form().registerTileset("Second", {"base.bmp", "null", "null", "null", "null"}, folder.path());
    }
    void paintSomething()
    {
        palette().TileBoxMouseUp(Qt::LeftButton, 45, 45);
        drag({cellCentre(1, 1)});
        form().document().grid.door(3, 3, North) = 2;
    }
};

TEST_F(LifecycleWindowTest, AFreshProgramFolderGetsTheDefaultRegistryAndItsNewItems)
{
    // The registry tests pin its bytes; here its default entries must reach the File menu.
    QStringList texts;
    for (QAction* a : form().findChild<QMenu*>("FileMenu")->actions())
        texts << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(texts.mid(0, 7),
              (QStringList{"Add Tileset...", "New City", "New Dungeon", "New Colours", "New Second", "-", "&Open..."}));
}

TEST_F(LifecycleWindowTest, FileNewAsksOnlyForAModifiedMapAndASaveThatFailsKeepsTheOld)
{
    paintSomething();
    saveTo("old.xem");
    action("Tileset3")->trigger();
    EXPECT_TRUE(prompter.dialogsShown.isEmpty());
    EXPECT_EQ(grid(), MapGrid()) << "tiles and doors cleared";
    EXPECT_EQ(form().document().tilesetIndex, 3);
    EXPECT_TRUE(form().DoorItem->isEnabled());
    EXPECT_FALSE(button("UndoButton")->isEnabled());
    EXPECT_TRUE(form().document().mapFileName.empty());
    EXPECT_EQ(form().windowTitle(), "XEMap");

    action("Tileset0")->trigger();
    EXPECT_FALSE(form().DoorItem->isEnabled());

    paintSomething();
    answerYesNo(false);
    action("Tileset3")->trigger();
    EXPECT_EQ(asked, QStringList{"Save Changes to Current Map?"});
    EXPECT_EQ(grid(), MapGrid());
    EXPECT_FALSE(form().session().modified());

    paintSomething();
    const MapGrid painted = grid();
    answerYesNo(true);
    rejectNextDialog();  // map name cancelled
    action("Tileset2")->trigger();
    EXPECT_EQ(grid(), painted) << "a save that did not happen leaves the map";
    EXPECT_TRUE(form().session().modified());
}

TEST_F(LifecycleWindowTest, ToolbarNewKeepsDoorsAndFillsEveryLayer)
{
    paintSomething();
    saveTo("saved.xem");
    prompter.expectDialog([](QDialog& dialog) {
        dialog.findChild<QListWidget*>("TilesetList")->setCurrentRow(3);
        return int(QDialog::Accepted);
    });
    button("NewButton")->click();
    EXPECT_EQ(form().document().tilesetIndex, 3);
    EXPECT_EQ(grid().door(3, 3, North), 2) << "the toolbar New keeps doors";
    for (int layer = 0; layer < kCellLayers; ++layer)
        EXPECT_EQ(grid().tile(1, 1, layer), 0) << "every layer takes the palette's tile " << layer;
    EXPECT_FALSE(form().session().modified());
}

TEST_F(LifecycleWindowTest, ClosingAsksOnlyForAModifiedMap)
{
    EXPECT_TRUE(form().close());
    form().show();
    paintSomething();
    answerYesNo(true);
    rejectNextDialog();
    EXPECT_FALSE(form().close()) << "the save did not happen";
    EXPECT_EQ(asked, QStringList{"Would you like to save your map before exiting?"});
    answerYesNo(false);
    EXPECT_TRUE(form().close());
}

TEST_F(LifecycleWindowTest, EscapeOrTheCloseBoxAtASaveQuestionCancelsTheWholeCommand)
{
    const struct {
        const char* command;
        const char* question;
        std::function<bool()> run;  // true when the editor is still open afterwards
    } commands[] = {
        {"exit", "Would you like to save your map before exiting?", [this] { return !form().close(); }},
        {"File > New", "Save Changes to Current Map?", [this] { return action("Tileset3")->trigger(), true; }},
        {"toolbar New", "Save Changes to Current Map?", [this] { return button("NewButton")->click(), true; }},
        {"Open", "Save Changes to Current Map?", [this] { return form().Open(), true; }},
    };
    paintSomething();
    saveTo("kept.xem");
    form().setWindowTitle("XEMap: Kept");
    paintSomething();
    form().document().grid.door(5, 5, East) = 3;
    const MapGrid painted = grid();
    for (const auto& command : commands) {
        for (const bool closeBox : {false, true}) {
            SCOPED_TRACE(std::string(command.command) + (closeBox ? " close box" : " Escape"));
            asked.clear();
            dismissYesNo(closeBox);
            EXPECT_TRUE(command.run()) << "the editor stays open";
            EXPECT_EQ(asked, QStringList{command.question});
            EXPECT_EQ(grid(), painted);
            EXPECT_TRUE(form().session().modified());
            EXPECT_TRUE(button("SaveButton")->isEnabled());
            EXPECT_EQ(form().document().mapFileName, folder.filePath("kept.xem").toStdString());
            EXPECT_EQ(form().windowTitle(), "XEMap: Kept");
        }
    }
    EXPECT_TRUE(prompter.allAnswersUsed()) << "nothing was asked after the cancelled question";
}

TEST_F(LifecycleWindowTest, ClosingTheMainWindowEndsTheProgramWithTheCommandsHelpOpen)
{
    windows->show();
    action("CommandsItem")->trigger();
    bool stillRunning = false;
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, [&stillRunning] {
        stillRunning = true;
        QCoreApplication::quit();
    });
    giveUp.start(5000);
    QTimer::singleShot(0, &form(), [this] { form().close(); });
    QCoreApplication::exec();
    EXPECT_FALSE(stillRunning);
}

}  // namespace
