#include "gui/app/XemapWindows.h"
#include "gui/app/Xemapmain.h"
#include "gui/dialogs/Prompter.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QIcon>

#include <cstdio>
#include <unistd.h>

namespace {

// The map named on the command line (the desktop entry passes the file opened from a
// file manager), made absolute now: the editor changes into its program folder at start.
// Empty when none is named; --help, --version and bad arguments end the program here,
// before a display is needed.
QString mapArgument(int argc, char** argv)
{
    QCoreApplication parsing(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Edit tile maps for a fantasy role-playing game.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("map", "The map file (.xem) to open at start.", "[map]");
    parser.process(parsing);
    const QStringList maps = parser.positionalArguments();
    if (maps.size() > 1) {
        std::fprintf(stderr, "xemap: one map file at most, %lld given\n", static_cast<long long>(maps.size()));
        std::exit(1);
    }
    return maps.isEmpty() ? QString() : QFileInfo(maps.front()).absoluteFilePath();
}

// Qt reports a display it cannot open in several warnings and then aborts. While the
// application starts, warnings are held back; a fatal one ends the program with one
// line and exit status 1, and the held ones are passed on once the start succeeded.
struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};
QtMessageHandler passOn = nullptr;
QList<HeldMessage> heldBack;

void holdBackWhileStarting(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type != QtFatalMsg) {
        heldBack.append({type, context.category, text});
        return;
    }
    const QByteArray display = qgetenv("DISPLAY");
    std::fprintf(stderr, "xemap: cannot open the display%s%s: the editor needs a graphical session\n",
                 display.isEmpty() ? "" : " ", display.constData());
    ::_exit(1);
}

void startedWell()
{
    qInstallMessageHandler(passOn);
    for (const HeldMessage& held : std::as_const(heldBack))
        qt_message_output(held.type, QMessageLogContext(nullptr, 0, nullptr, held.category.constData()), held.text);
    heldBack.clear();
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication::setApplicationName("XEMap");
    QCoreApplication::setApplicationVersion(XEMAP_VERSION);
    const QString map = mapArgument(argc, argv);
    passOn = qInstallMessageHandler(holdBackWhileStarting);
    QApplication app(argc, argv);
    startedWell();
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
