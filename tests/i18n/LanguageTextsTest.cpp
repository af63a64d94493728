#include "tests/i18n/LanguageFixture.h"

#include "i18n/LanguageTexts.h"
#include "i18n/MessageBoxEx.h"

#include <sys/stat.h>

#include <chrono>
#include <climits>
#include <filesystem>
#include <random>

namespace {

const char* const kTexts = "T5=f\xFCnf global\r\n"
                           "[ERROR]\r\n"
                           "T20=%s3/%s2/%s1 %s4\r\n"
                           "T21=%s1 geladen, %s1 bleibt\r\n"
                           "[F_Test]\r\n"
                           "T14=L{246}schen\r\n"
                           "t15=  klein geschrieben  \r\n"
                           "T16=@16\r\n";

} // namespace

TEST_F(LanguageTest, TextNumbersSelectSectionAndKey)
{
    writeAndReset("Kalmoria.TXT", languageFile("Standard", "20150610", kTexts));
    SetTextSection("f_test");

    EXPECT_EQ(GetText(14, ""), "L\xF6schen");
    EXPECT_EQ(GetText(15, ""), "klein geschrieben");
    // A leading zero makes the number negative, and negative numbers live in GLOBAL.
    EXPECT_EQ(ParseTextNumber("@05x"), -5);
    EXPECT_EQ(GetText(-5, ""), "f\xFCnf global");
    EXPECT_EQ(GetText(0, ""), "");

    EXPECT_EQ(MissingTextCount(), 0);
    EXPECT_EQ(GetText(17, ""), "@17");
    EXPECT_EQ(GetText(16, ""), "@16"); // a text equal to its placeholder counts as missing too
    EXPECT_EQ(GetText(17, "H"), "@17H");
    EXPECT_EQ(GetText(91, "-123456789"), "@91-1234567"); // the suffix is cut to 8 characters
    EXPECT_EQ(MissingTextCount(), 2);

    SetTextSection(std::string(60, 'S'));
    EXPECT_EQ(TextSection().size(), 40u);
}

TEST(ParseTextNumber, ReadsTheDigitsBehindTheMarker)
{
    EXPECT_EQ(ParseTextNumber("@14Loeschen"), 14);
    EXPECT_EQ(ParseTextNumber("@014"), -14);
    EXPECT_EQ(ParseTextNumber("#7"), 7);
    EXPECT_EQ(ParseTextNumber("@abc"), 0);
    EXPECT_EQ(ParseTextNumber("@"), 0);
    EXPECT_EQ(ParseTextNumber("14"), 0);
    EXPECT_EQ(ParseTextNumber("@99999999999999999999"), INT_MAX);
    EXPECT_EQ(ParseTextNumber("@099999999999999999999"), -INT_MAX);
}

