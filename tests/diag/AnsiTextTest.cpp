#include "diag/AnsiText.h"

#include <gtest/gtest.h>

// A file name is bytes: what a message shows of it tells apart two names
// that differ in any byte, and keeps the characters the name does have.
TEST(AnsiText, AFileNameShowsEachByteThatIsNoUtf8AsAnEscape)
{
    const std::pair<const char*, const char*> cases[]{
        {"adapter-\xFF", "adapter-\\xff"},
        {"adapter-\xEF\xBF\xBD", "adapter-?"},         // U+FFFD has no byte of its own
        {"latin1-\xE4-\xC3\xA4", "latin1-\\xe4-\xE4"}, // a Latin-1 byte beside the same letter in UTF-8
        {"\xC0\xAF" "etc", "\\xc0\\xafetc"},            // an overlong "/"
        {"cut-\xE2\x82", "cut-\\xe2\\x82"},             // a character cut short
    };
    for (const auto& [name, shown] : cases)
        EXPECT_EQ(fileNameToAnsi(name), shown) << name;
    EXPECT_EQ(fileNameShown("adapter-\xEF\xBF\xBD\xFF"), QStringLiteral("adapter-\uFFFD\\xff"));
}
