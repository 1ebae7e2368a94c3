#include "support/MainWindowTestSupport.h"

#include "core/mapfile/MapReader.h"
#include "core/mapfile/MapWriter.h"
#include "gui/app/Autosave.h"
#include "gui/dialogs/Yesnomain.h"

#include <QElapsedTimer>
#include <QTest>

using namespace xemap;
using namespace xemap::testing;

namespace {

constexpr int kWaitMs = 5000;

// The editor with its own user data folder and a short recovery interval.
class RecoveryWindowTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(data.isValid());
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
        MainWindowFixture::SetUp();
        form().autosave().setInterval(std::chrono::milliseconds(50));
    }
    void TearDown() override { windows.reset(); }

    const RecoveryStore& store() { return form().autosave().store(); }
    std::filesystem::path recoveryMap() { return store().mapPath(form().autosave().owner()); }
    bool recoveryWritten()
    {
        return QTest::qWaitFor([this] { return std::filesystem::exists(recoveryMap()); }, kWaitMs);
    }
    bool recoveryGone()
    {
        form().autosave().flush();
        return !std::filesystem::exists(recoveryMap());
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
        map.grid.door(4, 5, East) = 2;
        auto tile = std::make_shared<XETile>();
        tile->cellIndex = 5 * 32 + 4;
        tile->shortName = "Well";
        map.descriptions.append(tile);
        EXPECT_TRUE(RecoveryStore(recoveryFolder()).write(owner, writeMap(map), {"/maps/" + name + ".xem", writtenAt}));
        return map;
    }
    void answerRecovery(int result)
    {
        prompter.expectDialog([this, result](QDialog& dialog) {
            asked << questionOf(dialog);
            return result;
        });
    }

    QTemporaryDir data;
};

TEST_F(RecoveryWindowTest, AChangeIsKeptWithinTheIntervalEvenWhileEditsGoOn)
{
    form().autosave().setInterval(std::chrono::milliseconds(200));
    QElapsedTimer clock;
    clock.start();
    // Edits every few milliseconds must not keep postponing the write.
    for (int step = 0; !std::filesystem::exists(recoveryMap()) && clock.elapsed() < kWaitMs; ++step) {
        paint(step % 32, 3);
        QTest::qWait(10);
    }
    ASSERT_TRUE(std::filesystem::exists(recoveryMap()));
    EXPECT_LT(clock.elapsed(), 2000);

    form().autosave().flush();
    const ReadResult read = readMapFile(recoveryMap());
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.map->document.grid.tile(0, 3, 0), grid().tile(0, 3, 0));
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(RecoveryWindowTest, SavingOrDiscardingTheMapRemovesItsRecoveryFile)
{
    const QString opened = folder.filePath("opened.xem");
    ASSERT_TRUE(saveMapFile(MapDocument{}, opened.toStdString()));
    const std::vector<std::pair<const char*, std::function<void()>>> cases{
        {"save",
         [&] {
             answerMapName("Kept");
             prompter.expectSaveFile(folder.filePath("kept.xem"));
             form().Save(false);
         }},
        {"File > New",
         [&] {
             answerYesNo(false);
             form().NewClick("Tileset0");
         }},
        {"Open",
         [&] {
             answerYesNo(false);
             prompter.expectOpenFile(opened);
             form().Open();
         }},
        {"exit after No, Discard",
         [&] {
             answerYesNo(false);
             EXPECT_TRUE(form().close());
             const auto map = recoveryMap();
             windows.reset();
             EXPECT_FALSE(std::filesystem::exists(map));
             MainWindowFixture::SetUp();
         }},
    };
    for (const auto& [name, discard] : cases) {
        form().autosave().setInterval(std::chrono::milliseconds(50));
        paint(2, 2);
        ASSERT_TRUE(recoveryWritten()) << name;
        discard();
        EXPECT_FALSE(form().session().modified()) << name;
        EXPECT_TRUE(recoveryGone()) << name;
    }
    EXPECT_TRUE(prompter.allAnswersUsed());
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(RecoveryWindowTest, ARunningEditorsFileIsNeitherOfferedNorRemovedByAnother)
{
    paint(1, 1);
    ASSERT_TRUE(recoveryWritten());
    XemapWindows second(prompter, folder.path());
    second.form1->offerRecovery();
    EXPECT_TRUE(prompter.dialogsShown.isEmpty());
    EXPECT_TRUE(std::filesystem::exists(recoveryMap()));
}

TEST_F(RecoveryWindowTest, RestoreBringsTheMapBackUnsavedUnderItsOriginalName)
{
    leaveCrashedMap("older", 1000, "Older");
    const MapDocument crashed = leaveCrashedMap("crashed", 2000, "Keep");
    answerRecovery(QDialog::Accepted);
    form().offerRecovery();

    ASSERT_EQ(asked.size(), 1) << "one map restored per start";
    EXPECT_TRUE(asked[0].startsWith("XEMap did not close normally. Restore the unsaved map?\nKeep, kept "));
    EXPECT_EQ(grid(), crashed.grid);
    ASSERT_EQ(form().document().descriptions.size(), 1);
    EXPECT_EQ(form().document().descriptions.at(0)->shortName, "Well");
    EXPECT_EQ(form().document().mapName, "Keep");
    EXPECT_EQ(form().document().mapFileName, "/maps/Keep.xem");
    EXPECT_EQ(form().windowTitle(), "XEMap: Keep");
    EXPECT_TRUE(form().session().modified());
    EXPECT_TRUE(button("SaveButton")->isEnabled());

    // The file is now this editor's: no other editor is offered it, and the older map waits.
    EXPECT_TRUE(std::filesystem::exists(recoveryMap()));
    asked.clear();
    answerRecovery(TYesNo::NoResult);
    XemapWindows next(prompter, folder.path());
    next.form1->offerRecovery();
    EXPECT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked.value(0).contains("Older"));
    EXPECT_TRUE(std::filesystem::exists(recoveryMap()));
    EXPECT_TRUE(store().staleEntries([](std::string_view) { return true; }).size() == 1) << "older one removed";
}

TEST_F(RecoveryWindowTest, DiscardRemovesTheFileAndEscapeLeavesItForTheNextStart)
{
    leaveCrashedMap("crashed", 2000, "Keep");
    for (const auto& [result, kept] : {std::pair{int(QDialog::Rejected), true}, {TYesNo::NoResult, false}}) {
        answerRecovery(result);
        form().offerRecovery();
        EXPECT_EQ(grid(), MapGrid()) << "the map stays as it was";
        EXPECT_FALSE(form().session().modified());
        EXPECT_EQ(std::filesystem::exists(store().mapPath("crashed")), kept) << result;
    }
    EXPECT_EQ(asked.size(), 2);
}

TEST_F(RecoveryWindowTest, AFailingWriteShowsNothingAndIsTriedAgainAfterTheNextChange)
{
    // A file where the recovery folder belongs: the folder cannot be made, even by the superuser.
    QFile blocker(QString::fromStdString(recoveryFolder().string()));
    QDir().mkpath(QFileInfo(blocker).absolutePath());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    paint(1, 1);
    QTest::qWait(200);
    form().autosave().flush();
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_TRUE(prompter.dialogsShown.isEmpty());
    form().UndoButtonClick();
    EXPECT_TRUE(button("RedoButton")->isEnabled()) << "editing goes on";

    ASSERT_TRUE(blocker.remove());
    paint(3, 3);
    EXPECT_TRUE(recoveryWritten());
}

}  // namespace
