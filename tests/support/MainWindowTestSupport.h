#pragma once

#include "gui/app/XemapWindows.h"
#include "gui/app/Xemapmain.h"
#include "gui/tileset/Tilesetformmain.h"
#include "support/MapTestSupport.h"
#include "support/SessionSetUp.h"
#include "support/WindowTest.h"

namespace xemap::testing {

// A plain colour per tile and sheet, never magenta, so that pixels tell tiles apart.
inline QRgb tileColour(int sheet, int tile) { return qRgb(40 + 2 * tile, 60 * sheet, 250 - 2 * tile); }

// Writes an 802 x 802 sheet whose tile n is filled with tileColour(sheet, n).
inline void writeSheet(const QString& path, int sheet)
{
    QImage image(802, 802, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    for (int tile = 0; tile < 100; ++tile)
        painter.fillRect(1 + 80 * (tile % 10), 1 + 80 * (tile / 10), 80, 80, QColor(tileColour(sheet, tile)));
    painter.end();
    image.save(path, "BMP");
}

// The centre of cell (column, row) in view pixels at zoom 1.
inline QPoint cellCentre(int column, int row) { return {column * 20 + 10, row * 20 + 10}; }

// The windows as the program creates them, in a fresh temporary program folder.
class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        linkTilesets();
        start();
    }
    // The generated default tilesets, as the program folder holds them.
    void linkTilesets()
    {
        QFile::link(QCoreApplication::applicationDirPath() + "/tilesets", folder.filePath("tilesets"));
    }
    void start() { windows = std::make_unique<XemapWindows>(prompter, folder.path()); }

    TForm1& form() { return *windows->form1; }
    TTilesetForm& palette() { return *windows->tilesetForm; }
    QToolButton* button(const char* name) { return form().findChild<QToolButton*>(name); }
    QAction* action(const char* name) { return form().findChild<QAction*>(name); }
    const MapGrid& grid() { return form().document().grid; }

    // Registers and loads a two-layer tileset of plain colours.
    void loadColourTileset()
    {
        writeSheet(folder.filePath("base.bmp"), 0);
        writeSheet(folder.filePath("layer.bmp"), 1);
        form().registerTileset(
            {{"Colours", {"base.bmp", "layer.bmp", "null", "null", "null"}}, folder.path().toStdString()});
        palette().LoadTileset(form().tilesetCount() - 1);
        form().redrawAll();
    }

    // Gives the cell a description of that name, as no command would.
    void describe(int column, int row, const std::string& name)
    {
        mapToSetUp(form().session()).descriptions.append(describedTile(cellIndexOf(column, row), name));
    }
    // Shows the window and waits until it is the active one.
    bool activate(QWidget& window)
    {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }
    QRgb mapPixel(QPoint p) { return form().mapImage().pixel(p); }
    QString label(const char* name) { return form().findChild<QLabel*>(name)->text(); }
    QScrollBar* bar(const char* name) { return form().findChild<QScrollBar*>(name); }
    // Moves the cursor onto the cell.
    void hover(int column, int row) { moveTo(cellCentre(column, row)); }
    void moveTo(QPoint p) { form().MapBoxMouseMove({}, p.x(), p.y()); }
    // The message boxes shown so far, joined, and forgotten for the next step.
    QString takeSaid()
    {
        prompter.informativeTexts.clear();
        return std::exchange(prompter.messages, {}).join("|");
    }
    void rejectNextDialog()
    {
        prompter.expectDialog([](QDialog&) { return int(QDialog::Rejected); });
    }

    // Saves the map to a file of the program folder, as File > Save does, leaving it unmodified.
    void saveTo(const QString& name) { ASSERT_TRUE(form().session().save(folder.filePath(name).toStdString())); }

    // Save As with the name and file given in its dialogs.
    void saveAs(const QString& name, const QString& path)
    {
        answerMapName(name);
        prompter.expectSaveFile(path);
        form().Save(true);
    }
    void openFile(const QString& path)
    {
        prompter.expectOpenFile(path);
        form().Open();
    }

    // Sets a door in the Doors dialog and ends it with the result.
    void answerDoors(int position, int type, int result)
    {
        prompter.expectDialog([=](QDialog& dialog) {
            dialog.findChild<QListWidget*>("DoorList")->setCurrentRow(position);
            dialog.findChild<QComboBox*>("DoorType")->setCurrentIndex(type);
            return result;
        });
    }
    // Types the name into the next map name dialog and accepts it.
    void answerMapName(const QString& name)
    {
        prompter.expectDialog([name](QDialog& dialog) {
            dialog.findChild<QLineEdit*>()->setText(name);
            return int(QDialog::Accepted);
        });
    }

    // Answers the next confirmation question with Yes or No, or Escape for none, and records its text in `asked`.
    void answerYesNo(bool yes) { reply(yes ? "YesButton" : "NoButton"); }
    void dismissYesNo() { reply(nullptr); }
    void reply(const char* button)
    {
        prompter.expectDialog([this, button](QDialog& dialog) {
            asked << dialog.findChild<QLabel*>("Message")->text();
            dialog.show();
            button ? dialog.findChild<QPushButton*>(button)->click() : QTest::keyClick(&dialog, Qt::Key_Escape);
            return dialog.result();
        });
    }
    QStringList asked;

    // A press, a drag over the given view pixels and a release at the last one.
    void drag(std::initializer_list<QPoint> points, Qt::KeyboardModifiers modifiers = {})
    {
        form().MapBoxMouseDown(Qt::LeftButton, modifiers, points.begin()->x(), points.begin()->y());
        for (QPoint p : points)
            form().MapBoxMouseMove(modifiers, p.x(), p.y());
        form().MapBoxMouseUp(Qt::LeftButton, modifiers, (points.end() - 1)->x(), (points.end() - 1)->y());
    }

    QTemporaryDir folder;
    ScriptedPrompter prompter;
    std::unique_ptr<XemapWindows> windows;
};

// The windows over the plain-colour tileset, for the commands on map cells.
class ColourMapFixture : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        loadColourTileset();
    }
};

}  // namespace xemap::testing
