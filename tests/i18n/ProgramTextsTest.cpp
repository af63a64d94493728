#include "tests/i18n/LanguageFixture.h"

#include "i18n/LanguageChoice.h"
#include "i18n/ProgramTexts.h"
#include "io/IniBytes.h"

#include <QProcess>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

namespace {

std::string shipped(const std::string& name)
{
    std::ifstream file(std::string(KALMORIA_DATA_DIR) + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The bytes without the line that starts with `line`.
std::string withoutLine(std::string bytes, const std::string& line)
{
    const auto at = bytes.find("\r\n" + line);
    EXPECT_NE(at, std::string::npos) << line;
    return bytes.erase(at, bytes.find("\r\n", at + 2) - at);
}

// The bytes up to the section header `section`, as a copy that broke off there.
std::string cutBefore(const std::string& bytes, const std::string& section)
{
    const auto at = bytes.find("[" + section + "]");
    EXPECT_NE(at, std::string::npos) << section;
    return bytes.substr(0, at);
}

struct IncompleteFile {
    const char* name;
    std::function<std::string(const std::string&)> spoil; // the English file as the user has it
    const char* missing;                                    // as the box names it
};

class IncompleteLanguageFile : public LanguageTest, public testing::WithParamInterface<IncompleteFile> {};

} // namespace

TEST(ProgramTexts, ShippedLanguageFilesHoldEveryOne)
{
    for (const char* name : {"Kalmoria.TXT", "KalmoriaDE.TXT", "KalmoriaEN.TXT"}) {
        const TempDir folder;
        folder.write(name, shipped(name));
        const std::optional<TextKey> missing = FirstMissingProgramText(*LoadIniFile(folder.file(name)));
        EXPECT_FALSE(missing) << name << ": [" << missing->section << "] " << missing->key;
    }
}

TEST_P(IncompleteLanguageFile, IsRefusedLikeAMissingOneAndNamesTheFirstTextItLacks)
{
    program.write("Kalmoria.TXT", shipped("Kalmoria.TXT"));
    program.write("KalmoriaDE.TXT", shipped("KalmoriaDE.TXT"));
    writeAndReset("KalmoriaEN.TXT", GetParam().spoil(shipped("KalmoriaEN.TXT")));
    SetMinimumLanguageVersion(kStamp);
    // Without the demand the header alone decides, as for any file so far.
    EXPECT_EQ(ListLanguageFiles(kStamp).size(), 2u);

    RequireEveryProgramText();
    ASSERT_EQ(ListLanguageFiles(kStamp).size(), 1u);
    EXPECT_EQ(ListLanguageFiles(kStamp)[0].fileName, "KalmoriaDE.TXT");
    EXPECT_FALSE(ActivateLanguage("KalmoriaEN.TXT"));
    ASSERT_EQ(boxes.size(), 1u);
    const std::string& text = boxes[0].text;
    EXPECT_EQ(text.rfind("Fatal error: textfile not found or too old!\r", 0), 0u) << text;
    EXPECT_NE(text.find(program.file("KalmoriaEN.TXT") + ": " + GetParam().missing), std::string::npos) << text;
    // The default texts took over.
    SetTextSection("F_Kalmoria_main");
    EXPECT_EQ(GetText(28, ""), "Verkn\xFCpfungstabelle");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IncompleteLanguageFile,
    testing::Values(
        IncompleteFile{"CutShort", [](const std::string& b) { return cutBefore(b, "F_PDauswahl"); }, "[F_PDauswahl] T1"},
        IncompleteFile{"WithoutAMessage", [](const std::string& b) { return withoutLine(b, "T47="); }, "[ERROR] T47"},
        IncompleteFile{"WithoutATableLine", [](const std::string& b) { return withoutLine(b, "T91-8="); },
                       "[F_Kalmoria_main] T91-8"},
        IncompleteFile{"WithoutATitle", [](const std::string& b) { return withoutLine(b, "TitelB="); },
                       "[GLOBAL] TitelB"}),
    [](const testing::TestParamInfo<IncompleteFile>& info) { return std::string(info.param.name); });

TEST(ProgramTexts, DefaultFileWithoutATextEndsTheProgramWithCode98)
{
    const TempDir folder;
    folder.write("Kalmoria.TXT", withoutLine(shipped("Kalmoria.TXT"), "T40="));
    std::filesystem::copy_file(KALMORIA_LANGUAGE_PROBE, folder.file("Kalmoria"));
    QProcess probe;
    probe.setWorkingDirectory(QString::fromStdString(folder.path()));
    probe.start(QString::fromStdString(folder.file("Kalmoria")), {QString(), QStringLiteral("every-text")});
    ASSERT_TRUE(probe.waitForFinished(10000));
    const std::string output = probe.readAllStandardOutput().toStdString();
    EXPECT_EQ(probe.exitCode(), 98);
    EXPECT_NE(output.find(folder.file("Kalmoria.TXT") + ": [ERROR] T40 missing / fehlt"), std::string::npos)
        << output;
    EXPECT_EQ(output.find("activated="), std::string::npos) << output;
}
