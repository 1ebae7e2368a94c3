#include "core/files/ReadFile.h"
#include "support/MapTestSupport.h"

#include <gtest/gtest.h>

using namespace xemap;
using namespace xemap::testing;
namespace fs = std::filesystem;

TEST(ReadFile, ReadsOnlyRegularFilesUpToTheLimit)
{
    TempFolder folder;
    writeBytes(folder / "small.txt", std::string(100, 'x'));
    writeBytes(folder / "big.txt", std::string(101, 'x'));
    fs::create_symlink(folder / "small.txt", folder / "link.txt");

    using Kind = Fault::Kind;
    const std::tuple<fs::path, Links, std::optional<Kind>, std::string> cases[] = {
        {folder / "small.txt", Links::Follow, std::nullopt, ""},
        {folder / "link.txt", Links::Refuse, Kind::NotRegularFile, "a symbolic link"},
        {folder / "big.txt", Links::Follow, Kind::TooLarge, "the file is larger than 100 bytes"},
        {"/dev/zero", Links::Follow, Kind::NotRegularFile, "not a regular file"},
        {folder / "missing.txt", Links::Follow, Kind::NotFound, "No such file or directory"},
        {folder / "small.txt" / "x", Links::Follow, Kind::CannotOpen, "Not a directory"}};
    for (const auto& [file, links, fault, reason] : cases) {
        SCOPED_TRACE(file.string());
        const auto read = readFile(file, 100, links);
        if (fault) {
            EXPECT_EQ(read.fault().kind, *fault);
            EXPECT_EQ(read.fault().describe(), file.string() + ": " + reason);
        } else {
            EXPECT_EQ(*read, std::string(100, 'x'));
        }
    }
}
