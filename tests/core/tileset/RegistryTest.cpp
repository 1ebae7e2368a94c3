#include "core/tileset/Registry.h"
#include "support/MapTestSupport.h"
#include "support/OrdinaryUser.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace xemap;

using namespace xemap::testing;
namespace fs = std::filesystem;

const std::string kDefaultLines = "City\r\ntilesets\\outdoor_bases.bmp\r\ntilesets\\city_layer.bmp\r\nnull\r\nnull\r\n"
                                  "null\r\nDungeon\r\ntilesets\\indoor_bases.bmp\r\ntilesets\\indoor_layer.bmp\r\n"
                                  "null\r\nnull\r\nnull\r\n";

TEST(Registry, WritesTheDefaultWhenThereIsNoUsableRegistry)
{
    for (const char* existing : {static_cast<const char*>(nullptr), "", "\r\n  \r\n\n"}) {
        TempFolder folder;
        if (existing)
            writeBytes(folder / "XEMAP.INI", existing);
        const auto tilesets = loadOrCreateRegistry(folder.path());
        ASSERT_TRUE(tilesets);
        EXPECT_EQ(*tilesets, parseRegistry(kDefaultLines));
        EXPECT_EQ(fileBytes(folder / "XEMAP.INI"), kDefaultLines);
    }
    const auto gone = TempFolder().path() / "gone";
    EXPECT_EQ(loadOrCreateRegistry(gone).fault().describe(),
              (gone / "XEMAP.INI").string() + ": No such file or directory");
}

TEST(Registry, ReadsEntriesAsStored)
{
    const std::string longName(300, 'n');
    const std::tuple<const char*, std::string, std::vector<TilesetEntry>> cases[] = {
        {"LF lines, no final line end",
         "A\na0\nnull\nnull\nnull\na4\n" + longName + "\nb0",
         {{"A", {"a0", "null", "null", "null", "a4"}}, {longName, {"b0", "null", "null", "null", "null"}}}},
        {"empty name kept, trailing blank lines dropped",
         "\r\nbase\r\nnull\r\nnull\r\nnull\r\nnull\r\n\r\n\r\n",
         {{"", {"base", "null", "null", "null", "null"}}}},
    };
    for (const auto& [what, text, expected] : cases)
        EXPECT_EQ(parseRegistry(text), expected) << what;
}

TEST(Registry, OneEntryReadsAsTheWholeRegistryHasIt)
{
    for (const std::string& text :
         {kDefaultLines, std::string("A\na0\nnull\n\n\n"), std::string("\r\nb\r\n"), std::string(" \n\t\r\n\n"),
          std::string("A\r\n1\r\n2\r\n3\r\n4\r\n5\r\nB\r\n\r\n \r\n")}) {
        const auto all = parseRegistry(text);
        for (std::size_t index = 0; index <= all.size(); ++index)
            EXPECT_EQ(parseRegistryEntry(text, index), index < all.size() ? std::optional(all[index]) : std::nullopt)
                << index << " of " << text;
    }
}

TEST(Registry, ARefusedRegistryIsNamedAndNeverReplaced)
{
    TempFolder folder;
    const auto file = folder / "XEMAP.INI";
    writeBytes(file, kDefaultLines);
    fs::resize_file(file, kRegistryFileLimit + 1);
    EXPECT_EQ(registryEntryOrDefault(folder.path(), 0).fault().describe(),
              file.string() + ": the file is larger than 4 MB");
    // Within the limit the tool gets the entry it asks for, and the default one when
    // the file holds none.
    EXPECT_EQ(*registryEntryOrDefault(folder.path(), 1, kRegistryFileLimit + 1), parseRegistry(kDefaultLines)[1]);
    writeBytes(file, "\n\n\n");
    EXPECT_EQ(*registryEntryOrDefault(folder.path(), 1), parseRegistry(kDefaultLines)[1]);
    EXPECT_FALSE(registryEntryOrDefault(folder.path(), 2)->has_value());

    // A registry the user may not read is no missing one: neither replaced nor taken for the default.
    EXPECT_TRUE(test::asOrdinaryUser(folder.path(), [&] {
        fs::permissions(file, fs::perms::none);
        const std::string denied = file.string() + ": Permission denied";
        return loadOrCreateRegistry(folder.path()).fault().describe() == denied
               && registryEntryOrDefault(folder.path(), 0).fault().describe() == denied;
    }));
    EXPECT_EQ(fileBytes(file), "\n\n\n");
}

