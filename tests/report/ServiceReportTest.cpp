#include "report/ServiceReport.h"

#include "diag/AnsiText.h"
#include "i18n/LanguageTexts.h"
#include "model/LinkComparison.h"
#include "tests/common/PdfText.h"
#include "tests/common/ReportStation.h"
#include "tests/common/TempDir.h"

#include <QDir>
#include <QRegularExpression>
#include <QString>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>

namespace {

std::string utf8(const std::string& ansi)
{
    return ansiToQString(ansi).toStdString();
}

// The text with every run of blanks and line ends taken out: a name that
// broke across lines of its cell reads as one.
std::string squeezed(const std::string& text)
{
    return QString::fromStdString(text).remove(QRegularExpression(QStringLiteral("\\s+"))).toStdString();
}

class ServiceReportTest : public testing::Test {
protected:
    // The report of `station` saved and read back as text.
    std::string reportText(ServiceReportFacts facts = {}, bool layout = true)
    {
        facts.station = station;
        const ReportSave saved = SaveServiceReport(facts, QString::fromStdString(pdf));
        EXPECT_GT(saved.pages, 0) << saved.errorString();
        return PdfText(pdf, 1, 0, layout);
    }

    Station station;
    TempDir folder;
    const std::string pdf = folder.file("bericht.pdf");
};

TEST_F(ServiceReportTest, A299LinkTableRunsOverA4PagesWithFontsEmbeddedAndHeadingsAndPageNumbersOnEach)
{
    station = reportStation(kMaxLinks);
    const std::string text = reportText();
    const std::string info = PdfInfo(pdf);
    EXPECT_NE(info.find("(A4)"), std::string::npos) << info;
    // pdffonts: two lines of header, then a line a font: ... emb sub uni object-id.
    const QStringList fonts =
        QString::fromStdString(popplerOutput(QStringLiteral("pdffonts"), {QString::fromStdString(pdf)}))
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GT(fonts.size(), 2);
    for (const QString& font : fonts.mid(2)) {
        const QStringList columns = font.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        EXPECT_EQ(columns.value(columns.size() - 5), QStringLiteral("yes")) << font.toStdString();
    }
    const int pages = std::stoi(info.substr(info.find("Pages:") + 6));
    ASSERT_GE(pages, 5);
    for (int page = 1; page <= pages; ++page) {
        const std::string onPage = PdfText(pdf, page, page);
        EXPECT_NE(onPage.find("Seite " + std::to_string(page) + " von " + std::to_string(pages)), std::string::npos);
        EXPECT_NE(onPage.find("Seriennummer 4242, QMX-Adresse 30"), std::string::npos) << page;
        // The link table's heading comes again on each page it runs over.
        const bool linksHere = page > 1 && page < pages;
        if (linksHere) {
            EXPECT_NE(onPage.find("Modulname"), std::string::npos) << onPage;
        }
    }
    for (const std::string& name : kReportModuleNames)
        EXPECT_NE(squeezed(text).find(squeezed(utf8(name))), std::string::npos) << name;

    // Each link's row: its number, then its fields up to A or D, in order.
    std::map<int, std::vector<std::string>> rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::vector<std::string> numbers;
        for (std::string word; words >> word && (numbers.empty() || (numbers.back() != "A" && numbers.back() != "D"));)
            if (word.find_first_not_of("0123456789") == std::string::npos || word == "A" || word == "D")
                numbers.push_back(word);
        if (numbers.size() == 9 && !rows.contains(std::stoi(numbers[0])))
            rows[std::stoi(numbers[0])] = numbers;
    }
    const std::vector<LinkRecord> links = station.CurrentLinks();
    for (std::size_t i = 0; i < links.size(); ++i) {
        const LinkRecord& l = links[i];
        const std::vector<std::string> expected{std::to_string(i + 1), std::to_string(l.ModulQ + 1),
                                                std::to_string(l.RegVon), std::to_string(l.BitVon),
                                                std::to_string(l.AnzBit), std::to_string(l.ModulZ + 1),
                                                std::to_string(l.RegZ), std::to_string(l.BitZ),
                                                l.deaktiv != 0 ? "D" : "A"};
        EXPECT_EQ(rows[static_cast<int>(i + 1)], expected) << "link " << i + 1;
    }
}

TEST_F(ServiceReportTest, LinksAllAlikeListAFewFindingsEachAndCountTheRest)
{
    // Each link is the same as every one before it: 44,551 findings in all.
    station = reportStation(kMaxLinks);
    for (int n = 2; n <= kMaxLinks; ++n)
        station.LinkTable[static_cast<std::size_t>(n)] = station.LinkTable[1];
    const std::string text = squeezed(reportText({}, false));
    for (const char* said : {"Verkn\xFCpfung 299 ist dieselbe wie Verkn\xFCpfung 3.", "... und 295 weitere Befunde",
                             "Verkn\xFCpfung 4 ist dieselbe wie Verkn\xFCpfung 3.", "Verkn\xFCpfung 2 ist dieselbe"})
        EXPECT_NE(text.find(squeezed(utf8(said))), std::string::npos) << utf8(said);
    EXPECT_EQ(text.find(squeezed(utf8("Verkn\xFCpfung 5 ist dieselbe wie Verkn\xFCpfung 4."))), std::string::npos);
    const std::string info = PdfInfo(pdf);
    EXPECT_LE(std::stoi(info.substr(info.find("Pages:") + 6)), 60) << "four lines of findings a link at most";
}

