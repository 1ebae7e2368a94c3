#include "support/MainWindowTestSupport.h"

#include <QFile>

using namespace xemap;
using namespace xemap::testing;

namespace {

class MapFileWindowTest : public MainWindowFixture {
protected:
    void paintSomething()
    {
        palette().TileBoxMouseUp(Qt::LeftButton, 3 * 40 + 5, 40 + 5);
        drag({cellCentre(1, 2), cellCentre(2, 2)});
        form().document().grid.door(1, 2, Center) = -3;
    }
    void saveAs(const QString& name, const QString& path)
    {
        answerMapName(name);
        prompter.expectSaveFile(path);
        form().Save(true);
    }
    // What must not change when an open is refused.
    auto identity()
    {
        return std::tuple(grid(), form().document().mapFileName, form().windowTitle(), form().session().modified());
    }
    void writeFile(const QString& name, const QByteArray& bytes)
    {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    // A map file whose 1024 cell lines are all the same.
    static QByteArray uniformMap(const char* header, const char* cell)
    {
        QByteArray bytes = header;
        for (int i = 0; i < 1024; ++i)
            bytes += cell;
        return bytes;
    }
};

TEST_F(MapFileWindowTest, SaveAsThenOpenBringsTheMapBack)
{
    paintSomething();
    const MapGrid painted = grid();
    const QString path = folder.filePath("town.xem");
    saveAs("Town", path);
    ASSERT_EQ(prompter.fileDialogs.size(), 1u);
    EXPECT_EQ(prompter.fileDialogs[0].defaultSuffix, "xem") << "a name typed without extension gets .xem";
    EXPECT_TRUE(prompter.fileDialogs[0].confirmOverwrite);
    EXPECT_EQ(form().windowTitle(), "XEMap: Town");

    // Save of a named map with a file writes straight away.
    paintSomething();
    form().Save(false);
    EXPECT_TRUE(prompter.allAnswersUsed());
    EXPECT_FALSE(form().session().modified());

    action("Tileset1")->trigger();
    ASSERT_EQ(grid(), MapGrid());
    prompter.expectOpenFile(path);
    button("OpenButton")->click();
    EXPECT_EQ(grid(), painted);
    EXPECT_EQ(form().document().tilesetIndex, 0);
    EXPECT_EQ(form().windowTitle(), "XEMap: Town");
    EXPECT_FALSE(button("SaveButton")->isEnabled());
    EXPECT_FALSE(button("UndoButton")->isEnabled());
    EXPECT_TRUE(form().DoorItem->isEnabled()) << "Open leaves the Doors item as File > New set it";
    form().MapBoxMouseMove({}, 600, 600);
    EXPECT_EQ(form().mapImage().pixel(cellCentre(1, 2) + QPoint(-8, -8)),
              form().mapImage().pixel(cellCentre(2, 2) + QPoint(-8, -8)))
        << "both painted cells drawn alike";
}

TEST_F(MapFileWindowTest, AFailedSaveKeepsTheOldFileAndTheModifiedFlag)
{
    paintSomething();
    saveAs("Kept", folder.filePath("missing/folder/kept.xem"));
    EXPECT_EQ(prompter.messages, QStringList{"Cannot use File."});
    EXPECT_TRUE(form().session().modified());
    EXPECT_TRUE(button("SaveButton")->isEnabled());

    // Saving over a folder fails only at the rename.
    QDir(folder.path()).mkdir("taken.xem");
    saveAs("Kept", folder.filePath("taken.xem"));
    EXPECT_EQ(prompter.messages.size(), 2);
    EXPECT_TRUE(form().session().modified());
}

TEST_F(MapFileWindowTest, ARefusedOpenLeavesTheMapItsFileAndItsCaption)
{
    paintSomething();
    saveAs("Town", folder.filePath("town.xem"));
    paintSomething();
    const auto before = identity();

    struct Case {
        const char* name;
        QByteArray bytes;  // empty: the file does not exist
        const char* message;
    };
    const Case cases[] = {
        {"missing.xem", {}, "Cannot open File."},
        {"garbage.xem", "Broken\r\n0\r\nthis is no cell\r\n", "line"},
        {"far.xem", uniformMap("Far\r\n9\r\n", "0 0 99 0 0 0 0 0 0 0 0 0 \r\n"),
         "tileset 9, which is not registered. Register it with File > Add Tileset..."},
        {"old.xem", uniformMap("Old\r\n0\r\n", "23 1\r\n"), nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.bytes.isEmpty())
            writeFile(c.name, c.bytes);
        prompter.messages.clear();
        asked.clear();
        if (!c.message)
            answerYesNo(false);
        answerYesNo(false);  // discard the unsaved changes
        prompter.expectOpenFile(folder.filePath(c.name));
        form().Open();
        if (c.message) {
            ASSERT_EQ(prompter.messages.size(), 1);
            EXPECT_TRUE(prompter.messages[0].contains(c.message)) << prompter.messages[0].toStdString();
        } else {
            EXPECT_EQ(asked.value(1), "This map is in single-layer format.  Update it?");
            EXPECT_TRUE(prompter.messages.isEmpty());
        }
        EXPECT_EQ(identity(), before);
    }
}

TEST_F(MapFileWindowTest, AnUpgradedMapIsOfferedForSaving)
{
    writeFile("old.xem", uniformMap("Old\r\n0\r\n", "40 0\r\n"));
    answerYesNo(true);
    prompter.expectOpenFile(folder.filePath("old.xem"));
    form().Open();
    EXPECT_EQ(grid().tile(5, 5, 0), 20);
    EXPECT_TRUE(button("SaveButton")->isEnabled());
}

}  // namespace