TEST(Registry, AppendsAnEntryAfterTheLastLine)
{
    TempFolder folder;
    const auto file = folder / "XEMAP.INI";
    const TilesetEntry caves{"Caves", {"C:\\art\\caves.bmp", "null", "null", "null", "null"}};
    ASSERT_TRUE(appendRegistryEntry(file, caves));
    EXPECT_EQ(fileBytes(file), "Caves\r\nC:\\art\\caves.bmp\r\nnull\r\nnull\r\nnull\r\nnull\r\n");

    writeBytes(file, kDefaultLines.substr(0, kDefaultLines.size() - 2));  // last line without its break
    ASSERT_TRUE(appendRegistryEntry(file, caves));
    auto expected = parseRegistry(kDefaultLines);
    expected.push_back(caves);
    EXPECT_EQ(*readRegistry(file), expected);
    EXPECT_EQ(appendRegistryEntry(folder.path(), caves).fault().describe(),
              folder.path().string() + ": not a regular file");

    // A writable registry in a program folder that takes no new files is appended in place.
    expected.push_back(caves);
    EXPECT_TRUE(test::asOrdinaryUser(folder.path(), [&] {
        fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
        const bool appended = appendRegistryEntry(file, caves).ok();
        fs::permissions(folder.path(), fs::perms::owner_all);
        return appended && *readRegistry(file) == expected;
    }));
}

TEST(Registry, ASharedProgramFolderListsItsOwnTilesetsThenTheUsers)
{
    const std::string mine = "Mine\r\nmine\\base.bmp\r\nnull\r\nnull\r\nnull\r\nnull\r\n";
    const std::string program = "Package\r\np.bmp\r\nnull\r\nnull\r\nnull\r\nnull\r\n";
    struct Case {
        const char* what;
        bool installed;
        std::optional<std::string> programRegistry, userRegistry;
        std::vector<std::string> names;  // of the combined list; the last userEntries are the user's
        std::size_t userEntries;
        bool programWritten;
    };
    const Case cases[] = {
        {"the user's own program folder ignores the user's registry", false, {}, mine, {"City", "Dungeon"}, 0, true},
        {"the package's entries first", true, program, mine + mine, {"Package", "Mine", "Mine"}, 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder programDir, user;
        if (c.installed)
            writeBytes(programDir / "INSTALLED", "");
        if (c.programRegistry)
            writeBytes(programDir / "XEMAP.INI", *c.programRegistry);
        if (c.userRegistry)
            writeBytes(user / "XEMAP.INI", *c.userRegistry);
        const RegistryFolders folders = registryFolders(programDir.path(), user.path());
        EXPECT_EQ(folders.added(), c.installed ? user.path() : programDir.path());
        const auto registry = loadCombinedRegistry(folders);
        ASSERT_TRUE(registry);
        EXPECT_FALSE(registry->userFault);
        const auto& tilesets = registry->tilesets;
        std::vector<std::string> names;
        for (std::size_t i = 0; i < tilesets.size(); ++i) {
            names.push_back(tilesets[i].entry.name);
            EXPECT_EQ(tilesets[i].folder, i + c.userEntries >= tilesets.size() ? user.path() : programDir.path());
        }
        EXPECT_EQ(names, c.names);
        EXPECT_EQ(fs::exists(programDir / "XEMAP.INI"), c.programRegistry || c.programWritten);
    }
}

TEST(Registry, ARefusedUserRegistryIsNamedAndThePackagesStays)
{
    TempFolder programDir, user;
    writeBytes(programDir / "INSTALLED", "");
    fs::create_directory(user / "XEMAP.INI");
    const auto registry = loadCombinedRegistry(registryFolders(programDir.path(), user.path()));
    ASSERT_TRUE(registry);
    EXPECT_EQ(registry->tilesets.size(), 2u);
    ASSERT_TRUE(registry->userFault);
    EXPECT_EQ(registry->userFault->kind, Fault::Kind::NotRegularFile);
    EXPECT_EQ(registry->userFault->file, (user / "XEMAP.INI").string());

    fs::create_directory(programDir / "XEMAP.INI");
    const auto refused = loadCombinedRegistry(registryFolders(programDir.path(), user.path()));
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.fault().kind, Fault::Kind::NotRegularFile);
}

TEST(Registry, AProgramFolderTheUserCannotWriteToIsShared)
{
    TempFolder folder;
    EXPECT_TRUE(isUsersOwnFolder(folder.path()));
    EXPECT_TRUE(test::asOrdinaryUser(folder.path(), [&] {
        fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
        const bool shared = !isUsersOwnFolder(folder.path()) && registryFolders(folder.path(), "/u").user == "/u";
        fs::permissions(folder.path(), fs::perms::owner_all);
        return shared;
    }));
    EXPECT_FALSE(isUsersOwnFolder(folder / "missing"));
}

TEST(Registry, ResolvesStoredPathsAndCountsLayers)
{
    EXPECT_EQ(resolveTilesetPath("/opt/xemap", "tilesets\\city_layer.bmp"), "/opt/xemap/tilesets/city_layer.bmp");
    EXPECT_EQ(resolveTilesetPath("/opt/xemap", "/home/u/art.bmp"), "/home/u/art.bmp");
    const std::pair<std::array<std::string, 5>, int> cases[] = {
        {{"a", "null", "c", "null", "null"}, 3},  // a gap still counts up to the highest layer
        {{"a", "b", "c", "d", "e"}, 5},
        {{"null", "null", "null", "null", "null"}, 1},
        {{"a", "NULL", "null", "null", "null"}, 2},  // only the exact word marks no layer
    };
    for (const auto& [files, layers] : cases)
        EXPECT_EQ(tilesetLayerCount({"t", files}), layers);
}
