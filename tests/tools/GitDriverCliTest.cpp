#include "core/mapfile/MapReader.h"
#include "core/mapfile/MapWriter.h"
#include "support/ToolRun.h"

#include <gtest/gtest.h>

namespace xemap {
namespace {

using namespace testing;

// A repository set up as the README's "Maps in git" says, with xemap-cli on the PATH.
struct GitRepository {
    GitRepository()
    {
        for (const char* line :
             {"git init -q -b trunk", "git config user.name Tester", "git config user.email tester@example.org",
              "git config merge.xemap.driver \"xemap-cli merge %O %A %B -o %A\"",
              "git config diff.xemap.textconv \"xemap-cli show\""})
            EXPECT_EQ(git(line).status, 0) << line;
        writeBytes(folder / ".gitattributes", "*.xem merge=xemap diff=xemap\n");
    }

    ToolRun git(const std::string& commandLine)
    {
        return runTool("PATH=" + quoted(programFolder().string()) + ":\"$PATH\" " + commandLine, folder.path());
    }

    // Commits the map on the branch checkout names ("-b new" starts one), or on the current one.
    void commit(const std::string& checkout, const MapDocument& document, const std::string& message)
    {
        ASSERT_TRUE(checkout.empty() || git("git checkout -q " + checkout).status == 0) << checkout;
        ASSERT_TRUE(saveMapFile(document, folder / "town.xem"));
        ASSERT_EQ(git("git add town.xem .gitattributes && git commit -q -m " + message).status, 0);
    }

    MapDocument committedMap() { return readMap(fileBytes(folder / "town.xem"))->document; }

    TempFolder folder;
};

TEST(GitDriver, MergesDifferentCellsByItselfAndStopsOnTheSameCellKeepingOurs)
{
    GitRepository repo;
    MapDocument base;
    base.mapName = "Town";
    base.descriptions.append(std::make_shared<XETile>(XETile{cellIndexOf(9, 9), "Square", {}, {}, {}, {}, {}, {}}));
    repo.commit("", base, "base");

    MapDocument mill = base;
    mill.grid.tile(1, 1, 0) = 21;
    mill.descriptions.append(std::make_shared<XETile>(XETile{cellIndexOf(1, 1), "Mill", {}, {}, {}, {}, {}, {}}));
    repo.commit("-b mill", mill, "mill");

    MapDocument inn = base;
    inn.grid.tile(5, 5, 2) = 33;
    inn.grid.door(5, 5, South) = 2;
    inn.descriptions.append(std::make_shared<XETile>(XETile{cellIndexOf(5, 5), "Inn", {}, {}, {}, {}, {}, {}}));
    repo.commit("trunk", inn, "inn");

    const ToolRun clean = repo.git("git merge -q --no-edit mill");
    ASSERT_EQ(clean.status, 0) << clean.out << clean.err;
    MapDocument merged = inn;
    merged.grid.tile(1, 1, 0) = 21;
    merged.descriptions.append(std::make_shared<XETile>(XETile{cellIndexOf(1, 1), "Mill", {}, {}, {}, {}, {}, {}}));
    EXPECT_EQ(writeMap(repo.committedMap()), writeMap(merged));
    // git shows the map in words through the textconv driver.
    const ToolRun log = repo.git("git log -p -1 --format= mill");
    EXPECT_NE(log.out.find("+cell (2, 2): base tile 21"), std::string::npos) << log.out;

    MapDocument well = mill;
    well.grid.tile(1, 1, 0) = 40;
    repo.commit("-b well mill", well, "well");
    merged.grid.tile(1, 1, 0) = 50;
    repo.commit("trunk", merged, "paving");

    const ToolRun clash = repo.git("git merge --no-edit well");
    EXPECT_NE(clash.status, 0);
    EXPECT_NE((clash.out + clash.err).find("conflict: cell (2, 2) base: base tile 21 / ours tile 50 / theirs tile 40"),
              std::string::npos)
        << clash.out << clash.err;
    EXPECT_NE(repo.git("git status --porcelain").out.find("UU town.xem"), std::string::npos);
    EXPECT_EQ(writeMap(repo.committedMap()), writeMap(merged));
}

}  // namespace
}  // namespace xemap
