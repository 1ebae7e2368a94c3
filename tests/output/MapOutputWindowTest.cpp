#include "output/Listing.h"
#include "output/MapOutput.h"
#include "output/Printconfigmain.h"
#include "support/ScriptedPrompter.h"
#include "tileset/Tileset.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>


using namespace xemap;
using xemap::testing::ScriptedPrompter;

namespace {

constexpr QRgb kBaseColour = 0xff3060c0;

Tileset plainTileset()
{
    LayerSheets sheets;
    sheets[0] = QImage(802, 802, QImage::Format_RGB32);
    sheets[0].fill(kBaseColour);
    return Tileset(sheets);
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int pdfPages(const QString& path)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page\\b(?!s)"));
    return int(QString::fromLatin1(readAll(path)).count(page));
}

class MapOutputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        document.mapDirectory = folder.path().toStdString();
        state.layerCount = 2;
        auto tile = std::make_shared<XETile>();
        tile->cellIndex = cellIndexOf(1, 0);
        tile->shortName = "Gate";
        tile->items.push_back(std::make_shared<XEItem>());
        tile->items.back()->name = "Key";
        document.descriptions.append(tile);
    }

    // The configuration dialog answered with the boxes ticked and the item chosen.
    void chooseInDialog(bool image, bool text, int item)
    {
        prompter.expectDialog([=](QDialog& dialog) {
            auto& config = static_cast<TPrintConfig&>(dialog);
            config.PrintImage->setChecked(image);
            config.PrintText->setChecked(text);
            config.FontSize->setCurrentIndex(item);
            return int(QDialog::Accepted);
        });
    }

    QString path(const QString& name) const { return folder.filePath(name); }

    MapOutputContext context()
    {
        return {document, state, tileset, kStartupDoorGeometry, prompter, config,
                [this](const QString& question, const QString&, const QString&) {
                    questions.push_back(question);
                    return overwrite;
                }};
    }

    void expectPrintForm() const
    {
        EXPECT_EQ(config.windowTitle(), "Print Configuration");
        EXPECT_EQ(config.PrintImage->text(), "Print Map Image");
        EXPECT_EQ(config.PrintText->text(), "Print Descriptions");
        EXPECT_EQ(config.Label1->text(), "Font size:");
        EXPECT_FALSE(config.PrintImage->isChecked());
        EXPECT_FALSE(config.FontSize->isEnabled());
        EXPECT_EQ(config.FontSize->count(), 4);
        EXPECT_EQ(config.FontSize->currentText(), "10");
    }

    QTemporaryDir folder;
    MapDocument document;
    EditorState state;
    Tileset tileset = plainTileset();
    ScriptedPrompter prompter;
    TPrintConfig config{nullptr};
    QStringList questions;
    bool overwrite = true;
};

}  // namespace

TEST_F(MapOutputTest, ExportsThePictureAtEachScaleAsBmpOrPng)
{
    struct Case {
        int item;
        int size;
        const char* name;
        QByteArray magic;
    };
    const Case cases[] = {{0, 1280, "map.bmp", "BM"}, {1, 640, "map.png", "\x89PNG"},
                          {2, 320, "quarter.BMP", "BM"}, {3, 128, "tenth.png", "\x89PNG"}};
    for (const auto& c : cases) {
        chooseInDialog(true, false, c.item);
        prompter.expectSaveFile(path(c.name));
        auto output = context();
        Export(output);
        const QImage picture(path(c.name));
        ASSERT_EQ(picture.size(), QSize(c.size, c.size)) << c.name;
        EXPECT_TRUE(readAll(path(c.name)).startsWith(c.magic)) << c.name;
        const int cell = c.size / 32;
        EXPECT_EQ(picture.pixel(5 * cell + cell / 2, 7 * cell + cell / 2), kBaseColour) << c.name;
        expectPrintForm();
    }
    const auto& request = prompter.fileDialogs.front();
    EXPECT_EQ(request.title, "Export Map Image");
    EXPECT_EQ(request.defaultSuffix, "BMP");
    EXPECT_EQ(request.directory, folder.path());
    EXPECT_TRUE(prompter.allAnswersUsed());
}

TEST_F(MapOutputTest, ExportsTheListingAndKeepsOldFilesOnCancelOrFailure)
{
    prompter.expectDialog([this](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Export Configuration");
        EXPECT_EQ(config.PrintText->text(), "Export Descriptions");
        EXPECT_EQ(config.Label1->text(), "Scale image:");
        EXPECT_EQ(config.FontSize->currentText(), "0.50");
        return int(QDialog::Rejected);
    });
    auto output = context();
    Export(output);
    expectPrintForm();

    QFile old(path("list.txt"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old listing");
    old.close();

    overwrite = false;
    chooseInDialog(false, true, 1);
    prompter.expectSaveFile(path("list.txt"));
    Export(output);
    EXPECT_EQ(questions, QStringList{"File exists.  Overwrite?"});
    EXPECT_EQ(readAll(path("list.txt")), "old listing");

    overwrite = true;
    chooseInDialog(false, true, 1);
    prompter.expectSaveFile(path("list.txt"));
    Export(output);
    const std::string expected = listingText(document.descriptions);
    EXPECT_EQ(readAll(path("list.txt")).toStdString(), expected);
    EXPECT_EQ(document.descriptions.at(0)->items.front()->value, "0 gp");

    // A target that cannot be replaced: a message naming it, nothing else changes.
    ASSERT_TRUE(QDir(folder.path()).mkdir("taken.txt"));
    chooseInDialog(false, true, 1);
    prompter.expectSaveFile(path("taken.txt"));
    Export(output);
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages.front().contains(path("taken.txt")));
    EXPECT_TRUE(QFileInfo(path("taken.txt")).isDir());
    EXPECT_EQ(readAll(path("list.txt")).toStdString(), expected);
    EXPECT_EQ(prompter.fileDialogs.back().title, "Export Map Descriptions");
    EXPECT_EQ(prompter.fileDialogs.back().defaultSuffix, "TXT");
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

    chooseInDialog(true, true, 0);
    prompter.expectSaveFile(path("picture.pdf"));
    prompter.expectSaveFile(path("small.pdf"));
    auto output = context();
    Print(output);
    chooseInDialog(false, true, 3);
    prompter.expectSaveFile(path("large.pdf"));
    Print(output);
    QDir::setCurrent(before);

    EXPECT_EQ(pdfPages(path("picture.pdf")), 1);
    const int small = pdfPages(path("small.pdf"));
    const int large = pdfPages(path("large.pdf"));
    EXPECT_GE(small, 2);
    EXPECT_GT(large, small) << "14-point lines fill more pages than 8-point ones";
    EXPECT_FALSE(QFile::exists(path("junk.bmp")));
    EXPECT_EQ(prompter.fileDialogs.front().filter, "PDF Files (*.pdf)");
    EXPECT_TRUE(config.PrintText->isChecked()) << "the print form keeps its settings";
    EXPECT_TRUE(prompter.messages.isEmpty());
}
