#include "model/LinkFile.h"
#include "model/LinkModel.h"
#include "tests/common/TableLinks.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <regex>
#include <set>
#include <sys/resource.h>

using namespace std::string_literals;

namespace {

const std::string kHeader = "[Kopfdaten]\r\n"
                            "01=|-----------------------------------------------------------\r\n"
                            "02=|-----     Orvanto Elektronik GmbH\r\n"
                            "03=|-----     QMX-Verkn\xFCpfungen \r\n"
                            "04=|-----      Kalmoria 1.30\r\n"
                            "05=STAMP\r\n"
                            "06=|-----------------------------------------------------------\r\n";
const std::string kLegend = "[QMX_Verknuepfungen]\r\n00=ModulQ-RegVon-BitVon-AnzBit-ModulZ-RegZ-BitZ-deaktiv\r\n";

const OverviewRows kOverview{
    {"Adr.", "Typ", "Modulname", "Q-Bits", "Q-Reg", "Z-Bits", "Z-Reg", "Q2-Reg"},
    {"20", "QMX-Zentrale", "Zentrale", "0", "0", "0", "0", "0"},
    {" 22 ", "KRA-520/DA1", "Pumpwerk\r\nNord ", "32", "12", "24", "8", ""},
    {"", "", "", "", "", "", "", ""},
};
const std::string kOverviewSection = "[Info_Modulliste]\r\n"
                                     "00=Adr., Typ, Modulname, Q-Bits, Q-Reg, Z-Bits, Z-Reg, Q2-Reg, \r\n"
                                     "01=20, QMX-Zentrale, Zentrale, 0, 0, 0, 0, 0, \r\n"
                                     "02=22, KRA-520/DA1, Pumpwerk  Nord, 32, 12, 24, 8, , \r\n";

class LinkFileTest : public testing::Test {
protected:
    // The file's bytes with the date and time of the header as "STAMP", after
    // checking that they are a date and a clock time.
    std::string savedWithoutStamp(const std::string& name) const
    {
        std::string bytes = folder.read(name);
        const std::regex stamp("05=\\|-----     [^\r\n]*[0-9] - [^\r\n]*[0-9]{2}\r\n");
        std::smatch found;
        EXPECT_TRUE(std::regex_search(bytes, found, stamp)) << bytes;
        return found.empty() ? bytes : bytes.replace(found.position(), found.length(), "05=STAMP\r\n");
    }

    LinkFileLoad load(const std::string& name, const std::string& bytes) const
    {
        folder.write(name, bytes);
        return LoadLinkFile(folder.file(name));
    }

    TempDir folder;
};

} // namespace

TEST_F(LinkFileTest, SavingNoLinksWritesHeaderOverviewAndTheLegendOnly)
{
    const LinkFileSave saved = SaveLinkFile(folder.file("leer"), {}, std::nullopt, kOverview);
    ASSERT_TRUE(saved.ok()) << saved.reason;
    EXPECT_EQ(savedWithoutStamp("leer.ini"), kHeader + "\r\n" + kOverviewSection + "\r\n" + kLegend + "\r\n");
}

TEST_F(LinkFileTest, SavedLinksLoadBackWithEveryField)
{
    // Values outside the device's ranges too: a file keeps what the table held.
    const std::vector<LinkFields> links{{2, 100, 0, 8, 9, 300, 0, 0},
                                        {3, 100, 2, 4, 5, 300, 7, 1},
                                        {0, 65535, 15, 255, 64, 0, 15, 1},
                                        {200, -5, 16, 0, -2147483647 - 1, 2147483647, 99, 7}};
    ASSERT_TRUE(SaveLinkFile(folder.file("satz.ini"), linkRecords(links), std::nullopt, kOverview).ok());

    const std::string bytes = folder.read("satz.ini");
    EXPECT_NE(bytes.find(kLegend + "10=0209,0064,012C,0008\r\n11=2\r\n12=100\r\n13=0\r\n14=8\r\n15=9\r\n16=300\r\n"
                                   "17=0\r\n18=0\r\n20=8305,0064,012C,2704\r\n21=3\r\n"),
              std::string::npos)
        << bytes;
    EXPECT_NE(bytes.find("\r\n48=7\r\n\r\n"), std::string::npos) << "the links end the file";

    const LinkFileLoad loaded = LoadLinkFile(folder.file("satz.ini"));
    ASSERT_TRUE(loaded.ok()) << loaded.reason;
    EXPECT_FALSE(loaded.linksLeftOut);
    EXPECT_EQ(linkFields(loaded.links), links);
    EXPECT_EQ(loaded.links[1].encodedText, "8305,0064,012C,2704");
}