struct ReportCase {
    const char* name;
    std::function<void(ServiceReportFacts&)> arrange;
    std::vector<std::string> says; // Windows-1252
    const char* language = "";
};

TEST_F(ServiceReportTest, SaysWhatIsKnownOfTheDeviceTheChecksAndTheLastWrite)
{
    const auto verifiedWrite = [](bool answered, bool readBack, bool verified) {
        return [=](ServiceReportFacts& facts) {
            facts.lastWrite = LastLinkWrite{QDateTime(QDate(2026, 5, 4), QTime(8, 9, 10)), 3, 2, 1, answered,
                                            readBack, verified, "/var/b/4242/2026-05-04_08-09-10.ini"};
        };
    };
    const std::vector<ReportCase> cases{
        {"read", [&](ServiceReportFacts& f) { f.port = "COM3 (/dev/ttyUSB0), FTDI"; f.deviceLinks = station.CurrentLinks(); },
         {"Servicebericht", "Kalmoria 1.30", "4242", "QMX-620", "COM3 (/dev/ttyUSB0), FTDI",
          "stimmt mit der QMX \xFC" "berein", "Seit dem Programmstart wurde nichts \xFC" "bertragen.",
          "Die Pr\xFC" "fung fand nichts zu beanstanden."}},
        {"unknown device", [](ServiceReportFacts&) {}, {"Die Verkn\xFCpfungen der QMX sind nicht bekannt"}},
        {"differs", [](ServiceReportFacts& f) { f.deviceLinks = reportLinks(2); },
         {"Verschieden zwischen QMX und Tabelle:", "@@ Nr  ModulQ,RegVon", "+ 3  7,153,0,16,4,350,0,0"}},
        {"verified", verifiedWrite(true, true, true),
         {"2026-05-04 08:09:10", "3 (2 aktiv, 1 inaktiv)", "ja: zur\xFC" "ckgelesen und wie geschrieben",
          "/var/b/4242/2026-05-04_08-09-10.ini"}},
        {"differs after write", verifiedWrite(true, true, false), {"nein: zur\xFC" "ckgelesen, die QMX"}},
        {"not read back", verifiedWrite(true, false, false), {"nein: nicht zur\xFC" "ckgelesen"}},
        {"no answer", verifiedWrite(false, true, false), {"nein: Die QMX hat nicht sauber geantwortet."}},
        {"problem", [&](ServiceReportFacts&) { station.ReplaceLinks(reportLinks(3)); station.LinkTable[2] = station.LinkTable[1]; },
         {"Verkn\xFCpfung 2 ist dieselbe wie Verkn\xFCpfung 1."}},
        {"file alone",
         [&](ServiceReportFacts& f) {
             station.ResetModel();
             station.OverviewOrigin.reset();
             station.LinkTableOrigin = StationIdentity{77, 5, 0x3301};
             f.linkFile = "/home/service/anlage.ini";
             f.fileOverview = {{"Adr."}, {"31", "PDX-44", "Kl\xE4ranlage Nord"}};
         },
         {"/home/service/anlage.ini", "Seriennummer 77, QMX-Adresse 5", "Kl\xE4ranlage Nord",
          "Ohne die Module der Station wurden die Verkn\xFCpfungen nicht gepr\xFC" "ft."}},
        {"english", [&](ServiceReportFacts& f) { f.deviceLinks = station.CurrentLinks(); },
         {"Service report", "Module overview", "Link table", "Comparison with the QMX", "matches the device",
          "Last write", "Page 1 of", "Module name", "Source", "Link plan"},
         "KalmoriaEN.TXT"},
    };
    for (const ReportCase& c : cases) {
        ASSERT_TRUE(ActivateLanguage(c.language));
        station = reportStation(3);
        ServiceReportFacts facts;
        c.arrange(facts);
        const std::string text = squeezed(reportText(facts, false));
        for (const std::string& said : c.says)
            EXPECT_NE(text.find(squeezed(utf8(said))), std::string::npos) << c.name << ": " << utf8(said);
    }
    ASSERT_TRUE(ActivateLanguage(""));
}

TEST_F(ServiceReportTest, AReportThatCannotBeWrittenLeavesNoFileAndTheOldOneAsItWas)
{
    station = reportStation(3);
    folder.write("alt.pdf", "old");
    const ReportSave missingFolder = SaveServiceReport({}, QString::fromStdString(folder.file("fehlt/bericht.pdf")));
    EXPECT_EQ(missingFolder.outcome, Outcome::FileNotWritten);
    ASSERT_EQ(missingFolder.notices.size(), 1u);
    EXPECT_FALSE(missingFolder.notices[0].arguments.at(1).empty()) << "the system's reason";
    // A name that is a folder cannot become a file; the folder stays.
    EXPECT_EQ(SaveServiceReport({}, QString::fromStdString(folder.path())).pages, 0);
    EXPECT_EQ(folder.read("alt.pdf"), "old");
    EXPECT_EQ(QDir(QString::fromStdString(folder.path())).entryList(QDir::Files), QStringList{"alt.pdf"});
}

} // namespace
