#include "gui/app/XemapWindows.h"
#include "gui/app/Xemapmain.h"
#include "gui/dialogs/Prompter.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QIcon>

namespace {

// The map named on the command line (the desktop entry passes the file opened from a
// file manager), made absolute now: the editor changes into its program folder at start.
// Empty when none is named; --help, --version and bad arguments end the program here.
QString mapArgument(const QApplication& app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription("Edit tile maps for a fantasy role-playing game.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("map", "The map file (.xem) to open at start.", "[map]");
    parser.process(app);
    const QStringList maps = parser.positionalArguments();
    if (maps.size() > 1) {
        qCritical("xemap: one map file at most, %lld given", static_cast<long long>(maps.size()));
        parser.showHelp(1);
    }
    return maps.isEmpty() ? QString() : QFileInfo(maps.front()).absoluteFilePath();
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("XEMap");
    QApplication::setApplicationVersion(XEMAP_VERSION);
    const QString map = mapArgument(app);
    QApplication::setWindowIcon(QIcon(QApplication::applicationDirPath() + "/xemap.png"));
    xemap::QtPrompter prompter;
    xemap::XemapWindows windows(prompter, QApplication::applicationDirPath());
    if (!windows.form1->registryReady())
        return 1;
    windows.show();
    windows.form1->offerRecovery();
    if (!map.isEmpty())
        windows.form1->OpenFile(map);
    return app.exec();
}