TEST_F(LinkFileTest, TheOverviewReadsBackWithNamesThatHoldCommas)
{
    const OverviewRows overview{kOverview[0],
                                {"20", "QMX-Zentrale", "Zentrale, Halle 2", "0", "0", "0", "0", "0"},
                                {"22", "KRA-520/DA1", ",Pumpwerk,, Nord,", "32", "12", "24", "8", ""}};
    ASSERT_TRUE(SaveLinkFile(folder.file("komma.ini"), {}, std::nullopt, overview).ok());
    const LinkFileLoad loaded = LoadLinkFile(folder.file("komma.ini"));
    ASSERT_TRUE(loaded.ok()) << loaded.reason;
    EXPECT_EQ(loaded.overview, overview);
}

TEST_F(LinkFileTest, OverviewCellsAreCutToWhatADeviceHoldsAndStaySoWhenSavedAgain)
{
    // An overview edited by hand: cells far beyond what a device gives, one
    // name a run of commas. Each is cut to its column's length with a mark.
    const std::string longName(62000, 'N');
    const std::string commas(100000, ',');
    const std::string overview = "[Info_Modulliste]\r\n00=Adr., Typ, Modulname, Q-Bits, Q-Reg, Z-Bits, Z-Reg, Q2-Reg, \r\n"
                                 "01=123456, " + std::string(41, 'T') + ", " + longName + ", 0, 1234567, 0, 0, 0, \r\n"
                                 "02=22, KRA-520/DA1, Halle" + commas + "Nord, 32, 12, 24, 8, 16, \r\n";
    const LinkFileLoad loaded = load("lang.ini", overview + kLegend);
    ASSERT_TRUE(loaded.ok()) << loaded.reason;
    const std::vector<std::vector<std::string>> expected{
        {"12...", std::string(37, 'T') + "...", std::string(37, 'N') + "...", "0", "12...", "0", "0", "0"},
        {"22", "KRA-520/DA1", "Halle" + std::string(32, ',') + "...", "32", "12", "24", "8", "16"}};
    ASSERT_EQ(loaded.overview.size(), 3u);
    EXPECT_EQ(loaded.overview[1], expected[0]);
    EXPECT_EQ(loaded.overview[2], expected[1]);

    // A cut cell is as long as the device's: read and saved again, it stays.
    ASSERT_TRUE(SaveLinkFile(folder.file("wieder.ini"), {}, std::nullopt, loaded.overview).ok());
    EXPECT_EQ(LoadLinkFile(folder.file("wieder.ini")).overview, loaded.overview);
}

TEST_F(LinkFileTest, APlainExtensionBecomesIniAnyOtherNameGetsItAppended)
{
    const std::vector<std::pair<std::string, std::string>> names{
        {"QMXverk", "QMXverk.ini"},
        {"/tmp/a.b/anlage.cfg", "/tmp/a.b/anlage.ini"},
        {"/tmp/a.b/anlage", "/tmp/a.b/anlage.ini"},
        {"anlage.2024.INI", "anlage.2024.ini"},
        {"notiz.txt", "notiz.ini"},
        {"Anlage 3.1", "Anlage 3.1.ini"},
        {"Station 12.2026-12", "Station 12.2026-12.ini"},
        {"anlage.d\xE4t", "anlage.d\xE4t.ini"},
        {"/tmp/.anlage", "/tmp/.anlage.ini"},
    };
    for (const auto& [name, path] : names)
        EXPECT_EQ(LinkFilePath(name), path) << name;

    ASSERT_TRUE(SaveLinkFile(folder.file("anlage.cfg"), linkRecords({{2, 100, 0, 8, 9, 300, 0, 0}}), std::nullopt, kOverview).ok());
    EXPECT_FALSE(folder.exists("anlage.cfg"));
    EXPECT_EQ(LoadLinkFile(folder.file("anlage.cfg")).links.size(), 1u);
    EXPECT_EQ(OtherFileReplaced(folder.file("anlage.cfg")), folder.file("anlage.ini"));
    EXPECT_EQ(OtherFileReplaced(folder.file("anlage.ini")), "");
    EXPECT_EQ(OtherFileReplaced(folder.file("neu.cfg")), "");

    // Two installations whose names differ only behind the dot stay two files.
    const std::vector<LinkFields> first{{2, 100, 0, 8, 9, 300, 0, 0}};
    const std::vector<LinkFields> second{{3, 42, 1, 2, 2, 300, 8, 1}, {4, 1, 1, 1, 4, 1, 1, 0}};
    ASSERT_TRUE(SaveLinkFile(folder.file("Anlage 3.1"), linkRecords(first), std::nullopt, kOverview).ok());
    ASSERT_TRUE(SaveLinkFile(folder.file("Anlage 3.2"), linkRecords(second), std::nullopt, kOverview).ok());
    EXPECT_EQ(linkFields(LoadLinkFile(folder.file("Anlage 3.1")).links), first);
    EXPECT_EQ(linkFields(LoadLinkFile(folder.file("Anlage 3.2")).links), second);
}

