#include "app/XemapWindows.h"
#include "dialogs/Prompter.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName("XEMap");
    QApplication::setApplicationName("XEMap");
    xemap::QtPrompter prompter;
    xemap::XemapWindows windows(prompter, QApplication::applicationDirPath());
    windows.show();
    return app.exec();
}
