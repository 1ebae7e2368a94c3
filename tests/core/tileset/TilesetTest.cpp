#include "core/tileset/GroupFile.h"
#include "core/tileset/Registry.h"
#include "core/tileset/TipFile.h"
#include "support/MapTestSupport.h"
#include "support/OrdinaryUser.h"

#include <gtest/gtest.h>

using namespace xemap;
using namespace xemap::testing;
namespace fs = std::filesystem;

const std::string kDefaultLines = "City\r\ntilesets\\outdoor_bases.bmp\r\ntilesets\\city_layer.bmp\r\nnull\r\nnull\r\n"
                                  "null\r\nDungeon\r\ntilesets\\indoor_bases.bmp\r\ntilesets\\indoor_layer.bmp\r\n"
                                  "null\r\nnull\r\nnull\r\n";

TEST(Registry, WritesTheDefaultWhenThereIsNoUsableRegistryAndReadsEntriesAsStored)
{
    for (const char* existing : {static_cast<const char*>(nullptr), "", "\r\n  \r\n\n"}) {
        TempFolder folder;
        if (existing)
            writeBytes(folder / "XEMAP.INI", existing);
        EXPECT_EQ(loadOrCreateRegistry(folder.path()).value(), parseRegistry(kDefaultLines));
        EXPECT_EQ(fileBytes(folder / "XEMAP.INI"), kDefaultLines);
    }
    const auto gone = TempFolder().path() / "gone";
    EXPECT_EQ(loadOrCreateRegistry(gone).fault().describe(),
              (gone / "XEMAP.INI").string() + ": No such file or directory");

    // LF lines without a final line end; an empty name is kept, trailing blank lines dropped.
    const std::string longName(300, 'n');
    EXPECT_EQ(parseRegistry("A\na0\nnull\nnull\nnull\na4\n" + longName + "\nb0"),
              (std::vector<TilesetEntry>{{"A", {"a0", "null", "null", "null", "a4"}},
                                         {longName, {"b0", "null", "null", "null", "null"}}}));
    EXPECT_EQ(parseRegistry("\r\nbase\r\nnull\r\nnull\r\nnull\r\nnull\r\n\r\n\r\n"),
              (std::vector<TilesetEntry>{{"", {"base", "null", "null", "null", "null"}}}));
}

TEST(Registry, ARefusedRegistryIsNamedAndNeverReplaced)
{
    TempFolder folder;
    const auto file = folder / "XEMAP.INI";
    writeBytes(file, kDefaultLines);
    fs::resize_file(file, kRegistryFileLimit + 1);
    const RegistryFolders own{folder.path(), {}};
    EXPECT_EQ(registeredTileset(own, 0).fault().describe(), file.string() + ": the file is larger than 4 MB");
    // Within the limit the tool gets the entry it asks for, and the default one when
    // the file holds none; in a shared program folder the user's entries follow.
    EXPECT_EQ((*registeredTileset(own, 1, kRegistryFileLimit + 1))->entry, parseRegistry(kDefaultLines)[1]);
    writeBytes(file, "\n\n\n");
    EXPECT_EQ((*registeredTileset(own, 1))->entry, parseRegistry(kDefaultLines)[1]);
    EXPECT_FALSE(registeredTileset(own, 2)->has_value());
    TempFolder user;
    writeBytes(user / "XEMAP.INI", "Mine\nm.bmp\n");
    const RegistryFolders shared{folder.path(), user.path()};
    EXPECT_EQ((*registeredTileset(shared, 2))->entry.name, "Mine");
    EXPECT_EQ((*registeredTileset(shared, 2))->folder, user.path());
    EXPECT_FALSE(registeredTileset(shared, 3)->has_value());

    // A registry the user may not read is no missing one: neither replaced nor taken for the default.
    EXPECT_TRUE(test::asOrdinaryUser(folder.path(), [&] {
        fs::permissions(file, fs::perms::none);
        const std::string denied = file.string() + ": Permission denied";
        return loadOrCreateRegistry(folder.path()).fault().describe() == denied
               && registeredTileset({folder.path(), {}}, 0).fault().describe() == denied;
    }));
    EXPECT_EQ(fileBytes(file), "\n\n\n");
}

TEST(Registry, AppendsAnEntryAfterTheLastLine)
{
    TempFolder folder;
    const auto file = folder / "XEMAP.INI";
    const TilesetEntry caves{"Caves", {"C:\\art\\caves.bmp", "null", "null", "null", "null"}};
    auto expected = parseRegistry(kDefaultLines);
    expected.push_back(caves);
    writeBytes(file, kDefaultLines.substr(0, kDefaultLines.size() - 2));  // last line without its break
    EXPECT_TRUE(appendRegistryEntry(file, caves) && *readRegistry(file) == expected);
    EXPECT_EQ(appendRegistryEntry(folder.path(), caves).fault().describe(),
              folder.path().string() + ": not a regular file");

    // A program folder that takes no new files is shared, and its writable registry is appended in place.
    expected.push_back(caves);
    EXPECT_TRUE(isUsersOwnFolder(folder.path()) && !isUsersOwnFolder(folder / "missing"));
    EXPECT_TRUE(test::asOrdinaryUser(folder.path(), [&] {
        fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
        const bool appended = appendRegistryEntry(file, caves).ok() && !isUsersOwnFolder(folder.path())
                              && registryFolders(folder.path(), "/u").user == "/u";
        fs::permissions(folder.path(), fs::perms::owner_all);
        return appended && *readRegistry(file) == expected;
    }));
}

