#include "core/tileset/Registry.h"
#include "gui/dialogs/Xeaboutmain.h"
#include "gui/tileset/Addtilesetformmain.h"
#include "support/MainWindowTestSupport.h"

#include <condition_variable>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>

namespace xemap {
namespace {

namespace fs = std::filesystem;
using testing::writeBytes;

// The program folder, with the editor started by each test.
class RegistryStartWindowTest : public testing::MainWindowFixture {
protected:
    void SetUp() override { linkTilesets(); }
    fs::path path(const char* name) const { return folder.filePath(name).toStdString(); }
    fs::path registry() const { return path("XEMAP.INI"); }
};

// Should the editor wait on a named pipe, this opens the pipe's other end after a few
// seconds and closes it, so that the test fails on its clock instead of hanging.
std::jthread pipeWatchdog(std::string pipe)
{
    return std::jthread([pipe = std::move(pipe)](std::stop_token stop) {
        std::mutex mutex;
        std::condition_variable_any woken;
        std::unique_lock lock(mutex);
        woken.wait_for(lock, stop, std::chrono::seconds(10), [] { return false; });
        if (const int writer = stop.stop_requested() ? -1 : ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK); writer >= 0)
            ::close(writer);
    });
}

TEST_F(RegistryStartWindowTest, AHugeRegistryIsCutShortInTheMenuAndRefusedPastItsSizeLimit)
{
    QByteArray entries;
    for (int i = 0; i < 1003; ++i)
        entries += QString("T%1\r\ntilesets\\outdoor_bases.bmp\r\nnull\r\nnull\r\nnull\r\nnull\r\n").arg(i).toUtf8();
    writeBytes(registry(), entries.toStdString());
    start();
    // Tilesets past the menu's items stay registered: the New button's list offers them.
    EXPECT_EQ(std::tuple(form().tilesetCount(), bool(action("Tileset999")), bool(action("Tileset1000"))),
              std::tuple(1003, true, false));

    fs::resize_file(registry(), kRegistryFileLimit + 1);
    start();
    EXPECT_FALSE(form().registryReady());
    EXPECT_EQ(prompter.messages, QStringList{"Cannot create default INI file."});
    EXPECT_EQ(prompter.informativeTexts,
              QStringList{QString::fromStdString(registry().string()) + ": the file is larger than 4 MB"});
}

TEST_F(RegistryStartWindowTest, APipeAsATileSheetAGroupIconOrTheAboutPictureIsRefusedAtOnce)
{
    // The generated city layer under a name of its own, so that its group file can be ours.
    QFile::link(folder.filePath("tilesets/city_layer.bmp"), folder.filePath("layer.bmp"));
    const QString pipe = folder.filePath("pipe.bmp");
    // The pipe, the registry and group file around it, and what is said.
    const std::tuple<const char*, std::string, std::string, QString> cases[] = {
        {"pipe.bmp", "Piped\r\npipe.bmp\r\nnull\r\nnull\r\nnull\r\nnull\r\n", "",
         "Cannot read the tile sheet \"" + pipe + "\"."},
        {"pipe.bmp", "Piped\r\ntilesets\\outdoor_bases.bmp\r\nlayer.bmp\r\nnull\r\nnull\r\nnull\r\n",
         "B: 50 0 51 0 52 0 52 0 : Roof : pipe.bmp\r\n", "Cannot read the group icon " + pipe + "."},
        {"XEMAP.BMP", "", "", ""},
    };
    for (const auto& [pipeName, registry, groups, said] : cases) {
        SCOPED_TRACE(pipeName);
        takeSaid();
        for (const char* name : {"XEMAP.INI", "layer.grp", "pipe.bmp", "XEMAP.BMP"})
            QFile::remove(folder.filePath(name));
        ASSERT_EQ(::mkfifo(path(pipeName).c_str(), 0600), 0);
        if (!registry.empty())
            writeBytes(path("XEMAP.INI"), registry);
        if (!groups.empty())
            writeBytes(path("layer.grp"), groups);

        const std::jthread watchdog = pipeWatchdog(path(pipeName));
        QElapsedTimer clock;
        clock.start();
        start();
        windows->show();
        EXPECT_LT(clock.elapsed(), 3000);
        // It runs: the palette shows the tileset and the map view draws.
        ASSERT_TRUE(form().registryReady());
        EXPECT_TRUE(form().isVisible());
        EXPECT_EQ(palette().findChild<QLineEdit*>("TileTitle")->text(), registry.empty() ? "City" : "Piped");
        EXPECT_EQ(prompter.messages, said.isEmpty() ? QStringList() : QStringList{said});
        EXPECT_EQ(prompter.informativeTexts, said.isEmpty() ? QStringList() : QStringList{"not a regular file"});
        if (registry.empty()) {
            // Without its picture the About box shows the program's name.
            EXPECT_EQ(windows->xeAbout->findChild<QLabel*>("Image1")->text(), "XEMap");
        }
    }
}

// The program folder as installed (its marker, no registry), and a user whose home,
// data folder and documents are the test's own.
class InstalledFolderWindowTest : public RegistryStartWindowTest {
protected:
    void SetUp() override
    {
        RegistryStartWindowTest::SetUp();
        writeBytes(path("INSTALLED"), "");
        for (const char* name : kUserVariables)
            saved << qgetenv(name);
        qputenv("HOME", home.path().toUtf8());
        qputenv("XDG_DATA_HOME", home.filePath("data").toUtf8());
        qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
    }
    void TearDown() override
    {
        windows.reset();
        for (int i = 0; i < saved.size(); ++i)
            qputenv(kUserVariables[i], saved[i]);
    }
    QString documents() const { return home.filePath("Documents"); }

