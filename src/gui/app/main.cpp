#include "gui/app/XemapWindows.h"
#include "gui/app/Xemapmain.h"
#include "gui/dialogs/Prompter.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("XEMap");
    QApplication::setWindowIcon(QIcon(QApplication::applicationDirPath() + "/xemap.png"));
    xemap::QtPrompter prompter;
    xemap::XemapWindows windows(prompter, QApplication::applicationDirPath());
    if (!windows.form1->registryReady())
        return 1;
    windows.show();
    return app.exec();
}
