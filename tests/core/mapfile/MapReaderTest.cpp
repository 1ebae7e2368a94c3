#include "core/mapfile/MapReader.h"
#include "core/mapfile/MapWriter.h"
#include "support/MapTestSupport.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace xemap;

using namespace xemap::testing;

class FixtureResave : public ::testing::TestWithParam<std::string> {};

TEST_P(FixtureResave, IsByteIdentical)
{
    const auto bytes = fileBytes(testData("maps/" + GetParam()));
    const auto result = readMap(bytes);
    ASSERT_TRUE(result.ok()) << result.fault().describe();
    EXPECT_EQ(writeMap(result->document), bytes);
    EXPECT_TRUE(result->hasMapNameLine && !result->singleLayer && result->skipped.empty());
}

std::vector<std::string> fixtureNames()
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(testData("maps")))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

INSTANTIATE_TEST_SUITE_P(Maps, FixtureResave, ::testing::ValuesIn(fixtureNames()),
                         [](const auto& info) { return info.param.substr(0, info.param.find('.')); });

// Layouts the reader accepts besides the writer's own: each edits the crossroads file.
TEST(MapReader, AcceptsEveryLayoutItIsDefinedToAccept)
{
    const auto crossroads = fileBytes(testData("maps/crossroads.xem"));
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < crossroads.size(); at = crossroads.find('\n', at) + 1)
        lines.push_back(crossroads.substr(at, crossroads.find('\r', at) - at));
    auto edited = [&](auto edit) {
        auto l = lines;
        edit(l);
        return joined(l);
    };
    const auto longLines = edited([](auto& l) { l[0] = l[1028] = std::string(500, 'x'); });
    // What, the text, and how it is written back (empty: as the crossroads file itself).
    const std::tuple<const char*, std::string, std::string> cases[] = {
        {"LF line ends", joined(lines, "\n"), ""},
        {"no line end on the last line", crossroads.substr(0, crossroads.size() - 2), ""},
        {"blank lines, stray blanks and missing layer pairs", edited([](auto& l) {
             l[1] = "  0  ", l[2] = "\t 0 0 99 0 0 0 0 0 0 0 0 0", l[3] = "0 0 99 0 0 0 0 0";
             l[1026] = "65   ", l.insert(l.begin() + 1026, {"", "   "}), l.push_back("");
             l.insert(l.begin() + 1, {"", ""});
         }),
         ""},
        {"no map name line", edited([](auto& l) { l.erase(l.begin()); }), edited([](auto& l) { l[0] = ""; })},
        {"lines of any length", longLines, longLines},
    };
    for (const auto& [what, text, resave] : cases) {
        SCOPED_TRACE(what);
        const auto result = readMap(text);
        ASSERT_TRUE(result.ok()) << result.fault().describe();
        EXPECT_EQ(writeMap(result->document), resave.empty() ? crossroads : resave);
    }
}

TEST(MapReader, RejectsMalformedFilesNamingTheLine)
{
    // An empty map with a block after its cells, or with its cell 40 (line 43) replaced.
    auto withBlock = [](std::vector<std::string> block, std::string cell = kEmptyCell) {
        auto l = emptyMapLines();
        l[2 + 40] = std::move(cell);
        l.insert(l.end(), block.begin(), block.end());
        return joined(l);
    };
    auto withCell = [&](std::string cell) { return withBlock({}, std::move(cell)); };
    auto cut = emptyMapLines();
    cut.resize(2 + 1023);
    // What, the text, the line named and a part of the message.
    const std::tuple<const char*, std::string, int, std::string> cases[] = {
        {"empty file", "", 1, "empty"},
        {"text for the tileset index", "Name\r\nfirst\r\n", 2, "tileset index"},
        {"cell line without numbers", withCell("   "), 43, "no numbers"},
        {"non-digit door", withCell(kEmptyCell + " : 1 x 0 0 0 "), 43, "door digit"},
        {"ends before the last cell line", joined(cut), 1026, "1023 of the 1024"},
        {"cell index below -1", withBlock({"-2", "x", "...", ">>>"}), 1027, "outside"},
        {"text after the cell index", withBlock({"65 Old Well", "...", ">>>"}), 1027, "cell index"},
        {"ends in the area text", withBlock({"5", "x", "text"}), 1030, "begins on line 1027"},
        {"ends in a record", withBlock({"5", "x", "...", "Items:", "Rope", "5"}), 1033, "inside"},
        {"non-numeric item flag", withBlock({"5", "x", "...", "Items:", "Rope", "5", "", "yes", "...", ">>>"}), 1034,
         "item's flag"},
    };
    for (const auto& [what, text, line, message] : cases) {
        SCOPED_TRACE(what);
        const auto result = readMap(text);
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.fault().kind, Fault::Kind::Malformed);
        EXPECT_EQ(result.fault().line, line) << result.fault().reason;
        EXPECT_NE(result.fault().reason.find(message), std::string::npos) << result.fault().reason;
    }
}

TEST(MapReader, SkipsUnknownSectionLinesAndEndsADescriptionAtAnyBlockEnd)
{
    auto l = emptyMapLines();
    l.insert(l.end(),
             {"1", "a", "text", ">>>", "2",        "b",          "...", "NPCS:", "Mara", "",    "NPCs:",  "N",
              "",  "",  "",     "",    "...",      "Creatures:", ">>>", "3",     "c",    "...", "Items:", "Rope",
              "",  "",  "0",    "...", "Portals:", "NPCs:",      "",    "",      "",     "",    "...",    ">>>"});
    const auto result = readMap(joined(l));
    ASSERT_TRUE(result.ok()) << result.fault().reason;
    ASSERT_EQ(result->skipped.size(), 2u);  // the blank line is not content
    EXPECT_EQ(result->skipped[0].text, "NPCS:");
    EXPECT_EQ(result->skipped[1].line, 1035);
    const auto& list = result->document.descriptions;
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list.at(0)->areaText, StringList{"text"});
    EXPECT_EQ(list.at(1)->npcs.size(), 1u);
    EXPECT_EQ(list.at(2)->items.size(), 1u);
    ASSERT_EQ(list.at(2)->portals.size(), 1u);
    EXPECT_EQ(list.at(2)->portals[0]->name, "NPCs:");  // no section follows portals
}

TEST(MapReaderFile, ReportsAFileItCannotOpen)
{
    TempFolder folder;
    EXPECT_EQ(readMapFile(folder / "missing.xem").fault().describe(),
              (folder / "missing.xem").string() + ": No such file or directory");
    EXPECT_EQ(readMapFile(folder.path()).fault().kind, Fault::Kind::NotRegularFile);
    const auto read = readMapFile(testData("maps/crossroads.xem"));
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read->document.mapFileName, testData("maps/crossroads.xem").string());

    // A malformed file's fault names the file and the line.
    const auto broken = folder / "broken.xem";
    writeBytes(broken, "Broken\r\n0\r\nno cell\r\n");
    EXPECT_EQ(readMapFile(broken).fault().describe(),
              broken.string() + ": line 3: expected a number in the cell line, found 'no'");
}
