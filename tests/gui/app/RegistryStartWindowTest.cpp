#include "core/tileset/Registry.h"
#include "gui/app/XemapWindows.h"
#include "gui/app/Xemapmain.h"
#include "support/ScriptedPrompter.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>

namespace xemap {
namespace {

namespace fs = std::filesystem;

class RegistryStartWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        QFile::link(QCoreApplication::applicationDirPath() + "/tilesets", folder.filePath("tilesets"));
    }
    fs::path registry() const { return fs::path(folder.filePath("XEMAP.INI").toStdString()); }
    void writeRegistry(int entries)
    {
        QFile file(folder.filePath("XEMAP.INI"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        for (int i = 0; i < entries; ++i)
            file.write(
                QString("T%1\r\ntilesets\\outdoor_bases.bmp\r\nnull\r\nnull\r\nnull\r\nnull\r\n").arg(i).toUtf8());
    }
    QStringList newItems(TForm1& form) const
    {
        QStringList names;
        for (QAction* action : form.findChild<QMenu*>("FileMenu")->actions())
            if (action->objectName().startsWith("Tileset"))
                names << action->objectName();
        return names;
    }

    QTemporaryDir folder;
    testing::ScriptedPrompter prompter;
};

TEST_F(RegistryStartWindowTest, AHugeRegistryGetsNewItemsForItsFirstThousandTilesetsOnly)
{
    writeRegistry(1003);
    XemapWindows windows(prompter, folder.path());
    TForm1& form = *windows.form1;
    ASSERT_TRUE(form.registryReady());
    EXPECT_EQ(form.tilesetNames.size(), 1003);
    const QStringList items = newItems(form);
    ASSERT_EQ(items.size(), 1000);
    EXPECT_EQ(items.front(), "Tileset0");
    EXPECT_EQ(items.back(), "Tileset999");
    // Tilesets past the menu's items stay registered: the New button's list offers them.
    form.registerTileset("Added", {"tilesets/outdoor_bases.bmp", "null", "null", "null", "null"});
    EXPECT_EQ(form.tilesetNames.size(), 1004);
    EXPECT_EQ(newItems(form).size(), 1000);
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(RegistryStartWindowTest, ARegistryOverItsLimitIsNamedAndKept)
{
    writeRegistry(2);
    fs::resize_file(registry(), kRegistryFileLimit + 1);
    XemapWindows windows(prompter, folder.path());
    EXPECT_FALSE(windows.form1->registryReady());
    EXPECT_EQ(prompter.messages,
              QStringList{QString::fromStdString(registry().string()) + ": the file is larger than 4 MB"});
    EXPECT_EQ(fs::file_size(registry()), kRegistryFileLimit + 1);
}

}  // namespace
}  // namespace xemap