TEST_F(LinkFileTest, SavingIntoAFileKeepsEverythingElseByteForByte)
{
    const std::string foreign = "; Anlage Lindenau, von Hand gepflegt\r\n"
                                "[Pr\xFC" "fung]\r\n"
                                "  Datum =  12.03.2024  \r\n"
                                "Pr\xFC" "fer=M\xFCller ; nicht ge\xE4ndert\r\n"
                                "\r\n";
    const std::string old = foreign
                            + "[kopfdaten]\r\n"
                              "03 = alt\r\n"
                              "Kunde=Stadtwerke\r\n"
                              "\r\n"
                              "[QMX_VERKNUEPFUNGEN]\r\n"
                              "; wird ersetzt\r\n"
                              "11=4\r\n"
                              "\r\n"
                              "[Info_Modulliste]\r\n"
                              "01=alt\r\n"
                              "[Notiz]\n"
                              "Text=bleibt\n";
    folder.write("anlage.ini", old);
    const std::vector<LinkRecord> saved = linkRecords({{2, 100, 0, 8, 9, 300, 0, 1}});
    ASSERT_TRUE(SaveLinkFile(folder.file("anlage.ini"), saved, std::nullopt, kOverview).ok());

    // The header keys take their place in the existing section, the missing
    // ones follow its last key; a repeated save changes nothing but the stamp.
    const std::string header = "[kopfdaten]\r\n"
                               "03=|-----     QMX-Verkn\xFCpfungen \r\n"
                               "Kunde=Stadtwerke\r\n"
                               "01=|-----------------------------------------------------------\r\n"
                               "02=|-----     Orvanto Elektronik GmbH\r\n"
                               "04=|-----      Kalmoria 1.30\r\n"
                               "05=STAMP\r\n"
                               "06=|-----------------------------------------------------------\r\n"
                               "\r\n";
    const std::string links = kLegend
                              + "10=8209,0064,012C,0008\r\n11=2\r\n12=100\r\n13=0\r\n14=8\r\n15=9\r\n16=300\r\n"
                                "17=0\r\n18=1\r\n\r\n";
    const std::string expected = foreign + header + "[Notiz]\r\nText=bleibt\r\n\r\n" + kOverviewSection + "\r\n" + links;
    EXPECT_EQ(savedWithoutStamp("anlage.ini"), expected);
    ASSERT_TRUE(SaveLinkFile(folder.file("anlage.ini"), saved, std::nullopt, kOverview).ok());
    EXPECT_EQ(savedWithoutStamp("anlage.ini"), expected);
}

TEST_F(LinkFileTest, SavingReadsHeadersAsTheReaderDoes)
{
    // Lines that are no header belong to the section above and stay with it;
    // the real link section goes and is written anew.
    const std::string kept = "[Notiz]\r\n"
                             "[QMX_Verknuepfungen] ; alt\r\n"
                             "11=4\r\n"
                             "\r\n";
    folder.write("notiz.ini", kept + "[QMX_Verknuepfungen]\r\n11=4\r\n14=8\r\n");
    ASSERT_TRUE(SaveLinkFile(folder.file("notiz.ini"), {}, std::nullopt, kOverview).ok());
    const std::string saved = folder.read("notiz.ini");
    EXPECT_EQ(saved.substr(0, kept.size()), kept);
    EXPECT_TRUE(saved.ends_with(kLegend + "\r\n")) << saved;
    EXPECT_TRUE(LoadLinkFile(folder.file("notiz.ini")).links.empty());
}

