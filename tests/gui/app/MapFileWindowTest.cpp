#include "support/MainWindowTestSupport.h"

using namespace xemap;
using namespace xemap::testing;

namespace {

// The windows with two more tilesets registered.
class MapFileWindowTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        loadColourTileset();
        form().registerTileset({{"Second", {"base.bmp", "null", "null", "null", "null"}}, folder.path().toStdString()});
    }
    void paintSomething()
    {
        palette().TileBoxMouseUp(Qt::LeftButton, 45, 45);
        drag({cellCentre(1, 1)});
        mapToSetUp(form().session()).grid.door(3, 3, North) = 2;
    }
    // What must not change when an open or another command is refused.
    auto identity()
    {
        return std::tuple(grid(), form().document().mapFileName, form().windowTitle(), form().session().modified(),
                          button("SaveButton")->isEnabled());
    }
    // Writes a map file whose 1024 cell lines are all the same.
    void writeMap(const QString& name, const std::string& header, const std::string& cell)
    {
        writeBytes(folder.filePath(name).toStdString(),
                   header + QByteArray::fromStdString(cell).repeated(1024).toStdString());
    }
};

TEST_F(MapFileWindowTest, SaveAndOpenChangeTheMapAndItsFileOnlyWhenTheySucceed)
{
    const std::string startFolder = form().document().mapDirectory;
    paintSomething();
    const MapGrid painted = grid();
    const QString missing = folder.filePath("missing/folder/kept.xem");
    saveAs("Kept", missing);
    EXPECT_EQ(takeSaid(), "Cannot use File.");
    // A map never saved still has no file, and the next dialog does not open where the write failed.
    EXPECT_EQ(std::tuple(form().document().mapFileName, form().document().mapDirectory, form().document().mapName,
                         form().windowTitle(), form().session().modified(), button("SaveButton")->isEnabled()),
              std::tuple("", startFolder, "Kept", "XEMap: Kept", true, true));

    // File > Save (Ctrl+S) asks for the name and the file again, and saves where the user chose.
    ASSERT_TRUE(QDir(folder.path()).mkdir("maps"));
    const QString kept = folder.filePath("maps/kept.xem");
    answerMapName("Kept");
    prompter.expectSaveFile(kept);
    action("SaveItem")->trigger();
    const FileDialogRequest& request = prompter.fileDialogs.back();
    EXPECT_EQ(std::tuple(request.directory.toStdString(), request.defaultSuffix, request.confirmOverwrite,
                         form().document().mapFileName, form().document().mapDirectory, form().session().modified()),
              std::tuple(startFolder, "xem", true, kept.toStdString(), folderOf(kept), false));

    action("Tileset1")->trigger();
    prompter.expectOpenFile(kept);
    button("OpenButton")->click();
    // Open leaves the Doors item as File > New set it.
    EXPECT_EQ(std::tuple(grid(), form().document().tilesetIndex, form().windowTitle(),
                         button("SaveButton")->isEnabled(), button("UndoButton")->isEnabled(),
                         action("DoorItem")->isEnabled()),
              std::tuple(painted, 2, "XEMap: Kept", false, false, true));

    // A refused open leaves the map, its file and its caption; an accepted update is offered for saving.
    paintSomething();
    const auto before = identity();
    // Escape at the question cancels the whole command.
    dismissYesNo();
    form().Open();
    EXPECT_EQ(identity(), before);

    // The file, what is said and the informative text after the file's path.
    writeMap("far.xem", "Far\r\n9\r\n", "0 0 99 0 0 0 0 0 0 0 0 0 \r\n");
    writeMap("old.xem", "Old\r\n0\r\n", "23 1\r\n");
    const std::tuple<const char*, QString, const char*> cases[] = {
        {"missing.xem", "Cannot open File.", ": No such file or directory"},
        {"far.xem",
         "This map uses tileset 9, which is not registered. Register it with File > Add Tileset... and open the map "
         "again.",
         nullptr},
        {"old.xem", "", nullptr}};
    for (const auto& [name, said, informative] : cases) {
        asked.clear();
        if (said.isEmpty())
            answerYesNo(false);
        answerYesNo(false);  // discard the unsaved changes
        openFile(folder.filePath(name));
        EXPECT_EQ(prompter.informativeTexts.value(0), informative ? folder.filePath(name) + informative : "");
        EXPECT_EQ(takeSaid(), said);
        EXPECT_EQ(asked.value(1), said.isEmpty() ? "This map is in single-layer format.  Update it?" : "");
        EXPECT_EQ(identity(), before) << name;
    }
    // An update the user accepts opens the map and offers it for saving.
    writeMap("old.xem", "Old\r\n0\r\n", "40 0\r\n");
    answerYesNo(false);
    answerYesNo(true);
    openFile(folder.filePath("old.xem"));
    EXPECT_EQ(grid().tile(5, 5, 0), 20);
    EXPECT_TRUE(button("SaveButton")->isEnabled());
}

