#include "tests/cli/CliProcess.h"
#include "tests/common/QmxSim.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

namespace {

using Locale = std::vector<std::pair<QString, QString>>;

const QString kLang = QStringLiteral("LANG");

std::set<std::string> optionsIn(const std::string& help)
{
    std::set<std::string> found;
    const std::regex option(R"(--[a-z][a-z0-9-]*)");
    for (auto match = std::sregex_iterator(help.begin(), help.end(), option); match != std::sregex_iterator(); ++match)
        found.insert(match->str());
    return found;
}

} // namespace

// A gateway's journal must be read by its own people: the language of
// --lang, else the one chosen in Kalmoria, else the locale's; the plain C
// locale keeps the German that scripts have seen so far.
TEST(CliLanguage, FollowsLangThenKalmoriasChoiceThenTheLocale)
{
    const std::string english = "kalmoria-cli: error: COM9 is mapped to no device file: ";
    const std::string german = "kalmoria-cli: Fehler: COM9 ist keine Ger\xC3\xA4tedatei zugeordnet: ";
    struct Case {
        const char* what;
        Locale locale;
        std::string chosen; // Kalmoria.ini's Sprache
        QStringList lang;
        const std::string& said;
    };
    const std::vector<Case> cases{
        {"no locale", {}, "", {}, german},
        {"C", {{kLang, QStringLiteral("C.UTF-8")}}, "", {}, german},
        {"English", {{kLang, QStringLiteral("en_US.UTF-8")}}, "", {}, english},
        {"German", {{kLang, QStringLiteral("de_DE.UTF-8")}}, "", {}, german},
        {"a language without a file", {{kLang, QStringLiteral("fr_FR.UTF-8")}}, "", {}, english},
        {"LC_ALL first", {{kLang, QStringLiteral("en_US.UTF-8")}, {QStringLiteral("LC_ALL"), QStringLiteral("de_AT")}},
         "", {}, german},
        {"LC_MESSAGES before LANG",
         {{kLang, QStringLiteral("de_DE.UTF-8")}, {QStringLiteral("LC_MESSAGES"), QStringLiteral("en_GB")}}, "", {},
         english},
        {"chosen in Kalmoria", {{kLang, QStringLiteral("en_US.UTF-8")}}, "KalmoriaDE.TXT", {}, german},
        {"--lang", {{kLang, QStringLiteral("de_DE.UTF-8")}}, "KalmoriaDE.TXT",
         {QStringLiteral("--lang"), QStringLiteral("en")}, english},
    };
    for (const Case& c : cases) {
        CliProcess cli;
        cli.locale = c.locale;
        cli.writeSettings("[Kalmoria]\r\nSprache=" + c.chosen + "\r\n");
        const auto result = cli.run(QStringList{QStringLiteral("read"), QStringLiteral("--port"), QStringLiteral("9")}
                                    + c.lang);
        EXPECT_EQ(result.exitCode, 2) << c.what;
        EXPECT_EQ(result.errorLines().size(), 1u) << c.what << ": " << result.err;
        EXPECT_TRUE(result.err.starts_with(c.said)) << c.what << ": " << result.err;
    }
}

TEST(CliLanguage, HelpAndMistakesSpeakItAndTheHelpListsTheSameInBoth)
{
    CliProcess cli;
    cli.locale = {{kLang, QStringLiteral("de_DE.UTF-8")}};
    const auto german = cli.run({QStringLiteral("--help")});
    const auto english = cli.run({QStringLiteral("--help"), QStringLiteral("--lang"), QStringLiteral("en")});
    EXPECT_TRUE(german.out.starts_with("Aufruf: kalmoria-cli [Optionen] Befehl [DATEI]")) << german.out;
    EXPECT_TRUE(english.out.starts_with("Usage: kalmoria-cli [options] command [FILE]")) << english.out;
    EXPECT_EQ(optionsIn(german.out), optionsIn(english.out));
    EXPECT_TRUE(optionsIn(english.out).contains("--lang"));
    const std::regex command(R"(\n  (search|info|read|write|diff|restore|doctor|report|backup) )");
    EXPECT_EQ(std::distance(std::sregex_iterator(german.out.begin(), german.out.end(), command), {}),
              std::distance(std::sregex_iterator(english.out.begin(), english.out.end(), command), {}));

    const auto typo = cli.run({QStringLiteral("info"), QStringLiteral("--prot"), QStringLiteral("3")});
    EXPECT_EQ(typo.exitCode, 1);
    EXPECT_EQ(typo.err, "kalmoria-cli: Fehler: unbekannte Option --prot; meinten Sie --port? "
                        "(siehe kalmoria-cli --help)\n");
    const auto unknown = cli.run({QStringLiteral("raed"), QStringLiteral("--lang=en")});
    EXPECT_EQ(unknown.err, "kalmoria-cli: error: unknown command \"raed\"; did you mean read? "
                           "(see kalmoria-cli --help)\n");
}

TEST(CliLanguage, AComNumberWithoutADeviceFileSaysWhy)
{
    CliProcess cli;
    cli.locale = {{kLang, QStringLiteral("en_US.UTF-8")}};
    cli.writeSettings("[Schnittstellen]\r\nCOM1=/dev/null/none\r\n");
    const auto result = cli.run({QStringLiteral("info"), QStringLiteral("--port"), QStringLiteral("COM9")});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.err.starts_with("kalmoria-cli: error: COM9 is mapped to no device file: Kalmoria.ini, section "
                                       "[Schnittstellen], has no key COM9."))
        << result.err;
}

// A script's user cannot see the line: the failed read names the reply's
// fault and what --retries did about it.
TEST(CliLanguage, AReadThatFailsOnABrokenReplyNamesTheCauseAndRetries)
{
    CliProcess cli;
    cli.files.write("device.ini", cliStation().DeviceImage());
    const QmxSim device(cli.files.file("device.ini"), {QStringLiteral("--bad-crc"), QStringLiteral("--no-pacing")});
    ASSERT_FALSE(device.path().empty()) << "qmx-sim did not start";
    for (const char* retries : {"0", "1"}) {
        const auto result = cli.run({QStringLiteral("read"), QStringLiteral("--fast"), QStringLiteral("--lang"),
                                     QStringLiteral("en"), QStringLiteral("--retries"), QLatin1String(retries),
                                     QStringLiteral("--port"), QString::fromStdString(device.path())});
        EXPECT_EQ(result.exitCode, 2) << retries;
        ASSERT_EQ(result.errorLines().size(), 1u) << result.err;
        EXPECT_TRUE(result.err.starts_with("kalmoria-cli: error: Reading the QMX failed: CRC error")) << result.err;
        EXPECT_NE(result.err.find(std::string("(--retries ") + retries + ")"), std::string::npos) << result.err;
    }
}