TEST_F(LinkFileTest, ASecondUtf8MarkKeepsTheFirstLineWhatItWas)
{
    // To the reader the first line is no section header: the mark it skips
    // is followed by another one. Dropped, the first would make it one and
    // move the key below it into that section.
    // Behind a UTF-8 mark, the mark of UTF-16 is only the start of a line;
    // dropped, the first mark would leave a file that reads as UTF-16.
    for (const std::string old : {"\xEF\xBB\xBF\xEF\xBB\xBF[Notiz]\r\nText=davor\r\n",
                                  "\xEF\xBB\xBF\xFF\xFE Notiz\r\n[Notiz]\r\nText=davor\r\n"}) {
        folder.write("marks.ini", old);
        ASSERT_TRUE(SaveLinkFile(folder.file("marks.ini"), {}, std::nullopt, kOverview).ok());
        EXPECT_EQ(folder.read("marks.ini").substr(0, old.size()), old);
        EXPECT_TRUE(LoadLinkFile(folder.file("marks.ini")).ok());
    }
}

TEST_F(LinkFileTest, ReadingFollowsTheRulesOfTheIniFormat)
{
    struct Case {
        const char* what;
        std::string bytes;
        std::vector<LinkFields> links;
        int32_t firstLinkBehindGap = 0;
        int refusal = 0; // the message of a refused file
    };
    const std::string link1 = "11=2\r\n12=100\r\n13=0\r\n14=8\r\n15=9\r\n16=300\r\n17=0\r\n18=0\r\n";
    const std::string link2 = "21=3\r\n22=42\r\n23=1\r\n24=2\r\n25=2\r\n26=300\r\n27=8\r\n28=1\r\n";
    const std::string link4 = "41=4\r\n42=1\r\n43=1\r\n44=1\r\n45=4\r\n46=1\r\n47=1\r\n48=0\r\n";
    const LinkFields first{2, 100, 0, 8, 9, 300, 0, 0};
    const LinkFields second{3, 42, 1, 2, 2, 300, 8, 1};
    const std::vector<Case> cases{
        {"a gap ends the list", "[QMX_Verknuepfungen]\r\n" + link1 + link2 + link4, {first, second}, 4},
        {"hexadecimal, $ and blanks",
         "[QMX_Verknuepfungen]\r\n11=0x2\r\n 12 = $64 \r\n13=0X0\r\n14=$8\r\n15=9\r\n16=0x12c\r\n17=0\r\n18=0\r\n",
         {first}},
        {"names in any case, comments, keys before the first section",
         "11=7\r\n; Kommentar\r\n[ qmx_VERKNUEPFUNGEN ]\r\n; 14=9\r\n" + link1 + "[andere]\r\n" + link2,
         {first}},
        {"LF line ends", std::regex_replace("[QMX_Verknuepfungen]\r\n" + link1 + link2, std::regex("\r\n"), "\n"),
         {first, second}},
        {"a UTF-8 mark before the first section", "\xEF\xBB\xBF[QMX_Verknuepfungen]\r\n" + link1, {first}},
        {"absent keys read as 0", "[QMX_Verknuepfungen]\r\n14=8\r\n16=300\r\n", {{0, 0, 0, 8, 0, 300, 0, 0}}},
        {"a broken value refuses the file",
         "[QMX_Verknuepfungen]\r\n11=zwei\r\n12=0x\r\n13=-\r\n14=8\r\n16=99999999999\r\n", {}, 0,
         kMessageLinkValueUnreadable},
        {"AnzBit not a number", "[QMX_Verknuepfungen]\r\n" + link1 + "21=3\r\n24=acht\r\n" + link4, {}, 0,
         kMessageLinkValueUnreadable},
        {"AnzBit negative", "[QMX_Verknuepfungen]\r\n" + link1 + "21=3\r\n24=-1\r\n" + link4, {first}, 2},
        {"AnzBit hexadecimal with a sign", "[QMX_Verknuepfungen]\r\n" + link1 + "24=-$1\r\n", {first}, 2},
        {"AnzBit missing, the link's other keys there", "[QMX_Verknuepfungen]\r\n" + link1 + "21=3\r\n", {first}, 2},
        {"only the words of a link behind the end", "[QMX_Verknuepfungen]\r\n" + link1 + "30=0209,0064,012C,0008\r\n",
         {first}, 3},
        {"no link section", "[Kopfdaten]\r\n01=x\r\n", {}, 0, kMessageLinkFileWithoutLinks},
        {"an empty file", "", {}, 0, kMessageLinkFileWithoutLinks},
        {"an empty link section", "[QMX_Verknuepfungen]\r\n00=legende\r\n", {}},
        {"a header is the whole line", "[QMX_Verknuepfungen] ; Notiz\r\n" + link1 + "[QMX_Verknuepfungen]x\r\n" + link2,
         {}, 0, kMessageLinkFileWithoutLinks},
        {"blanks around a header", "  [QMX_Verknuepfungen]\t \r\n" + link1, {first}},
        {"keys under a line that is no header stay in the section above",
         "[QMX_Verknuepfungen]\r\n" + link1 + "[andere] ; Notiz\r\n" + link2, {first, second}},
    };
    for (const Case& c : cases) {
        const LinkFileLoad loaded = load("satz.ini", c.bytes);
        EXPECT_EQ(loaded.ok(), c.refusal == 0) << c.what << ": " << loaded.reason;
        EXPECT_EQ(linkFields(loaded.links), c.links) << c.what;
        EXPECT_EQ(loaded.firstLinkBehindGap, c.firstLinkBehindGap) << c.what;
        if (c.refusal != 0 || c.firstLinkBehindGap != 0) {
            ASSERT_EQ(loaded.notices.size(), 1u) << c.what;
            EXPECT_EQ(loaded.notices[0].number, c.refusal != 0 ? c.refusal : kMessageLinksBehindGap) << c.what;
        } else {
            EXPECT_TRUE(loaded.notices.empty()) << c.what;
        }
    }
}

