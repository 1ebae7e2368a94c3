#include "support/MainWindowTestSupport.h"

#include "core/mapfile/MapWriter.h"
#include "gui/app/Autosave.h"
#include "support/OrdinaryUser.h"

#include <sys/resource.h>
#include <sys/stat.h>

using namespace xemap;
using namespace xemap::testing;
namespace fs = std::filesystem;

namespace {

constexpr int kWaitMs = 5000;
const QString kRestoreQuestion = "XEMap did not close normally. Restore the unsaved map?\nKeep, kept ";

// The editor with its own user data folder and a short recovery interval.
class RecoveryWindowTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
        MainWindowFixture::SetUp();
        restart();
    }
    void TearDown() override { windows.reset(); }
    // A new editor over the same folders, as the next start of the program.
    void restart()
    {
        windows.reset();
        windows = std::make_unique<XemapWindows>(prompter, folder.path());
        form().autosave().setInterval(std::chrono::milliseconds(50));
    }

    const RecoveryStore& store() { return form().autosave().store(); }
    fs::path recoveryMap() { return store().mapPath(form().autosave().owner()); }
    bool recoveryWritten()
    {
        return QTest::qWaitFor([this] { return fs::exists(recoveryMap()); }, kWaitMs);
    }
    void paint(int column, int row)
    {
        palette().TileBoxMouseUp(Qt::LeftButton, 45, 45);
        drag({cellCentre(column, row)});
    }
    // The map an editor that was killed left behind, with no lock held.
    MapDocument leaveCrashedMap(const std::string& owner, std::int64_t writtenAt, const std::string& name)
    {
        MapDocument map;
        map.mapName = name;
        map.grid.tile(4, 5, 0) = 33;
        EXPECT_TRUE(RecoveryStore(recoveryFolder()).write(owner, writeMap(map), {"/maps/" + name + ".xem", writtenAt}));
        return map;
    }

    QTemporaryDir data;
};

TEST_F(RecoveryWindowTest, AnUnsavedMapIsKeptUntilSavedOrClosedAndComesBackUnsavedAfterACrash)
{
    form().autosave().setInterval(std::chrono::milliseconds(200));
    QElapsedTimer clock;
    clock.start();
    // Edits every few milliseconds must not keep postponing the write.
    for (int step = 0; !fs::exists(recoveryMap()) && clock.elapsed() < kWaitMs; ++step) {
        paint(step % 32, 3);
        QTest::qWait(10);
    }
    EXPECT_LT(clock.elapsed(), 2000);

    saveAs("Kept", folder.filePath("kept.xem"));
    form().autosave().flush();
    EXPECT_FALSE(fs::exists(recoveryMap()));
    // And so does an exit.
    paint(2, 2);
    ASSERT_TRUE(recoveryWritten());
    const fs::path kept = recoveryMap();
    restart();
    EXPECT_FALSE(fs::exists(kept));

    const MapGrid saved = grid();
    // A crashed editor's map, offered at the next start.
    const MapDocument crashed = leaveCrashedMap("crashed", 2000, "Keep");
    // Escape leaves the map as it was and the file for the next start.
    dismissYesNo();
    form().offerRecovery();
    EXPECT_EQ(std::tuple(grid(), form().session().modified()), std::tuple(saved, false));
    EXPECT_TRUE(fs::exists(store().mapPath("crashed")));
    leaveCrashedMap("older", 1000, "Older");
    answerYesNo(true);
    form().offerRecovery();

    ASSERT_EQ(asked.size(), 2) << "one map offered per start";
    EXPECT_EQ(grid(), crashed.grid);
    EXPECT_EQ(std::tuple(form().document().mapName, form().document().mapFileName, form().windowTitle()),
              std::tuple("Keep", "/maps/Keep.xem", "XEMap: Keep"));
    EXPECT_TRUE(form().session().modified() && button("SaveButton")->isEnabled());

    // The file is now this editor's: no other editor is offered it, and the older map waits.
    asked.clear();
    answerYesNo(false);
    XemapWindows next(prompter, folder.path());
    next.form1->offerRecovery();
    EXPECT_EQ(next.form1->document().grid, MapGrid()) << "No, Discard leaves the map as it was";
    EXPECT_TRUE(asked.size() == 1 && asked[0].contains("Older"));
    EXPECT_TRUE(fs::exists(recoveryMap()));
    EXPECT_TRUE(store().staleEntries([](std::string_view) { return true; }).size() == 1) << "older one removed";
}

TEST_F(RecoveryWindowTest, EachRecoveryFailureIsToldOnceWithItsCauseWhenNoButtonIsHeld)
{
    // A file where the recovery folder belongs: the folder cannot be made, even by the superuser.
    fs::create_directories(recoveryFolder().parent_path());
    writeBytes(recoveryFolder(), "");

    // A message box under a held button would take the release from the map.
    form().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form()));
    const QPoint inside(form().width() / 2, form().height() / 2);
    QTest::mousePress(form().windowHandle(), Qt::LeftButton, {}, inside);
    paint(1, 1);
    form().autosave().writeNow();
    EXPECT_TRUE(prompter.messages.isEmpty());
    QTest::mouseRelease(form().windowHandle(), Qt::LeftButton, {}, inside);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !prompter.messages.isEmpty(); }, kWaitMs));
    EXPECT_EQ(prompter.messages.value(0), "Unsaved changes cannot be kept for crash recovery: "
                                              + QString::fromStdString(recoveryFolder()) + ": Not a directory");

    paint(2, 2);
    form().autosave().writeNow();
    EXPECT_EQ(prompter.messages.size(), 1) << "one message per run";

    ASSERT_TRUE(fs::remove(recoveryFolder()));
    paint(3, 3);
    EXPECT_TRUE(recoveryWritten());
    EXPECT_EQ(prompter.messages.size(), 1);

    // A folder where the record belongs cannot be removed as a file, even by the superuser.
    leaveCrashedMap("crashed", 2000, "Keep");
    fs::remove(store().recordPath("crashed"));
    fs::create_directories(store().recordPath("crashed") / "inside");
    answerYesNo(false);
    form().offerRecovery();
    EXPECT_EQ(prompter.messages.value(1), "The unsaved map kept for crash recovery cannot be deleted: "
                                              + QString::fromStdString(store().recordPath("crashed").string())
                                              + ": Is a directory");
}

