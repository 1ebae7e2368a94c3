#include "support/ToolRun.h"

#include <gtest/gtest.h>

namespace xemap {
namespace {

using namespace testing;
namespace fs = std::filesystem;

// A copy of the tool in a program folder of its own, marked as an installed package's or
// not, with a user data folder that registers one tileset of the user's.
TEST(CliUserRegistry, ASharedProgramFolderReadsTheUsersTilesetsAfterThePackagesUnlessTilesNamesAFolder)
{
    TempFolder folder;
    const fs::path program = folder / "program", user = folder / "data" / "XEMap";
    fs::create_directories(program);
    fs::create_directories(user / "mine");
    fs::copy_file(programFolder() / "xemap-cli", program / "xemap-cli");
    writeBytes(user / "XEMAP.INI", "Mine\r\nmine\\sheet.bmp\r\nnull\r\nnull\r\nnull\r\nnull\r\n");
    writeBytes(user / "mine" / "sheet.bmp", "a sheet");
    // The default registry has two tilesets, so the user's is the third.
    writeBytes(folder / "map.xem", joined(emptyMapLines("Mine", 2)));
    const std::string tool =
        "XDG_DATA_HOME=" + quoted((folder / "data").string()) + " " + quoted(program / "xemap-cli");
    const std::string notRegistered = "map.xem: tileset 2 is not in the registry of " + program.string() + "\n";
    // The program's own folder: its registry alone, as the editor reads it there.
    expectAnswers(folder, {{{"tmx", "map.xem", "map.tmx"}, 1, "", notRegistered}}, tool);

    writeBytes(program / "INSTALLED", "");
    expectAnswers(folder, {{{"tmx", "map.xem", "map.tmx"}, 0, "", ""}}, tool);
    EXPECT_NE(fileBytes(folder / "map.tmx").find("source=\"data/XEMap/mine/sheet.bmp\""), std::string::npos);
    EXPECT_FALSE(fs::exists(program / "XEMAP.INI"));

    expectAnswers(folder, {{{"tmx", "map.xem", "map.tmx", "--tiles", program.string()}, 1, "", notRegistered}}, tool);
}

}  // namespace
}  // namespace xemap