// An installed package's folder lists its own tilesets, then the user's from the user's
// folder; a refused user registry is named and the package's stays.
TEST(Registry, ASharedProgramFolderListsItsOwnTilesetsThenTheUsersAndNamesARefusedOne)
{
    TempFolder programDir, user;
    writeBytes(user / "XEMAP.INI", "Mine\r\nm.bmp\r\n");
    writeBytes(programDir / "INSTALLED", "");
    writeBytes(programDir / "XEMAP.INI", "Package\r\np.bmp\r\n");
    const RegistryFolders folders = registryFolders(programDir.path(), user.path());
    const auto registry = loadCombinedRegistry(folders);
    std::vector<std::pair<std::string, fs::path>> listed;
    for (const auto& tileset : registry->tilesets)
        listed.emplace_back(tileset.entry.name, tileset.folder);
    EXPECT_EQ(listed,
              (std::vector<std::pair<std::string, fs::path>>{{"Package", programDir.path()}, {"Mine", user.path()}}));
    EXPECT_FALSE(registry->userFault);

    fs::remove(user / "XEMAP.INI");
    fs::create_directory(user / "XEMAP.INI");
    const auto refused = loadCombinedRegistry(folders);
    EXPECT_EQ(refused->tilesets.size(), 1u);
    EXPECT_EQ(refused->userFault.value().describe(), (user / "XEMAP.INI").string() + ": not a regular file");
    fs::remove(programDir / "XEMAP.INI");
    fs::create_directory(programDir / "XEMAP.INI");
    EXPECT_EQ(loadCombinedRegistry(folders).fault().kind, Fault::Kind::NotRegularFile);
}

TEST(Registry, ResolvesStoredPathsAndCountsLayers)
{
    EXPECT_EQ(resolveTilesetPath("/opt/xemap", "tilesets\\city_layer.bmp"), "/opt/xemap/tilesets/city_layer.bmp");
    EXPECT_EQ(resolveTilesetPath("/opt/xemap", "/home/u/art.bmp"), "/home/u/art.bmp");
    // A gap still counts up to the highest layer; only the exact word "null" marks no layer.
    const std::pair<std::array<std::string, 5>, int> cases[] = {{{"a", "null", "c", "null", "null"}, 3},
                                                                {{"a", "b", "c", "d", "e"}, 5},
                                                                {{"null", "null", "null", "null", "null"}, 1},
                                                                {{"a", "NULL", "null", "null", "null"}, 2}};
    for (const auto& [files, layers] : cases)
        EXPECT_EQ(tilesetLayerCount({"t", files}), layers);
}

LayerGroups groupsOf(const std::string& text, LayerGroups groups = {})
{
    readGroups(text, groups);
    return groups;
}

TEST(TipFileTest, NamesTheCompanionFilesAndReadsOneTipPerLineUpToASheet)
{
    EXPECT_EQ(tipFileName("tilesets\\indoor_layer.bmp"), "tilesets\\indoor_layer.tip");
    EXPECT_EQ(tipFileName("a.bmp.bmp"), "a.tip");
    EXPECT_EQ(tipFileName("tilesets\\CITY.BMP"), "tip");
    EXPECT_EQ(groupFileName("tilesets\\city_layer.bmp"), "tilesets\\city_layer.grp");
    const std::string longLine(300, 'x');
    EXPECT_EQ(readTips("Grass\r\nWater\n\n" + longLine + "\r\nLast without break"),
              (TileTips{"Grass", "Water", "", longLine, "Last without break"}));
    EXPECT_EQ(readTipFile("/nonexistent/folder/none.tip").fault().kind, Fault::Kind::NotFound);

    // Only a sheet's hundred tiles are described.
    std::string manyLines;
    for (int line = 0; line < 150; ++line)
        manyLines += std::to_string(line) + "\n";
    TempFolder folder;
    writeBytes(folder / "a.tip", manyLines);
    const TileTips tips = *readTipFile(folder / "a.tip");
    ASSERT_EQ(tips.size(), kSheetTiles);
    EXPECT_EQ(tips.back(), "99");
}