TEST(CharacterEscapes, NearestClosingBraceTwoToFourPlacesAway)
{
    const std::vector<std::pair<std::string, std::string>> cases{
        {"L{246}schen", "L\xF6schen"},
        {"{65}{66}", "AB"},
        {"a{13}b", "a\rb"},
        {"{7}9}", "\x07" "9}"},      // the nearest closing brace counts
        {"a{}b", "a }b"},           // directly closed: no escape
        {"{1234}", " 1234}"},       // four digits: no escape
        {"{0}x", " x"},             // NUL would end the text
        {"{123}", " "},             // "{" would start a new escape
        {"{300}", " "},             // no single-byte character
        {"{ab}", " "},
        {"{{65}", " "},
        {"end{", "end "},
        {"end{1", "end 1"},
        {"end{12", "end 12"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ExpandCharacterEscapes(text), expected) << text;

    // A garbled value of nothing but braces is handled in one pass.
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(ExpandCharacterEscapes(std::string(2'000'000, '{')), std::string(2'000'000, ' '));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
}

TEST_F(LanguageTest, MessagesReplaceTheFirstOccurrenceOfEachPlaceholder)
{
    writeAndReset("Kalmoria.TXT", languageFile("Standard", "20150610", "TitelI=Info\r\n" + std::string(kTexts)));
    ASSERT_TRUE(ActivateLanguage("")); // the titles come with an activated file
    SetTextSection("F_Test");

    EXPECT_EQ(GetMessageText(21, {"3"}, 0), "3 geladen, %s1 bleibt");
    EXPECT_EQ(GetMessageText(20, {"a", "b", "c"}, 2), "c/b/a %s4");
    EXPECT_EQ(GetMessageText(20, {"a", "b", "c"}, 0), "%s3/%s2/a %s4");
    // An index beyond the arguments given is not read.
    EXPECT_EQ(GetMessageText(20, {"a"}, 5), "%s3/%s2/a %s4");
    // An argument is shown as it is, even when it looks like a placeholder.
    EXPECT_EQ(GetMessageText(20, {"%s2", "b", "c"}, 2), "c/b/%s2 %s4");
    EXPECT_EQ(GetMessageText(99, {" - "}, 0), "@99");
    EXPECT_EQ(TextSection(), "F_Test");

    ShowMessageText(21, {"7"}, 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "7 geladen, %s1 bleibt");
    EXPECT_EQ(boxes[0].title, "Info");
    EXPECT_EQ(boxes[0].kind, mbInformation);
    EXPECT_EQ(boxes[0].buttons, mbOk);
}

TEST_F(LanguageTest, MessageBoxTitlesFollowTheKind)
{
    program.write("KalmoriaEN.TXT", languageFile("English", "20150610",
                                                 "TitelM=Plain\r\nTitelW=Warning\r\nTitelE=Error\r\n"
                                                 "TitelI=Information\r\nTitelB=Question\r\n"));
    ASSERT_EQ(LoadLanguageFile("KalmoriaEN.TXT", kStamp, false), "English");
    for (const auto& [kind, title] : std::vector<std::pair<int, std::string>>{
             {mbWarning, "Warning"}, {mbError, "Error"}, {mbInformation, "Information"},
             {mbQuestion, "Question"}, {mbPlain, "Plain"}, {17, "Plain"}}) {
        MessageBoxEx("x", kind, mbOk, 0);
        EXPECT_EQ(boxes.back().title, title) << kind;
        EXPECT_EQ(boxes.back().kind, kind);
    }
}

TEST_F(LanguageTest, FileWithoutNameOrBelowMinimumVersionIsRefused)
{
    program.write("KalmoriaOLD.TXT", languageFile("Alt", "20150609"));
    program.write("KalmoriaNONAME.TXT", "[GLOBAL]\r\nVERSION=20150610\r\n");
    program.write("KalmoriaABC.TXT", languageFile("Buchstaben", "abc"));
    program.write("KalmoriaOK.TXT", languageFile("Gut", " 20150610 "));

    EXPECT_EQ(LoadLanguageFile("KalmoriaOK.TXT", kStamp, true), "Gut");
    EXPECT_EQ(LoadLanguageFile("KalmoriaNONAME.TXT", kStamp, false), "");
    EXPECT_EQ(LoadLanguageFile("KalmoriaABC.TXT", 1, false), "");
    EXPECT_EQ(LoadLanguageFile("KalmoriaABC.TXT", 0, false), "Buchstaben");
    EXPECT_TRUE(boxes.empty());

    EXPECT_EQ(LoadLanguageFile("KalmoriaOLD.TXT", kStamp, true), "");
    EXPECT_EQ(LoadLanguageFile("KalmoriaGONE.TXT", kStamp, true), "");
    ASSERT_EQ(boxes.size(), 2u);
    const std::string head = "Fatal error: textfile not found or too old!\r"
                             "Please reinstall the program\r\r"
                             "Fatales Problem: Sprachtextdatei nicht gefunden oder veraltet!\r"
                             "Bitte korrigieren oder Programm neu installieren\r\r";
    EXPECT_EQ(boxes[0].text, head + program.file("KalmoriaOLD.TXT") + ": (V20150609 < V20150610)");
    EXPECT_EQ(boxes[1].text, head + program.file("KalmoriaGONE.TXT") + ": (V000000 < V20150610)");
    EXPECT_EQ(boxes[1].kind, mbPlain);
    EXPECT_EQ(boxes[1].buttons, mbOk);
}

TEST_F(LanguageTest, UnusableChoiceFallsBackToTheDefaultAndStoresAnEmptyChoice)
{
    writeAndReset("Kalmoria.TXT", languageFile("Standard", "20150610", "[F_Test]\r\nT1=Standardtext\r\n"));
    program.write("KalmoriaEN.TXT", languageFile("English", "20150610", "[F_Test]\r\nT1=English text\r\n"));
    program.write("KalmoriaOLD.TXT", languageFile("Old", "20150609", "[F_Test]\r\nT1=old text\r\n"));
    config.write("Kalmoria.ini", "[Schnittstellen]\r\nCOM3=/dev/ttyUSB0\r\n");
    SetMinimumLanguageVersion(kStamp);
    SetLanguageSettings(config.file("Kalmoria.ini"), "Kalmoria", "Sprache");
    SetTextSection("F_Test");

    EXPECT_TRUE(ActivateLanguage("KalmoriaEN.TXT"));
    EXPECT_EQ(GetText(1, ""), "English text");
    EXPECT_EQ(LanguageHelpFile(), program.file("KalmoriaEN.hlp"));
    EXPECT_EQ(settings(), "[Schnittstellen]\r\nCOM3=/dev/ttyUSB0\r\n\r\n[Kalmoria]\r\nSprache=KalmoriaEN.TXT\r\n");

    GetText(2, "");
    EXPECT_EQ(MissingTextCount(), 1);
    EXPECT_FALSE(ActivateLanguage("KalmoriaOLD.TXT"));
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(MissingTextCount(), 0);
    EXPECT_EQ(GetText(1, ""), "Standardtext");
    EXPECT_EQ(LanguageHelpFile(), program.file("Kalmoria.hlp"));
    EXPECT_EQ(settings(), "[Schnittstellen]\r\nCOM3=/dev/ttyUSB0\r\n\r\n[Kalmoria]\r\nSprache=\r\n");
}

// Whatever a language file holds, reading it ends, and the worst outcome is a
// refused file or placeholder texts.
TEST_F(LanguageTest, GarbageFilesNeitherCrashNorHang)
{
    std::mt19937 random(4711);
    std::string binary(100'000, '\0');
    for (char& byte : binary)
        byte = static_cast<char>(random() & 0xFF);
    const std::string valid = languageFile("G", "20150610");
    const std::vector<std::string> garbage{
        binary,
        valid + "[F_Test]\r\nT1=" + binary,
        valid + "[F_Test]\r\nT1=" + std::string(3'000'000, 'x'),
        valid + "[F_Test]\r\nT1=ab{\r\nT2=ab{12\r\nT3={",
        valid + "[F_Test\r\nT1=no closing bracket",
        "\xEF\xBB\xBF" + valid + "[F_Test]\r\nT1=after a byte order mark",
        "T1=no section at all",
        std::string(6 * 1024 * 1024, '['),
        "",
    };
    writeAndReset("Kalmoria.TXT", valid);
    SetTextSection("F_Test");
    const auto started = std::chrono::steady_clock::now();
    for (const std::string& bytes : garbage) {
        program.write("KalmoriaG.TXT", bytes);
        ActivateLanguage("KalmoriaG.TXT");
        for (int n : {1, 2, 3, -1})
            GetText(n, "");
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));

    program.write("KalmoriaG.TXT", valid + "[F_Test]\r\nT1=ab{\r\nT2=ab{12\r\nT3={\r\n");
    ASSERT_TRUE(ActivateLanguage("KalmoriaG.TXT"));
    EXPECT_EQ(GetText(1, ""), "ab ");
    EXPECT_EQ(GetText(2, ""), "ab 12");
    EXPECT_EQ(GetText(3, ""), " ");

    // Neither a folder nor a pipe without writer can stand in for a file.
    std::filesystem::create_directory(program.file("KalmoriaDIR.TXT"));
    ASSERT_EQ(mkfifo(program.file("KalmoriaFIFO.TXT").c_str(), 0600), 0);
    EXPECT_EQ(LoadLanguageFile("KalmoriaDIR.TXT", kStamp, false), "");
    EXPECT_EQ(LoadLanguageFile("KalmoriaFIFO.TXT", kStamp, false), "");
}
