// The editor's windows: start-up to the first painted frame (the windows are built on a
// program folder that holds the registry and the generated tilesets, shown, and events
// run until the map view has painted once), and one paint command with its screen update.
#include "gui/app/XemapWindows.h"
#include "gui/app/Xemapmain.h"
#include "gui/dialogs/Prompter.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QTemporaryDir>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

namespace {

using namespace xemap;

// A start that shows a message has gone wrong; the message is kept to report it.
class SilentPrompter final : public Prompter {
public:
    void message(const QString& text, const QString& = QString()) override { asked = text; }
    int exec(QDialog&) override { return 0; }
    QString openFileName(const FileDialogRequest&) override { return {}; }
    QString saveFileName(const FileDialogRequest&) override { return {}; }
    QString asked;
};

class PaintWatcher final : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        painted = painted || event->type() == QEvent::Paint;
        return false;
    }
    bool painted = false;
};

std::filesystem::path programFolderCopy(const QTemporaryDir& folder)
{
    const std::filesystem::path from = XEMAP_PROGRAM_DIR, to = folder.path().toStdString();
    std::filesystem::copy(from / "XEMAP.BMP", to);
    std::filesystem::copy(from / "tilesets", to / "tilesets", std::filesystem::copy_options::recursive);
    return to;
}

// Events run until the map view paints, for at most ten seconds.
bool showUntilPainted(XemapWindows& windows)
{
    PaintWatcher watcher;
    windows.form1->findChild<QWidget*>("MapBox")->installEventFilter(&watcher);
    windows.show();
    const QDeadlineTimer deadline(10000);
    while (!watcher.painted && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return watcher.painted;
}

void BM_StartupToFirstFrame(benchmark::State& run)
{
    QTemporaryDir folder;
    const QString directory = QString::fromStdString(programFolderCopy(folder).string());
    SilentPrompter prompter;
    XemapWindows(prompter, directory);  // the very first start writes the registry
    for (auto _ : run) {
        auto windows = std::make_unique<XemapWindows>(prompter, directory);
        const bool painted = showUntilPainted(*windows);
        run.PauseTiming();
        windows.reset();
        QCoreApplication::processEvents();
        run.ResumeTiming();
        if (!painted || !prompter.asked.isEmpty()) {
            qWarning("start-up message: %s", qPrintable(prompter.asked));
            run.SkipWithError("the editor showed a message or never painted at start-up");
            break;
        }
    }
}
BENCHMARK(BM_StartupToFirstFrame)->UseRealTime()->Unit(benchmark::kMillisecond);

// A click that paints one cell: the undo step, the change through the edit session and
// the screen brought up to date, with the pointer on the cell. The reference draws the
// cell alone, the least any paint must do.
void BM_PaintCommandWithScreenUpdate(benchmark::State& run)
{
    QTemporaryDir folder;
    const QString directory = QString::fromStdString(programFolderCopy(folder).string());
    SilentPrompter prompter;
    XemapWindows windows(prompter, directory);
    TForm1& form = *windows.form1;
    form.MapBoxMouseMove({}, 210, 210);
    for (auto _ : run) {
        form.MapBoxMouseDown(Qt::LeftButton, {}, 210, 210);
        form.MapBoxMouseUp(Qt::LeftButton, {}, 210, 210);
    }
    const auto ours = run.iterations();
    MapRenderer* renderer = form.renderer();
    const auto start = std::chrono::steady_clock::now();
    for (std::int64_t i = 0; i < ours; ++i)
        renderer->drawOneCell(10, 10);
    const double reference = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.counters["draw_one_cell_us"] = reference / double(ours) * 1e6;
}
BENCHMARK(BM_PaintCommandWithScreenUpdate)->Unit(benchmark::kMicrosecond);

}  // namespace
