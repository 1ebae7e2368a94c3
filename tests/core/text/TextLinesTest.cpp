#include "core/text/TextLines.h"
#include "support/MapTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace xemap {
namespace {

using namespace testing;
namespace fs = std::filesystem;

TEST(TextFile, ReadsOnlyRegularFilesUpToTheLimit)
{
    TempFolder folder;
    writeBytes(folder / "small.txt", std::string(100, 'x'));
    writeBytes(folder / "big.txt", std::string(101, 'x'));
    ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
    fs::create_directory(folder / "sub");

    using Fault = TextFile::Fault;
    const std::tuple<fs::path, Fault, std::string> cases[] = {
        {folder / "small.txt", Fault::None, ""},
        {folder / "big.txt", Fault::TooLarge, "the file is larger than 100 bytes"},
        {"/dev/zero", Fault::NotRegularFile, "not a regular file"},
        {folder / "pipe", Fault::NotRegularFile, "not a regular file"},  // never waits for a writer
        {folder / "sub", Fault::NotRegularFile, "not a regular file"},
        {folder / "missing.txt", Fault::CannotOpen, "cannot open the file"},
    };
    for (const auto& [file, fault, message] : cases) {
        SCOPED_TRACE(file.string());
        const TextFile read = readTextFile(file, 100);
        EXPECT_EQ(read.fault, fault);
        EXPECT_EQ(read.message(), message);
        EXPECT_EQ(read.ok(), fault == Fault::None);
    }
    EXPECT_EQ(readTextFile(folder / "small.txt", 100).text, std::string(100, 'x'));

    // A sparse file just over a limit in megabytes is refused by its size, unread.
    fs::resize_file(folder / "big.txt", 64 * 1024 * 1024 + 1);
    EXPECT_EQ(readTextFile(folder / "big.txt", 64 * 1024 * 1024).message(), "the file is larger than 64 MB");
}

TEST(TextLines, PrintableTextEscapesControlsAndBrokenUtf8Only)
{
    const std::pair<std::string, std::string> cases[] = {
        {"Tiles \\ C:\\art", "Tiles \\ C:\\art"},
        {"\x1b[2J\x1b]0;owned\x07", "\\x1b[2J\\x1b]0;owned\\x07"},
        {"a\tb\r\n\x7f", "a\\x09b\\x0d\\x0a\\x7f"},
        {std::string("nul\0byte", 8), "nul\\x00byte"},
        {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x97\xba", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x97\xba"},  // UTF-8 kept
        {"\xc2\x9b"
         "31m",
         "\\xc2\\x9b31m"},                                                            // C1 control (CSI) in UTF-8
        {"caf\xe9", "caf\\xe9"},                                                      // Latin-1
        {"\xc0\xaf \xe2\x82 \xed\xa0\x80", "\\xc0\\xaf \\xe2\\x82 \\xed\\xa0\\x80"},  // overlong, cut, surrogate
    };
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(printableText(text), shown);
}

}  // namespace
}  // namespace xemap