TEST_F(LinkFileTest, AFileThatIsNoLinkFileIsRefusedNamingTheFileAndWhy)
{
    struct Case {
        const char* what;
        std::string bytes;
        Notice notice;
    };
    const std::string path = folder.file("satz.ini");
    const std::string head = "[QMX_Verknuepfungen]\r\n11=2\r\n14=8\r\n";
    const auto error = [&](int n, std::vector<std::string> details) {
        details.insert(details.begin(), path);
        return Notice{n, Notice::Severity::Error, details, {}, {}};
    };
    const std::vector<Case> cases{
        {"UTF-16 with its mark", "\xFF\xFE[\0Q\0"s, error(kMessageLinkFileNotText, {})},
        {"UTF-32", "\0\0\xFE\xFF\0\0\0["s, error(kMessageLinkFileNotText, {})},
        {"a NUL byte behind the links", head + "\0\0\0"s, error(kMessageLinkFileNotText, {})},
        {"a device image", "[Device]\r\nType=0x3301\r\n[Links]\r\n1=8305,0064,012C,2704\r\n",
         error(kMessageLinkFileWithoutLinks, {})},
        {"a letter O for a zero", head + "12=1OO\r\n", error(kMessageLinkValueUnreadable, {"1", "12", "1OO"})},
        {"too large for 32 bits", head + "16=99999999999999999999\r\n",
         error(kMessageLinkValueUnreadable, {"1", "16", "99999999999999999999"})},
        {"an empty value", head + "18=\r\n", error(kMessageLinkValueUnreadable, {"1", "18", ""})},
        {"a broken AnzBit", head + "21=3\r\n24=1x\r\n", error(kMessageLinkValueUnreadable, {"2", "24", "1x"})},
        {"a long value is cut", head + "13=" + std::string(50, '7') + "x\r\n",
         error(kMessageLinkValueUnreadable, {"1", "13", std::string(40, '7') + "..."})},
    };
    for (const Case& c : cases) {
        const LinkFileLoad loaded = load("satz.ini", c.bytes);
        EXPECT_FALSE(loaded.ok()) << c.what;
        EXPECT_TRUE(loaded.links.empty()) << c.what;
        ASSERT_EQ(loaded.notices.size(), 1u) << c.what;
        EXPECT_EQ(loaded.notices[0].number, c.notice.number) << c.what;
        EXPECT_EQ(loaded.notices[0].severity, Notice::Severity::Error) << c.what;
        EXPECT_EQ(loaded.notices[0].arguments, c.notice.arguments) << c.what;
    }
}