TEST_F(MapFileWindowTest, NewAndExitAskAboutTheMapOnlyWhenItIsModified)
{
    // The default registry's tilesets and the ones added head the File menu as New items.
    const QList<QAction*> items = form().findChild<QMenu*>("FileMenu")->actions();
    EXPECT_EQ(
        std::tuple(items[0]->text(), items[1]->text(), items[4]->text(), items[5]->isSeparator(), items[6]->text()),
        std::tuple("Add Tileset...", "New City", "New Second", true, "&Open..."));
    paintSomething();
    saveTo("saved.xem");
    prompter.expectDialog([](QDialog& dialog) {
        dialog.findChild<QListWidget*>("TilesetList")->setCurrentRow(1);
        return int(QDialog::Accepted);
    });
    button("NewButton")->click();
    // The toolbar New keeps doors, and the layers take the palette's tile.
    EXPECT_EQ(std::tuple(form().document().tilesetIndex, grid().door(3, 3, North), grid().tile(1, 1, 1),
                         form().session().modified()),
              std::tuple(1, 2, 0, false));

    // File > New clears the doors too.
    paintSomething();
    saveTo("old.xem");
    action("Tileset3")->trigger();
    // Tiles and doors cleared, with no file, no history and the Doors item of this tileset.
    EXPECT_EQ(std::tuple(grid(), form().document().tilesetIndex, action("DoorItem")->isEnabled(),
                         button("UndoButton")->isEnabled(), form().document().mapFileName, form().windowTitle()),
              std::tuple(MapGrid(), 3, true, false, "", "XEMap"));

    action("Tileset0")->trigger();
    EXPECT_FALSE(action("DoorItem")->isEnabled());

    paintSomething();
    answerYesNo(false);
    action("Tileset3")->trigger();
    EXPECT_FALSE(form().session().modified());
    EXPECT_TRUE(form().close()) << "an unmodified map closes without a question";

    paintSomething();
    const MapGrid painted = grid();
    answerYesNo(true);
    rejectNextDialog();  // map name cancelled
    action("Tileset2")->trigger();
    EXPECT_EQ(grid(), painted) << "a save that did not happen leaves the map";
    EXPECT_TRUE(form().session().modified());

    answerYesNo(true);
    rejectNextDialog();
    EXPECT_FALSE(form().close()) << "the save did not happen";
    answerYesNo(false);
    EXPECT_TRUE(form().close());
}

TEST_F(MapFileWindowTest, ClosingTheMainWindowEndsTheProgramWithTheCommandsHelpOpen)
{
    windows->show();
    action("CommandsItem")->trigger();
    bool stillRunning = false;
    QObject guard;  // takes the timer along when the test ends
    QTimer::singleShot(5000, &guard, [&stillRunning] { stillRunning = true, QCoreApplication::quit(); });
    QTimer::singleShot(0, &form(), [this] { form().close(); });
    QCoreApplication::exec();
    EXPECT_FALSE(stillRunning);
}

}  // namespace
