#include "dialogs/Commandsformmain.h"
#include "dialogs/DialogTestSupport.h"
#include "dialogs/Getmapnamemain.h"
#include "dialogs/Xeaboutmain.h"
#include "support/ScriptedPrompter.h"
#include "support/UrlCatcher.h"

#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace xemap;
using namespace xemap::testing;

namespace {

QString textOf(QWidget& window, const char* name)
{
    if (auto* label = window.findChild<QLabel*>(name))
        return label->text();
    if (auto* button = window.findChild<QPushButton*>(name))
        return button->text();
    ADD_FAILURE() << "no control " << name;
    return {};
}

TEST(MapNameWindowTest, AsksForTheNameAndKeepsTheLastOne)
{
    QWidget mainWindow;
    mainWindow.move(50, 50);
    TGetMapName dialog(mainWindow);
    EXPECT_EQ(dialog.windowTitle(), "Map Name");
    EXPECT_EQ(dialog.pos(), QPoint(250, 250));
    EXPECT_EQ(textOf(dialog, "Label1"), "Name for Map:");
    EXPECT_EQ(textOf(dialog, "BitBtn1"), "OK");
    EXPECT_EQ(textOf(dialog, "BitBtn2"), "Cancel");
    auto* name = dialog.findChild<QLineEdit*>("MapName");
    EXPECT_EQ(name->text(), "");

    ScriptedPrompter prompter;
    prompter.expectDialog([&](QDialog& shown) {
        shown.show();
        QTest::keyClicks(name, "Dark Keep");
        QTest::mouseClick(shown.findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
        return shown.result();
    });
    EXPECT_EQ(dialog.Ask(prompter), QString("Dark Keep"));
    saveScreenshot(dialog, "map-name");

    QString shownAgain;
    prompter.expectDialog([&](QDialog&) {
        shownAgain = name->text();
        return int(QDialog::Rejected);
    });
    EXPECT_EQ(dialog.Ask(prompter), std::nullopt);
    EXPECT_EQ(shownAgain, "Dark Keep");
}

TEST(CommandsWindowTest, ListsEveryCommandBesideItsBinding)
{
    TCommandsForm form;
    EXPECT_EQ(form.windowTitle(), "Commands");
    EXPECT_EQ(form.size(), QSize(558, 496));
    EXPECT_EQ(textOf(form, "Label1"), "See manual.html for more information");
    EXPECT_EQ(textOf(form, "Button1"), "Hide");

    const QStringList commands = form.findChild<QPlainTextEdit*>("Memo1")->toPlainText().split('\n');
    const QStringList bindings = form.findChild<QPlainTextEdit*>("Memo2")->toPlainText().split('\n');
    ASSERT_EQ(commands.size(), 25);
    ASSERT_EQ(bindings.size(), 25);
    // The rows whose texts are easiest to get wrong, blank by blank.
    const std::tuple<int, const char*, const char*> rows[] = {
        {0, "Select a tile in the palette window", "[Left-click]"},
        {2, "Rotate tile counterclockwise", "[Shift + Left-click]    or  \"<\"  or  \",\""},
        {3, "Rotate tile clockwise", "[Shift + Right-click]  or  \">\"  or  \".\""},
        {4, "Zoom out", "[Zoom out button]   or  \"-\"   or  \"_\""},
        {5, "Zoom in", "[Zoom in button]     or  \"=\"  or  \"+\""},
        {7, "Open Describe Tile Window", "\"t\" or \"T\" or Popup Menu"},
        {8, "Open Doors Window", "\"d\" or \"D\" or Popup Menu"},
        {9, "Toggle size of palette window", "\"s\"  or  \"S\""},
        {10, "Hide/Show palette window", "\"h\"  or  \"H\""},
        {15, "Toggle Center door", "NUMPAD 5"},
        {16, "Scroll map", "Arrow keys"},
        {21, "Redo", "[Ctrl] + R"},
        {24, "Paste selection", "[Ctrl] + V"},
    };
    for (const auto& [row, command, binding] : rows) {
        EXPECT_EQ(commands[row], command) << row;
        EXPECT_EQ(bindings[row], binding) << row;
    }
    saveScreenshot(form, "commands");

    form.show();
    QTest::mouseClick(form.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
}

TEST(AboutWindowTest, ShowsVersionAndPictureAndOpensTheWebPage)
{
    TXEAbout about(QCoreApplication::applicationDirPath());
    EXPECT_EQ(about.windowTitle(), "About XEMap");
    EXPECT_EQ(about.size(), QSize(512, 456));
    EXPECT_EQ(textOf(about, "Label2"), "v. 1.21");
    EXPECT_EQ(textOf(about, "Label5"), "Code:");
    EXPECT_EQ(textOf(about, "Label6"), "Art:");
    EXPECT_EQ(textOf(about, "Label7"), "Special Thanks:");
    EXPECT_EQ(textOf(about, "Button1"), "OK");
    const QPixmap picture = about.findChild<QLabel*>("Image1")->pixmap();
    EXPECT_EQ(picture.size(), QSize(512, 208));
    saveScreenshot(about, "about");

    QWidget mainWindow;
    mainWindow.move(50, 50);
    ScriptedPrompter prompter;
    prompter.expectDialog([](QDialog& shown) {
        shown.show();
        QTest::mouseClick(shown.findChild<QPushButton*>("Button1"), Qt::LeftButton);
        EXPECT_FALSE(shown.isVisible());
        return shown.result();
    });
    about.ShowModal(prompter, mainWindow);
    EXPECT_EQ(about.pos(), QPoint(250, 250));

    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("https", &catcher, "open");
    about.show();
    QTest::mouseClick(about.findChild<QLabel*>("Label4"), Qt::LeftButton);
    QDesktopServices::unsetUrlHandler("https");
    EXPECT_EQ(catcher.opened, QList<QUrl>{TXEAbout::webAddress()});
}

TEST(AboutWindowTest, StillOpensWithoutItsPicture)
{
    TXEAbout about(QDir::tempPath() + "/no-such-folder");
    EXPECT_TRUE(about.findChild<QLabel*>("Image1")->pixmap().isNull());
    EXPECT_EQ(textOf(about, "Label2"), "v. 1.21");
}

}  // namespace
