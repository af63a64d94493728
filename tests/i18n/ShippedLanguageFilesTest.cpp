#include "tests/i18n/LanguageFixture.h"

#include <filesystem>
#include <set>

namespace {

// Captions of the main window: tool buttons, menus, pages, editor labels.
const std::vector<int> kMainWindowCaptions{10, 11, 12, 13, 14, 18, 19, 20, 21, 22, 25, 26, 27, 28,
                                          30, 31, 37, 38, 39, 40, 41, 42};
// Tool buttons and menu entries carry a hint.
const std::vector<int> kHinted{11, 12, 13, 14, 18, 19, 21, 22};
const std::vector<int> kMessages{1,  2,  5,  10, 11, 13, 14, 15, 20, 21, 22, 23, 24, 25, 26,
                                  31, 32, 51, 52, 53, 54, 55, 56, 57, 58, 59};

class ShippedLanguageFiles : public LanguageTest, public testing::WithParamInterface<std::string> {
protected:
    void SetUp() override
    {
        LanguageTest::SetUp();
        const std::string name = GetParam();
        std::filesystem::copy_file(std::string(KALMORIA_DATA_DIR) + name, program.file(name));
        if (name != "Kalmoria.TXT")
            std::filesystem::copy_file(std::string(KALMORIA_DATA_DIR) + "Kalmoria.TXT", program.file("Kalmoria.TXT"));
        ResetLanguageTexts(program.path(), "Kalmoria");
        SetMinimumLanguageVersion(kStamp);
    }

    static bool present(const std::string& text) { return !text.empty() && text[0] != '@'; }
};

} // namespace

TEST_P(ShippedLanguageFiles, AreWindows1252WithCrLfLineEnds)
{
    const std::string bytes = program.read(GetParam());
    ASSERT_FALSE(bytes.empty());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare LF at " << i;
        }
        if (bytes[i] == '\r') {
            ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "bare CR at " << i;
        }
        // Bytes without a Windows-1252 character, and UTF-8 lead bytes of the
        // German letters, betray a file saved in the wrong encoding.
        const auto byte = static_cast<unsigned char>(bytes[i]);
        ASSERT_TRUE(byte != 0x81 && byte != 0x8D && byte != 0x8F && byte != 0x90 && byte != 0x9D && byte != 0xC3)
            << "byte " << int(byte) << " at " << i;
    }
}

TEST_P(ShippedLanguageFiles, HoldEveryCaptionHintTableLineAndMessage)
{
    ASSERT_TRUE(ActivateLanguage(GetParam()));
    EXPECT_TRUE(boxes.empty());
    for (int kind = mbWarning; kind <= mbPlain; ++kind)
        EXPECT_FALSE(MessageTitle(kind).empty()) << kind;

    SetTextSection("F_Kalmoria_main");
    for (int n : kMainWindowCaptions)
        EXPECT_TRUE(present(GetText(n, ""))) << n;
    for (int n : kHinted)
        EXPECT_TRUE(present(GetText(n, "H"))) << n;
    for (int i = 1; i <= 20; ++i) {
        EXPECT_TRUE(present(GetText(91, "-" + std::to_string(i)))) << "T91-" << i;
        EXPECT_TRUE(present(GetText(92, "-" + std::to_string(i)))) << "T92-" << i;
    }
    EXPECT_TRUE(present(GetText(93, "-1")));
    for (int i = 2; i <= 4; ++i)
        EXPECT_EQ(GetText(93, "-" + std::to_string(i)), "");
    EXPECT_EQ(GetText(92, "-21"), "");
    // The overview grid's narrow columns cut longer headings off: about five
    // characters fit the address column, about eight the count columns.
    EXPECT_LE(GetText(91, "-7").size(), 5u);
    for (int i = 9; i <= 13; ++i)
        EXPECT_LE(GetText(91, "-" + std::to_string(i)).size(), 8u) << "T91-" << i;

    // The link editor tells signal groups apart by these labels alone.
    std::set<std::string> groups;
    for (int label : {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12})
        groups.insert(GetText(92, "-" + std::to_string(label)));
    EXPECT_EQ(groups.size(), 11u);

    for (const char* form : {"F_PDauswahl", "F_rs232"}) {
        SetTextSection(form);
        for (int n = 1; n <= 4; ++n)
            EXPECT_TRUE(present(GetText(n, ""))) << form << " " << n;
    }
    EXPECT_EQ(MissingTextCount(), 0);

    for (int n : kMessages)
        EXPECT_TRUE(present(GetMessageText(n, {}, -1))) << n;
    const std::string written = GetMessageText(20, {"9", "7", "2"}, 2);
    EXPECT_NE(written.find('9'), std::string::npos);
    EXPECT_NE(written.find('7'), std::string::npos);
    EXPECT_NE(written.find('2'), std::string::npos);
    EXPECT_NE(GetMessageText(21, {"12"}, 0).find("12"), std::string::npos);
    const std::string refused = GetMessageText(24, {"63", "REASON"}, 1);
    EXPECT_NE(refused.find("63"), std::string::npos);
    EXPECT_NE(refused.find("REASON"), std::string::npos);
    EXPECT_NE(GetMessageText(25, {"70"}, 0).find("70"), std::string::npos);
    // The serial port messages name the port and its device file; the
    // locked-away one names the group twice, in words and in the command.
    const std::string lockedAway = GetMessageText(31, {"COM3", "/dev/ttyUSB0", "dialout", "dialout"}, 3);
    EXPECT_NE(lockedAway.find("COM3 (/dev/ttyUSB0)"), std::string::npos) << lockedAway;
    EXPECT_NE(lockedAway.find("sudo usermod -aG dialout $USER"), std::string::npos) << lockedAway;
    EXPECT_EQ(lockedAway.find("%s"), std::string::npos) << lockedAway;
    const std::string busy = GetMessageText(32, {"COM3", "/dev/ttyUSB0"}, 1);
    EXPECT_NE(busy.find("COM3 (/dev/ttyUSB0)"), std::string::npos) << busy;
    // Messages 10 and 11 get a number appended: they end in a blank.
    EXPECT_EQ(GetMessageText(10, {" - "}, 0).back(), ' ');
    EXPECT_EQ(GetMessageText(11, {" - "}, 0).back(), ' ');
}

