#include "core/text/TextLines.h"
#include "core/text/TextForm.h"

#include <gtest/gtest.h>

using namespace xemap;

TEST(TextLines, PrintableTextEscapesControlsAndBrokenUtf8Only)
{
    const std::pair<std::string, std::string> cases[] = {
        {"Tiles \\ C:\\art", "Tiles \\ C:\\art"},
        {"\x1b[2J\x1b]0;owned\x07", "\\x1b[2J\\x1b]0;owned\\x07"},
        {"a\tb\r\n\x7f", "a\\x09b\\x0d\\x0a\\x7f"},
        {std::string("nul\0byte", 8), "nul\\x00byte"},
        {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x97\xba", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x97\xba"},  // UTF-8 kept
        {"\xc2\x9b[31m", "\\xc2\\x9b[31m"},                                          // C1 control (CSI) in UTF-8
        {"caf\xe9", "caf\\xe9"},                                                     // Latin-1
        {"\xc0\xaf \xe2\x82 \xed\xa0\x80", "\\xc0\\xaf \\xe2\\x82 \\xed\\xa0\\x80"}  // overlong, cut, surrogate
    };
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(printableText(text), shown);
}

TEST(TextForm, ValidUtf8IsUtf8AndAnyOtherFieldLatin1)
{
    const std::pair<std::string, TextForm> cases[] = {
        {"", TextForm::Utf8},
        {"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x97\xba \xef\xbf\xbd", TextForm::Utf8},
        {"caf\xe9", TextForm::Latin1},
        {"\xc0\xaf", TextForm::Latin1},                                                            // overlong
        {"\xed\xa0\x80", TextForm::Latin1},                                                        // surrogate
        {"\xf4\x90\x80\x80", TextForm::Latin1},                                                    // beyond U+10FFFF
        {"\xe2\x82", TextForm::Latin1},                                                            // cut short
        {"\xc2\x80 \xe0\xa0\x80 \xf0\x90\x80\x80 \xed\x9f\xbf \xf4\x8f\xbf\xbf", TextForm::Utf8},  // smallest, largest
        {"\xe0\x9f\xbf", TextForm::Latin1},                                                        // overlong U+07FF
        {"\xed\xbf\xbf", TextForm::Latin1}                                                         // last surrogate
    };
    for (const auto& [bytes, form] : cases)
        EXPECT_EQ(textFormOf(bytes), form) << printableText(bytes);
    EXPECT_EQ(latin1AsUtf8("caf\xe9\xff"), "caf\xc3\xa9\xc3\xbf");
    EXPECT_EQ(utf8AsLatin1("caf\xc3\xa9\xc3\xbf"), "caf\xe9\xff");
    EXPECT_EQ(utf8AsLatin1("\xe2\x82\xac"), std::nullopt);
}