    static constexpr const char* kUserVariables[] = {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"};
    QList<QByteArray> saved;
    QTemporaryDir home;
};

TEST_F(InstalledFolderWindowTest, AddedTilesetsGoToTheUsersRegistryAfterThePackages)
{
    start();
    EXPECT_EQ(form().tilesetNames(), QStringList({"City", "Dungeon"}));
    EXPECT_FALSE(fs::exists(registry())) << "the package's registry is the default, never written";

    // A tileset in the user's data folder, named relative to it down to its group icons.
    const QString user = userDataFolder();
    ASSERT_TRUE(QDir().mkpath(user + "/mine"));
    testing::writeSheet(user + "/mine/cave_bases.bmp", 0);
    testing::writeSheet(user + "/mine/cave_layer.bmp", 1);
    QImage(18, 18, QImage::Format_RGB32).save(user + "/mine/pillar.bmp", "BMP");
    writeBytes((user + "/mine/cave_layer.grp").toStdString(), "B: 1 0 2 0 3 0 4 0 : Pillars : mine\\pillar.bmp\r\n");

    prompter.expectDialog([](QDialog& dialog) {
        dialog.findChild<QLineEdit*>("NameText")->setText("Caves");
        dialog.findChild<QLineEdit*>("FileName0Text")->setText("mine\\cave_bases.bmp");
        dialog.findChild<QLineEdit*>("FileName1Text")->setText("mine/cave_layer.bmp");
        return int(QDialog::Accepted);
    });
    form().AddTileset();
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.messages.join('\n').toStdString();
    EXPECT_EQ(readRegistry(fs::path(user.toStdString()) / "XEMAP.INI").value(),
              (std::vector<TilesetEntry>{
                  {"Caves", {"mine\\cave_bases.bmp", "mine/cave_layer.bmp", "null", "null", "null"}}}));
    EXPECT_FALSE(fs::exists(registry()));

    // Started again: the package's tilesets keep their positions, the user's follow and load.
    windows.reset();
    start();
    EXPECT_EQ(form().tilesetNames(), QStringList({"City", "Dungeon", "Caves"}));
    form().NewClick("Tileset2");
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.messages.join('\n').toStdString();
    EXPECT_EQ(form().document().tilesetIndex, 2);
    EXPECT_EQ(form().modeName(1, 2), "Pillars");
    EXPECT_FALSE(windows->tilesetForm->findChild<QToolButton*>("GroupButton1_0")->icon().isNull());
}

TEST_F(InstalledFolderWindowTest, FileDialogsStartInTheUsersDocumentsWhileTheMapFolderIsShared)
{
    start();
    answerMapName("First");
    prompter.expectSaveFile(documents() + "/first.xem");
    form().Save(false);
    EXPECT_EQ(prompter.fileDialogs.back().directory, documents()) << "made when missing";
    EXPECT_TRUE(QFileInfo(documents() + "/first.xem").isFile());
    EXPECT_TRUE(prompter.messages.isEmpty());

    // Open follows the map's folder wherever the user can write, and leaves a shared one.
    ASSERT_TRUE(QDir(home.path()).mkdir("maps"));
    const std::pair<QString, QString> folders[] = {
        {documents(), documents()}, {home.filePath("maps"), home.filePath("maps")}, {folder.path(), documents()}};
    for (const auto& [mapFolder, start] : folders) {
        form().session().setFolder(mapFolder.toStdString());
        prompter.expectOpenFile("");
        form().Open();
        EXPECT_EQ(prompter.fileDialogs.back().directory, start) << mapFolder.toStdString();
    }

    // Browse starts in the documents too, then where the last bitmap was picked.
    TAddTilesetForm& add = *windows->addTilesetForm;
    const QString picked = home.filePath("maps/sheet.bmp");
    for (const QString& start : {documents(), home.filePath("maps")}) {
        prompter.expectOpenFile(picked);
        prompter.messages.clear();
        add.BrowseClick(0);
        EXPECT_EQ(prompter.fileDialogs.back().directory, start);
    }
}

}  // namespace
}  // namespace xemap