// Resident memory at its highest so far, in megabytes.
long peakMegabytes()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// Whatever sits in the recovery folder, the editor starts at once, within bounded memory,
// says what it must, offers only the editor's own maps and writes through no link.
TEST_F(RecoveryWindowTest, AHostileRecoveryFolderNeitherHangsNorMisleadsTheEditor)
{
    const fs::path recovery = recoveryFolder();
    const fs::path userMap = folder.filePath("user.xem").toStdString();
    const fs::path secret = folder.filePath("secret").toStdString();
    const QString cannotKeep = "Unsaved changes cannot be kept for crash recovery: " + QString::fromStdString(recovery);
    const auto linkTo = [](fs::path target) { return [target](const fs::path& p) { fs::create_symlink(target, p); }; };
    // Each case replaces one file of a crashed editor's map under "crashed"; without a suffix it
    // makes the recovery folder itself, and the map is never written there.
    const std::tuple<const char*, const char*, std::function<void(const fs::path&)>, int> cases[] = {
        {"a map that links to the user's map", ".xem", linkTo(userMap), 0},
        {"a map that links to a secret", ".xem", linkTo(secret), 0},
        {"a record that links to /dev/zero", ".info", linkTo("/dev/zero"), 1},
        {"a pipe as record", ".info", [](const fs::path& p) { ::mkfifo(p.c_str(), 0600); }, 1},
        {"a sparse 6 GB record", ".info", [](const fs::path& p) { std::ofstream(p).seekp((6ll << 30) - 1).put(0); }, 1},
        {"an empty lock", ".lock", [](const fs::path& p) { writeBytes(p, ""); }, 1},
        {"a garbage lock", ".lock", [](const fs::path& p) { writeBytes(p, "\x7f\x01 12 garbage"); }, 1},
        {"a file where the folder belongs", nullptr, [](const fs::path& p) { writeBytes(p, "not a folder"); }, 0},
    };
    writeBytes(secret, "secret");
    writeBytes(userMap, "the user's map");
    for (const auto& [name, suffix, make, questions] : cases) {
        SCOPED_TRACE(name);
        windows.reset();
        fs::remove_all(recovery);
        fs::create_directories(recovery.parent_path());
        if (suffix) {
            leaveCrashedMap("crashed", 2000, "Keep");
            fs::remove(fs::path(recovery / "crashed") += suffix);
        }
        make(suffix ? fs::path(recovery / "crashed") += suffix : recovery);
        takeSaid();
        asked.clear();
        for (int i = 0; i < questions; ++i)
            dismissYesNo();

        const long peakBefore = peakMegabytes();
        QElapsedTimer clock;
        clock.start();
        restart();
        form().offerRecovery();
        EXPECT_LT(clock.elapsed(), 3000);
        EXPECT_LT(peakMegabytes() - peakBefore, 100);

        EXPECT_EQ(asked.size(), questions);
        for (const QString& question : asked)
            EXPECT_TRUE(question.startsWith(kRestoreQuestion));
        EXPECT_EQ(takeSaid().toStdString(), suffix ? "" : (cannotKeep + ": Not a directory").toStdString());
        paint(1, 1);
        if (suffix) {
            EXPECT_TRUE(recoveryWritten());
        }
        form().autosave().flush();
        EXPECT_EQ(fileBytes(userMap), "the user's map");
        EXPECT_EQ(fileBytes(secret), "secret");
        EXPECT_TRUE(prompter.allAnswersUsed());
    }
    if (::geteuid() == 0) {
        // Another user's folder is not used, and the message says so.
        windows.reset();
        fs::remove_all(recovery);
        leaveCrashedMap("crashed", 2000, "Keep");
        ASSERT_EQ(::chown(recovery.c_str(), 65534, 65534), 0);
        restart();
        form().offerRecovery();
        EXPECT_EQ(takeSaid().toStdString(), (cannotKeep + ": the folder belongs to another user").toStdString());
        EXPECT_TRUE(asked.isEmpty());
    }
    // A data folder that takes no recovery folder: permissions bind only an ordinary user.
    windows.reset();
    fs::remove_all(recovery);
    fs::permissions(recovery.parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
    fs::permissions(folder.path().toStdString(), fs::perms::all);
    takeSaid();
    EXPECT_TRUE(test::asOrdinaryUser(data.path().toStdString(), [&] {
        windows = std::make_unique<XemapWindows>(prompter, folder.path());
        form().offerRecovery();
        return prompter.messages.join("|") == cannotKeep + ": Permission denied";
    }));
}

}  // namespace
