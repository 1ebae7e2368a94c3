#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName("XEMap");
    QMainWindow window;
    window.setWindowTitle("XEMap");
    window.resize(660, 722);
    window.show();
    return app.exec();
}