TEST(GroupFileTest, ReadsBoxAndConnectorLinesIntoSlotsInFileOrder)
{
    const LayerGroups groups =
        groupsOf("B: 5 0 6 1 7 2 8 3 : Stone Wall : icons\\wall.bmp\r\n"
                 "# a comment\n"
                 "S: 10 0 11 1 12 2 -1 3 : 205 20 1 -1 -1 0 -1 -1 0 -1 -1 0 : 301 21 2 -1 -1 0 -1 -1 0 -1 -1 0 : "
                 "Road : C:\\art\\road.bmp\n"
                 "Box of hedges: 1 0 2 0 3 0 4 0 : Hedge : hedge.bmp");
    ASSERT_EQ(groups.slotCount, 3);
    EXPECT_EQ(groups.boxes[0].pieces, (GroupPieces{{{5, 0}, {6, 1}, {7, 2}, {8, 3}}}));
    EXPECT_EQ(groups.boxes[1].pieces[3], (GroupPiece{4, 0})) << "text between the kind letter and the colon is allowed";
    EXPECT_EQ(groups.slots[1].iconFile, "C:\\art\\road.bmp") << "the last field keeps its colons";
    const ConnectorGroup& road = groups.connectors[0];
    EXPECT_EQ(road.first, (ConversionTable{{{205, 20, 1}, {-1, -1, 0}, {-1, -1, 0}, {-1, -1, 0}}}));
    EXPECT_EQ(road.second[0], (Conversion{301, 21, 2}));
    const auto names = groups.groupNames();
    EXPECT_EQ(std::vector(names.begin(), names.begin() + 4),
              (std::vector<std::string>{"Stone Wall", "Road", "Hedge", "junk"}));

    // Indented and lower-case lines are no groups, nor any after the sixteenth.
    std::string text = " B: 1 0 2 0 3 0 4 0 : Indented : x.bmp\n\nb: 1 0 2 0 3 0 4 0 : lower : x.bmp\n";
    for (int i = 0; i < 17; ++i)
        text +=
            (i < 8 ? "B: 1 0 2 0 3 0 4 0 : Box" : "S: 1 0 2 0 3 0 4 0 : : : Wall") + std::to_string(i) + " : b.bmp\n";
    const LayerGroups many = groupsOf(text);
    EXPECT_EQ(many.slotCount, 16);
    EXPECT_EQ(many.slots[0].name, "Box0");
    EXPECT_EQ(many.slots[15].name, "Wall15");
}

TEST(GroupFileTest, MissingOrMalformedNumbersKeepTheEntriesTheyHad)
{
    LayerGroups before = groupsOf("B: 1 1 2 2 3 3 4 0 : First : a.bmp\nS: 9 1 9 2 9 3 9 0 : : : C : c.bmp\n");
    const LayerGroups after = groupsOf("B: 50 0 51 x 60 : Partial : a.bmp\n"
                                       "B: 70 0 71 0 72 0 73 0\n"
                                       "S: 80 : 1 2 99999999999 : : Half : c.bmp\n",
                                       before);
    EXPECT_EQ(after.boxes[0].pieces, (GroupPieces{{{50, 0}, {51, 2}, {3, 3}, {4, 0}}}));
    EXPECT_EQ(after.boxes[1].pieces, (GroupPieces{})) << "no colon after the numbers: an empty numbers field";
    EXPECT_EQ(after.slots[1].iconFile, "70 0 71 0 72 0 73 0");
    EXPECT_EQ(after.connectors[0].pieces[0], (GroupPiece{80, 1}));
    EXPECT_EQ(after.connectors[0].pieces[1], (GroupPiece{9, 2})) << "kept from the earlier read";
    EXPECT_EQ(after.connectors[0].first[0], (Conversion{1, 2, 0})) << "an overflowing number ends the field";

    // A missing file leaves the layer with no groups at all; a file's groups are read.
    EXPECT_FALSE(readGroupFile("/nonexistent/folder/none.grp", before).ok());
    EXPECT_EQ(before.slotCount, 0);
    TempFolder folder;
    writeBytes(folder / "a.grp", "B: 1 0 2 0 3 0 4 0 : Wall : wall.bmp\n");
    ASSERT_TRUE(readGroupFile(folder / "a.grp", before));
    EXPECT_EQ(before.slotCount, 1);
}

TEST(GroupFileTest, ModesFindTheirSlotsGroupAndTilesFindTheirGroup)
{
    const LayerGroups groups =
        groupsOf("B: 0 0 11 0 12 0 13 0 : Box : b.bmp\n"
                 "S: 21 0 22 0 23 0 -1 0 : -1 -1 0 -1 -1 0 -1 -1 0 -1 -1 0 : -1 -1 0 -1 -1 0 -1 -1 0 -1 -1 0 : "
                 "Fence : f.bmp\n"
                 "S: 31 0 12 0 33 0 34 0 : : : Wall : w.bmp\n");
    EXPECT_EQ(groups.boxGroupForMode(2), &groups.boxes[0]);
    EXPECT_EQ(groups.connectorGroupForMode(3), &groups.connectors[0]);
    EXPECT_EQ(groups.connectorGroupForMode(4), &groups.connectors[1]);
    for (int mode : {-1, 0, 1, 5, 17, 18})
        EXPECT_TRUE(groups.boxGroupForMode(mode) == nullptr && groups.connectorGroupForMode(mode) == nullptr) << mode;

    // The first piece of a group counts as much as the others.
    const std::pair<int, std::optional<GroupChoice>> picks[] = {
        {12, GroupChoice{2, false}}, {21, GroupChoice{3, true}}, {33, GroupChoice{4, true}}, {55, {}}};
    for (const auto& [tile, choice] : picks)
        EXPECT_EQ(groups.groupOfTile(tile), choice) << tile;
}
