#include "core/output/Listing.h"
#include "gui/output/MapOutput.h"
#include "gui/output/Printconfigmain.h"
#include "render/Tileset.h"
#include "support/MapTestSupport.h"
#include "support/SessionSetUp.h"
#include "support/WindowTest.h"

#include <QPrinterInfo>

using namespace xemap;
using xemap::testing::fileBytes;
using xemap::testing::ScriptedPrompter;
using xemap::testing::writeBytes;

namespace {

class MapOutputTest : public ::testing::Test {
protected:
    MapOutputTest()
    {
        document.mapDirectory = folder.path().toStdString();
        document.descriptions.append(std::make_shared<XETile>());
        document.descriptions.at(0)->shortName = "Gate";
    }

    // The configuration dialog answered with the boxes ticked and `size` in the scale or
    // font size box, then the file dialog with `name` when one is given.
    void choose(bool image, bool text, const QString& size, const QString& name = {})
    {
        prompter.expectDialog([=](QDialog& dialog) {
            auto& config = static_cast<TPrintConfig&>(dialog);
            config.PrintImage->setChecked(image);
            config.PrintText->setChecked(text);
            config.FontSize->setEditText(size);
            return int(QDialog::Accepted);
        });
        if (!name.isEmpty())
            prompter.expectSaveFile(path(name));
    }
    QString path(const QString& name) const { return folder.filePath(name); }
    std::string bytes(const QString& name) const { return fileBytes(path(name).toStdString()); }
    int pdfPages(const QString& name) const
    {
        static const QRegularExpression page(QStringLiteral("/Type\\s*/Page\\b(?!s)"));
        return int(QString::fromStdString(bytes(name)).count(page));
    }

    QTemporaryDir folder;
    EditSession session;
    MapDocument& document = mapToSetUp(session);
    EditorState state;
    Tileset tileset;
    ScriptedPrompter prompter;
    TPrintConfig config{nullptr};
    QStringList questions;
    bool overwrite = true;
    // The overwrite question: recorded, and answered by `overwrite`.
    const std::function<bool(const QString&, const QString&, const QString&)> ask =
        [this](const QString& question, const QString&, const QString&) {
            questions << question;
            return overwrite;
        };
    MapOutputContext output{session, state, tileset, kStartupDoorGeometry, prompter, config, ask};
};

}  // namespace

TEST_F(MapOutputTest, ExportsThePictureAtTheChosenScaleAndTheListing)
{
    // Cancelled or not, an export leaves the dialog as the print form, unticked.
    prompter.expectDialog([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Export Configuration");
        return int(QDialog::Rejected);
    });
    exportMap(output);
    EXPECT_EQ(config.windowTitle(), "Print Configuration");

    // A typed scale between the choices is taken as it is.
    choose(true, true, "0.75", "map.png");
    prompter.expectSaveFile(path("list.txt"));
    exportMap(output);
    EXPECT_EQ(bytes("map.png").substr(0, 4), "\x89PNG");
    EXPECT_EQ(QImage(path("map.png")).size(), QSize(960, 960));
    EXPECT_EQ(std::tuple(prompter.fileDialogs.at(0).title, prompter.fileDialogs.at(0).directory,
                         prompter.fileDialogs.at(1).title),
              std::tuple("Export Map Image", folder.path(), "Export Map Descriptions"));
    EXPECT_EQ(std::tuple(config.PrintImage->isChecked(), config.FontSize->currentText()), std::tuple(false, "10"));

    choose(true, false, "0.10", "tenth.BMP");
    exportMap(output);
    EXPECT_EQ(bytes("tenth.BMP").substr(0, 2), "BM");
}

TEST_F(MapOutputTest, AnExportKeepsTheOldFileUnlessToldToReplaceIt)
{
    writeBytes(path("list.txt").toStdString(), "old listing");
    overwrite = false;
    choose(false, true, "0.50", "list.txt");
    exportMap(output);
    EXPECT_EQ(questions, QStringList{"File exists.  Overwrite?"});
    EXPECT_EQ(bytes("list.txt"), "old listing");
    overwrite = true;
    choose(false, true, "0.50", "list.txt");
    exportMap(output);
    EXPECT_EQ(bytes("list.txt"), listingText(document.descriptions));

    // A target that cannot be replaced: a message naming it, nothing else changes.
    ASSERT_TRUE(QDir(folder.path()).mkdir("taken.txt"));
    choose(false, true, "0.50", "taken.txt");
    exportMap(output);
    EXPECT_TRUE(prompter.messages.size() == 1 && prompter.messages.front().contains(path("taken.txt")));
    EXPECT_TRUE(QFileInfo(path("taken.txt")).isDir());
}

TEST_F(MapOutputTest, ATypedScaleOrFontSizeOutsideTheChoicesIsRefusedWithAMessage)
{
    for (const QString typed : {"abc", "0.01", "100"}) {
        choose(true, false, typed);
        exportMap(output);
    }
    EXPECT_EQ(prompter.messages, QStringList(3, "The scale must be a number from 0.10 to 1.00."));

    // Refused before either job: nothing is printed, not even the picture.
    prompter.messages.clear();
    const QStringList sizes{"ten", "999", "-5", "0", "73", "", "12.5"};
    for (const QString& typed : sizes) {
        choose(true, true, typed);
        printMap(output);
    }
    EXPECT_EQ(prompter.messages, QStringList(sizes.size(), "The font size must be a whole number from 1 to 72."));
    EXPECT_TRUE(prompter.fileDialogs.empty()) << "no file is asked for a refused scale or size";
}

TEST_F(MapOutputTest, PrintsToPdfWithoutAPrinterAndNoScratchFile)
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "a printer is installed; printing would reach it";
    for (int i = 0; i < 60; ++i) {
        auto tile = std::make_shared<XETile>();
        tile->shortName = "Room";
        tile->areaText = {"A long room.", "With two lines."};
        document.descriptions.append(tile);
    }
    const QString before = QDir::currentPath();
    QDir::setCurrent(folder.path());

    choose(true, true, "8", "picture.pdf");
    prompter.expectSaveFile(path("small.pdf"));
    printMap(output);
    choose(false, true, "14", "large.pdf");
    printMap(output);
    QDir::setCurrent(before);

    EXPECT_EQ(pdfPages("picture.pdf"), 1);
    const int small = pdfPages("small.pdf");
    EXPECT_GE(small, 2);
    EXPECT_GT(pdfPages("large.pdf"), small) << "14-point lines fill more pages than 8-point ones";
    EXPECT_FALSE(QFile::exists(path("junk.bmp")));
    EXPECT_TRUE(config.PrintText->isChecked()) << "the print form keeps its settings";
    EXPECT_TRUE(prompter.messages.isEmpty());
}
