#include "tests/i18n/LanguageFixture.h"

#include "i18n/LanguageChoice.h"
#include "i18n/ProgramTexts.h"
#include "io/IniBytes.h"
#include "tests/common/CapturedLog.h"

#include <QProcess>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>

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
    const char* missing;                                    // as the log names it
    const char* section;                                    // where the user meets the text
    int number;
    const char* suffix;
    const char* shown;
};

class IncompleteLanguageFile : public LanguageTest, public testing::WithParamInterface<IncompleteFile> {};

} // namespace

TEST(ProgramTexts, ShippedLanguageFilesHoldEveryOne)
{
    for (const char* name : {"Kalmoria.TXT", "KalmoriaDE.TXT", "KalmoriaEN.TXT"}) {
        const TempDir folder;
        folder.write(name, shipped(name));
        for (const TextKey& missing : MissingProgramTexts(*LoadIniFile(folder.file(name))))
            ADD_FAILURE() << name << ": [" << missing.section << "] " << missing.key;
    }
}

// A text added to one language file alone (a console's wording, say) leaves
// the users of the others with the window's words, or with "@n".
TEST(ProgramTexts, ShippedLanguageFilesHoldTheSameKeys)
{
    const auto keysOf = [](const char* name) {
        const TempDir folder;
        folder.write(name, shipped(name));
        const auto file = LoadIniFile(folder.file(name));
        std::set<std::string> keys;
        CSimpleIniA::TNamesDepend sections;
        file->GetAllSections(sections);
        for (const auto& section : sections) {
            CSimpleIniA::TNamesDepend names;
            file->GetAllKeys(section.pItem, names);
            for (const auto& key : names)
                keys.insert(std::string(section.pItem) + "." + key.pItem);
        }
        return keys;
    };
    const std::set<std::string> english = keysOf("KalmoriaEN.TXT");
    for (const char* name : {"Kalmoria.TXT", "KalmoriaDE.TXT"})
        EXPECT_EQ(keysOf(name), english) << name;
}

TEST_P(IncompleteLanguageFile, IsUsedShowingAtNWhereATextIsMissingAndTheLogNamesIt)
{
    program.write("Kalmoria.TXT", shipped("Kalmoria.TXT"));
    program.write("KalmoriaDE.TXT", shipped("KalmoriaDE.TXT"));
    writeAndReset("KalmoriaEN.TXT", GetParam().spoil(shipped("KalmoriaEN.TXT")));
    SetMinimumLanguageVersion(kStamp);
    EXPECT_EQ(ListLanguageFiles(kStamp).size(), 2u);

    const CapturedLog log(2); // on, without the lines of missing captions
    EXPECT_TRUE(ActivateLanguage("KalmoriaEN.TXT"));
    EXPECT_TRUE(boxes.empty());
    SetTextSection(GetParam().section);
    EXPECT_EQ(GetText(GetParam().number, GetParam().suffix), GetParam().shown);
    std::vector<std::string> named = log.messages();
    std::erase_if(named, [](const std::string& line) { return line.find(" Texte fehlen: ") == std::string::npos; });
    ASSERT_EQ(named.size(), 1u);
    EXPECT_NE(named[0].find(std::string(" Texte fehlen: ") + GetParam().missing), std::string::npos) << named[0];
    // The texts it holds are its own.
    SetTextSection("F_Kalmoria_main");
    EXPECT_EQ(GetText(28, ""), "Link table");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IncompleteLanguageFile,
    testing::Values(IncompleteFile{"CutShort", [](const std::string& b) { return cutBefore(b, "F_PDauswahl"); },
                                   "F_PDauswahl.T1 F_PDauswahl.T2", "F_PDauswahl", 1, "", "@1"},
                    IncompleteFile{"WithoutAMessage", [](const std::string& b) { return withoutLine(b, "T47="); },
                                   "ERROR.T47", "ERROR", 47, "", "@47"},
                    IncompleteFile{"WithoutATableLine", [](const std::string& b) { return withoutLine(b, "T91-8="); },
                                   "F_Kalmoria_main.T91-8", "F_Kalmoria_main", 91, "-8", "@91-8"}),
    [](const testing::TestParamInfo<IncompleteFile>& info) { return std::string(info.param.name); });

TEST(ProgramTexts, ADefaultFileWithoutATextStartsTheProgramAndTheLogNamesIt)
{
    const TempDir folder;
    folder.write("Kalmoria.TXT", withoutLine(shipped("Kalmoria.TXT"), "T40="));
    folder.write("SAVE_ERR", "");
    std::filesystem::copy_file(KALMORIA_LANGUAGE_PROBE, folder.file("Kalmoria"));
    QProcess probe;
    probe.setWorkingDirectory(QString::fromStdString(folder.path()));
    probe.start(QString::fromStdString(folder.file("Kalmoria")), {QString()});
    ASSERT_TRUE(probe.waitForFinished(10000));
    const std::string output = probe.readAllStandardOutput().toStdString();
    EXPECT_EQ(probe.exitCode(), 0);
    EXPECT_EQ(output, "activated=1 text=@77\n");
    const std::string log = folder.read("Problem2.TXT");
    EXPECT_NE(log.find(">Text_AktiviereSprache: Kalmoria.TXT: 1 Texte fehlen: ERROR.T40<"), std::string::npos) << log;
}
