#include "core/text/TextLines.h"
#include "support/MapTestSupport.h"

#include <gtest/gtest.h>

namespace xemap {
namespace {

using namespace testing;

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
