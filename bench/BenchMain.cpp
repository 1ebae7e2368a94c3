#include <QApplication>
#include <benchmark/benchmark.h>

namespace {

QtMessageHandler standardHandler = nullptr;

// The offscreen platform notes every window it cannot raise; those lines would bury the table.
void dropPlatformNotes(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (!text.startsWith("This plugin does not support"))
        standardHandler(type, context, text);
}

}  // namespace

// Drawing needs an application object for fonts, the start-up benchmark one for windows; run offscreen.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    standardHandler = qInstallMessageHandler(dropPlatformNotes);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
