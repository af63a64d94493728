#include "tests/common/QmxSim.h"
#include "tests/common/TempDir.h"

#include <QProcess>
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace {

std::string helpOf(const std::string& program)
{
    // The manual pages are English: so is the help they are held against.
    const TempDir settings;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(settings.path()));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QString::fromStdString(QmxSim::binDir() + "/" + program), {QStringLiteral("--help")});
    process.waitForFinished(10000);
    return process.readAllStandardOutput().toStdString();
}

// The manual page as a reader sees its words: groff's "\-" is a "-".
std::string manualPage(const std::string& name)
{
    std::ifstream file(KALMORIA_MAN_DIR "/" + name);
    std::stringstream text;
    text << file.rdbuf();
    return std::regex_replace(text.str(), std::regex(R"(\\-)"), "-");
}

std::set<std::string> matchesOf(const std::string& text, const std::regex& pattern)
{
    std::set<std::string> found;
    for (auto match = std::sregex_iterator(text.begin(), text.end(), pattern); match != std::sregex_iterator();
         ++match)
        found.insert((*match)[1].str());
    return found;
}

// What --help lists that the manual page does not name.
std::set<std::string> optionsMissingFrom(const std::string& help, const std::string& page)
{
    std::set<std::string> missing;
    for (const std::string& option : matchesOf(help, std::regex(R"((--[a-z][a-z0-9-]*))"))) {
        if (!std::regex_search(page, std::regex(option + R"((?![a-z0-9-]))")))
            missing.insert(option);
    }
    return missing;
}

} // namespace

// A user who reads the manual page instead of --help must find every option
// and every command there.
TEST(ManualPages, NameEveryOptionAndCommandTheHelpLists)
{
    for (const auto& [program, page] : {std::pair{"kalmoria-cli", "kalmoria-cli.1"}, {"qmx-sim", "qmx-sim.1"},
                                        {"Kalmoria", "kalmoria.1"}}) {
        SCOPED_TRACE(program);
        const std::string help = helpOf(program);
        ASSERT_NE(help.find("--help"), std::string::npos);
        EXPECT_EQ(optionsMissingFrom(help, manualPage(page)), std::set<std::string>{});
    }

    const std::string help = helpOf("kalmoria-cli");
    const std::string commandList = help.substr(0, help.find("\n\n", help.find("Commands:")));
    const std::set<std::string> commands = matchesOf(commandList, std::regex(R"(\n  ([a-z]+))"));
    EXPECT_GE(commands.size(), 9u);
    const std::string page = manualPage("kalmoria-cli.1");
    for (const std::string& command : commands)
        EXPECT_TRUE(std::regex_search(page, std::regex(R"(\.TP\n\.BI? )" + command + R"(\b)"))) << command;
}