TEST_F(LinkFileTest, AFileWithMoreLinksThanTheTableHoldsFillsTheTable)
{
    std::string bytes = "[QMX_Verknuepfungen]\r\n";
    for (int n = 1; n <= 300; ++n) {
        for (int k = 1; k <= 8; ++k)
            bytes += std::to_string(n * 10 + k) + "=" + std::to_string(k == 2 ? n : 1) + "\r\n";
    }
    const LinkFileLoad loaded = load("gross.ini", bytes);
    ASSERT_TRUE(loaded.ok());
    EXPECT_TRUE(loaded.linksLeftOut);
    ASSERT_EQ(loaded.links.size(), static_cast<std::size_t>(kMaxLinks));
    EXPECT_EQ(loaded.links.back().RegVon, 299);

    bytes.resize(bytes.find("\r\n3001="));
    const LinkFileLoad fitting = load("gross.ini", bytes);
    EXPECT_FALSE(fitting.linksLeftOut);
    EXPECT_EQ(fitting.links.size(), static_cast<std::size_t>(kMaxLinks));
}

TEST_F(LinkFileTest, AFailedSaveLeavesTheOldFileAsItWas)
{
    // A disk that fills up while the file is written: the process may write
    // no file larger than the old one (a limit that holds for root too).
    const std::string old = "[Notiz]\r\nText=alt\r\n";
    folder.write("satz.ini", old);
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = before;
    small.rlim_cur = old.size();
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const LinkFileSave saved =
        SaveLinkFile(folder.file("satz.ini"), linkRecords({{2, 100, 0, 8, 9, 300, 0, 0}}), std::nullopt, kOverview);
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(saved.ok());
    EXPECT_FALSE(saved.reason.empty());
    EXPECT_EQ(folder.read("satz.ini"), old);
    std::set<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        left.insert(entry.path().filename().string());
    EXPECT_EQ(left, std::set<std::string>{"satz.ini"}) << "no temporary file stays behind";
}

TEST_F(LinkFileTest, TheStationOfTheLinksTravelsWithTheFile)
{
    const StationIdentity station{4711, 20, 0x0900};
    ASSERT_TRUE(SaveLinkFile(folder.file("anlage.ini"), {}, station, kOverview).ok());
    EXPECT_NE(folder.read("anlage.ini").find("06=|---"), std::string::npos);
    EXPECT_NE(folder.read("anlage.ini").find("Seriennummer=4711\r\nQMX-Adresse=20\r\nGeraetetyp=2304\r\n"),
              std::string::npos);
    EXPECT_EQ(LoadLinkFile(folder.file("anlage.ini")).origin, station);

    // Saved again without a known station, the file names none any more;
    // the rest of its header stays.
    folder.write("anlage.ini", folder.read("anlage.ini") + "[Kopfdaten]\r\nKunde=Stadtwerke\r\n");
    ASSERT_TRUE(SaveLinkFile(folder.file("anlage.ini"), {}, std::nullopt, kOverview).ok());
    EXPECT_EQ(folder.read("anlage.ini").find("Seriennummer"), std::string::npos);
    EXPECT_NE(folder.read("anlage.ini").find("Kunde=Stadtwerke"), std::string::npos);

    struct Case {
        const char* what;
        std::string header;
    };
    const std::vector<Case> unknown{
        {"an older file", "[Kopfdaten]\r\n01=x\r\n"},
        {"no type", "[Kopfdaten]\r\nSeriennummer=4711\r\nQMX-Adresse=20\r\n"},
        {"a serial number no device holds", "[Kopfdaten]\r\nSeriennummer=70000\r\nQMX-Adresse=20\r\nGeraetetyp=1\r\n"},
        {"not a number", "[Kopfdaten]\r\nSeriennummer=47a1\r\nQMX-Adresse=20\r\nGeraetetyp=1\r\n"},
    };
    for (const Case& c : unknown)
        EXPECT_FALSE(load("alt.ini", c.header + kLegend).origin.has_value()) << c.what;
}