TEST_P(ShippedLanguageFiles, ShowUmlautsAsSingleBytes)
{
    ASSERT_TRUE(ActivateLanguage(GetParam()));
    SetTextSection("F_Kalmoria_main");
    if (GetParam() == "KalmoriaEN.TXT")
        EXPECT_EQ(GetText(28, ""), "Link table");
    else
        EXPECT_EQ(GetText(28, ""), "Verkn\xFCpfungstabelle");
}

TEST_P(ShippedLanguageFiles, InGermanTheLinkDialogSpeaksItsOwnWords)
{
    if (GetParam() == "KalmoriaEN.TXT")
        return; // translated
    ASSERT_TRUE(ActivateLanguage(GetParam()));
    SetTextSection("F_PDauswahl");
    // The grey captions of labels with nothing to offer, as the dialog writes them itself.
    EXPECT_EQ(GetText(1, ""), "abbrechen");
    EXPECT_EQ(GetText(2, ""), "Verkn\xFCpfung Anzeigen");
    EXPECT_EQ(GetText(3, ""), "Verkn\xFCpfung aktiv/deaktiv");
    EXPECT_EQ(GetText(4, ""), "Verkn\xFCpfung l\xF6schen");
}

TEST_P(ShippedLanguageFiles, HoldTheMessagesOfKalmoriaCliBackup)
{
    ASSERT_TRUE(ActivateLanguage(GetParam()));
    // Each with as many arguments as it takes, and all of them used.
    const std::vector<std::pair<int, int>> messages{{110, 2}, {111, 3}, {112, 1}, {113, 2},
                                                    {114, 1}, {115, 0}, {116, 3}, {117, 3}, {118, 2}, {119, 2},
                                                    {178, 4}, {179, 4}};
    for (const auto& [n, count] : messages) {
        std::vector<std::string> arguments;
        for (int a = 1; a <= count; ++a)
            arguments.push_back("<ARG" + std::to_string(a) + ">");
        const std::string text = count == 0 ? GetMessageText(n, {" - "}, 0)
                                            : GetMessageText(n, arguments, count - 1);
        EXPECT_TRUE(present(text)) << n;
        EXPECT_EQ(text.find("%s"), std::string::npos) << n << ": " << text;
        for (const std::string& argument : arguments)
            EXPECT_NE(text.find(argument), std::string::npos) << n << ": " << text;
    }
}

INSTANTIATE_TEST_SUITE_P(Data, ShippedLanguageFiles,
                         testing::Values("Kalmoria.TXT", "KalmoriaDE.TXT", "KalmoriaEN.TXT"),
                         [](const testing::TestParamInfo<std::string>& info) {
                             return info.param.substr(0, info.param.find('.'));
                         });
