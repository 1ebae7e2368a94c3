#include "gui/dialogs/Commandsformmain.h"
#include "gui/dialogs/Getmapnamemain.h"
#include "gui/dialogs/Xeaboutmain.h"
#include "support/UrlCatcher.h"
#include "support/WindowTest.h"

using namespace xemap;
using namespace xemap::testing;

namespace {

// Clicks the label and gives the addresses it asked the browser for.
QList<QUrl> openedByClicking(QLabel* label, const char* scheme)
{
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(scheme, &catcher, "open");
    QTest::mouseClick(label, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(scheme);
    return catcher.opened;
}

TEST(MapNameWindowTest, AsksForTheNameAndKeepsTheLastOne)
{
    QWidget mainWindow;
    mainWindow.move(50, 50);
    TGetMapName dialog(mainWindow);
    EXPECT_EQ(std::tuple(dialog.windowTitle(), dialog.pos()), std::tuple("Map Name", QPoint(250, 250)));
    auto* name = dialog.findChild<QLineEdit*>("MapName");

    ScriptedPrompter prompter;
    prompter.expectDialog([&](QDialog& shown) {
        shown.show();
        QTest::keyClicks(name, "Dark Keep");
        QTest::mouseClick(shown.findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
        return shown.result();
    });
    EXPECT_EQ(dialog.Ask(prompter), QString("Dark Keep"));
    prompter.expectDialog([&](QDialog&) {
        EXPECT_EQ(name->text(), "Dark Keep");
        return int(QDialog::Rejected);
    });
    EXPECT_EQ(dialog.Ask(prompter), std::nullopt);
}

TEST(CommandsWindowTest, ListsEveryCommandBesideItsBinding)
{
    const QString manual = QCoreApplication::applicationDirPath() + "/manual.html";
    TCommandsForm form(manual);
    EXPECT_EQ(form.windowTitle(), "Commands");
    const QStringList commands = form.findChild<QPlainTextEdit*>("Memo1")->toPlainText().split('\n');
    const QStringList bindings = form.findChild<QPlainTextEdit*>("Memo2")->toPlainText().split('\n');
    ASSERT_EQ(std::pair(commands.size(), bindings.size()), std::pair(qsizetype(25), qsizetype(25)));
    // The rows whose texts are easiest to get wrong, blank by blank.
    const auto row = [&](int at) { return commands[at] + " | " + bindings[at]; };
    EXPECT_EQ((QStringList{row(0), row(2), row(24)}),
              (QStringList{"Select a tile in the palette window | [Left-click]",
                           "Rotate tile counterclockwise | [Shift + Left-click]    or  \"<\"  or  \",\"",
                           "Paste selection | [Ctrl] + V"}));

    // The label keeps its text, tells where the manual is and opens it.
    auto* label = form.findChild<QLabel*>("Label1");
    EXPECT_EQ(label->text(), "See manual.html for more information");
    EXPECT_EQ(label->toolTip(), manual);
    form.show();
    EXPECT_EQ(openedByClicking(label, "file"), QList<QUrl>{QUrl::fromLocalFile(manual)});
    QTest::mouseClick(form.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
}

TEST(AboutWindowTest, ShowsVersionAndPictureAndOpensTheWebPage)
{
    TXEAbout about(QCoreApplication::applicationDirPath());
    EXPECT_EQ(std::tuple(about.windowTitle(), about.findChild<QLabel*>("Label2")->text(),
                         about.findChild<QLabel*>("Image1")->pixmap().size()),
              std::tuple("About XEMap", "v. 1.21", QSize(512, 208)));

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
    EXPECT_EQ(std::pair(prompter.allAnswersUsed(), about.pos()), std::pair(true, QPoint(250, 250)));
    about.show();
    EXPECT_EQ(openedByClicking(about.findChild<QLabel*>("Label4"), "https"), QList<QUrl>{TXEAbout::webAddress()});
}

}  // namespace
