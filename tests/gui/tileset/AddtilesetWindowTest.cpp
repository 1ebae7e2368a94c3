#include "gui/dialogs/Yesnomain.h"
#include "gui/tileset/Addtilesetformmain.h"
#include "gui/tileset/Newtilesetformmain.h"
#include "support/MainWindowTestSupport.h"
#include "support/WindowTest.h"

#include <sys/stat.h>

using namespace xemap;
using namespace xemap::testing;

namespace {

class AddtilesetWindowTest : public ::testing::Test {
protected:
    void SetUp() override { mainWindow.move(50, 50); }

    QString bitmap(const char* name, QSize size)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        image.save(folder.filePath(name), "BMP");
        return folder.filePath(name);
    }
    QLineEdit* box(const char* name) { return form.findChild<QLineEdit*>(name); }

    QTemporaryDir folder;
    QWidget mainWindow;
    ScriptedPrompter prompter;
    TYesNo yesNo{mainWindow};
    TAddTilesetForm form{prompter, yesNo, folder.path(), folder.path()};
};

TEST_F(AddtilesetWindowTest, ChecksTheSizeOfEachBitmapNamed)
{
    EXPECT_EQ(form.windowTitle(), "Add Tileset...");
    const QString sheet = bitmap("sheet.bmp", {802, 802});
    const QString small = bitmap("small.bmp", {640, 480});
    prompter.expectOpenFile(sheet);
    QTest::mouseClick(form.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    EXPECT_EQ(box("FileName0Text")->text(), sheet);
    EXPECT_EQ(prompter.fileDialogs.back().directory, folder.path());

    // A picture of another size is taken only when the user agrees to it; a cancelled
    // file dialog changes nothing.
    QStringList asked;
    for (bool yes : {false, true}) {
        prompter.expectOpenFile(small);
        prompter.expectDialog([&, yes](QDialog& dialog) {
            asked << dialog.findChild<QLabel*>("Message")->text();
            return int(yes ? QDialog::Accepted : QDialog::Rejected);
        });
        form.BrowseClick(4);
        EXPECT_EQ(box("FileName4Text")->text(), yes ? small : "");
        EXPECT_EQ(form.previewBitmap().size(), yes ? QSize(640, 480) : QSize(802, 802));
    }
    prompter.expectOpenFile("");
    form.BrowseClick(4);
    EXPECT_EQ(box("FileName4Text")->text(), small);
    EXPECT_EQ(asked, QStringList(2, "The specified Bitmap is not 802 x 802 pixels.  Proceed anyway?"));
}

TEST_F(AddtilesetWindowTest, ReportsEachTypedNameThatIsNoFile)
{
    const QString path = bitmap("a.bmp", {802, 802});
    box("FileName1Text")->setText(path.chopped(3));
    QTest::keyClicks(box("FileName1Text"), "bmp");
    // One report per change while the name is no file; none once it is.
    EXPECT_EQ(prompter.messages, QStringList(3, "No such file"));

    // A file that is no picture is named; checked on every keystroke, a pipe or a device is
    // refused at once, never waited on.
    const QString text = folder.filePath("notes.bmp"), pipe = folder.filePath("pipe.bmp");
    writeBytes(text.toStdString(), "not a picture");
    ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    for (const QString& name : {text, pipe, QString("/dev/zero"), QString()}) {
        prompter.messages.clear();
        box("FileName1Text")->setText(name);
        EXPECT_EQ(prompter.messages,
                  name.isEmpty() ? QStringList() : QStringList("Cannot read " + name + " as a bitmap."));
        if (name == pipe || name.startsWith("/dev")) {
            EXPECT_EQ(prompter.informativeTexts.last(), "not a regular file");
        }
    }

    // Relative names are looked up in the program folder, as the tileset loader reads them.
    ASSERT_TRUE(QDir(folder.path()).mkdir("tilesets"));
    bitmap("tilesets/rel.bmp", {802, 802});
    for (const QString typed : {"tilesets\\rel.bmp", "tilesets/rel.bmp"}) {
        box("FileName2Text")->setText(typed);
        EXPECT_TRUE(prompter.messages.isEmpty()) << typed.toStdString();
        EXPECT_EQ(form.previewBitmap().size(), QSize(802, 802));
    }
}

TEST_F(AddtilesetWindowTest, OkGivesTheEntryAndEmptiesTheBoxesCancelKeepsThem)
{
    const QString sheet = bitmap("base.bmp", {802, 802});
    // The name typed, how the dialog ends, and the entry it gives.
    const std::tuple<QString, bool, std::optional<TilesetEntry>> cases[] = {
        {"Caves", true, TilesetEntry{"Caves", {sheet.toStdString(), "null", "null", "null", "null"}}},
        {"Two\nLines", true, TilesetEntry{"Two Lines", {sheet.toStdString(), "null", "null", "null", "null"}}},
        {"Kept", false, std::nullopt}};
    for (const auto& [name, ok, entry] : cases) {
        prompter.expectDialog([&](QDialog&) {
            box("NameText")->setText(name);
            box("FileName0Text")->setText(sheet);
            return int(ok ? QDialog::Accepted : QDialog::Rejected);
        });
        EXPECT_EQ(form.Ask(), entry);
        EXPECT_EQ(box("NameText")->text() + box("FileName0Text")->text(), ok ? "" : name + sheet);
    }
    EXPECT_TRUE(prompter.messages.isEmpty());

    // Enter in a field means OK, never Browse.
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    box("NameText")->setFocus();
    QTest::keyClick(box("NameText"), Qt::Key_Return);
    EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST_F(AddtilesetWindowTest, ChooseTilesetGivesTheSelectedPosition)
{
    TNewTilesetForm chooser;
    auto* list = chooser.findChild<QListWidget*>("TilesetList");
    enum End { Ok, DoubleClick, Cancel };
    // The row selected (-1: none), how the window is left, and the position it gives.
    const std::tuple<int, End, std::optional<int>> cases[] = {
        {2, Ok, 2}, {1, DoubleClick, 1}, {-1, Ok, -1}, {0, Cancel, {}}};
    for (const auto& [row, end, chosen] : cases) {
        prompter.expectDialog([&](QDialog& dialog) {
            list->setCurrentRow(row);
            if (end == DoubleClick)
                Q_EMIT list->itemDoubleClicked(list->item(row));
            return end == DoubleClick ? dialog.result() : int(end == Ok ? QDialog::Accepted : QDialog::Rejected);
        });
        EXPECT_EQ(chooser.Choose(prompter, mainWindow, {"City", "Dungeon", "Caves"}), chosen) << row;
        EXPECT_EQ(chooser.pos(), QPoint(150, 150));
    }
    EXPECT_EQ(list->count(), 3) << "the list is filled afresh on each showing";
}

using AddTilesetCommandTest = MainWindowFixture;

TEST_F(AddTilesetCommandTest, AppendsSixLinesAndAddsTheMenuItem)
{
    const std::string registry = folder.filePath("XEMAP.INI").toStdString();
    const std::string before = fileBytes(registry);
    prompter.expectDialog([](QDialog& dialog) {
        dialog.findChild<QLineEdit*>("NameText")->setText("Caves");
        dialog.findChild<QLineEdit*>("FileName0Text")->setText("tilesets/indoor_bases.bmp");
        return int(QDialog::Accepted);
    });
    action("AddTilesetItem")->trigger();
    EXPECT_EQ(fileBytes(registry), before + "Caves\r\ntilesets/indoor_bases.bmp\r\nnull\r\nnull\r\nnull\r\nnull\r\n");
    EXPECT_EQ(action("Tileset2") ? action("Tileset2")->text() : "", "New Caves");
}

}  // namespace
