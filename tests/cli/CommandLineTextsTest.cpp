#include "cli/CommandLineTexts.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <set>

namespace {

std::set<QString> placeholders(const QString& text)
{
    std::set<QString> found;
    for (const QRegularExpressionMatch& match : QRegularExpression(QStringLiteral("%\\d")).globalMatch(text))
        found.insert(match.captured());
    return found;
}

} // namespace

// A translation that drops a placeholder leaves the option, the file or the
// number out of the one line a script's user gets.
TEST(CommandLineTexts, EachHasBothLanguagesWithTheSamePlaceholders)
{
    for (int id = 0; id < static_cast<int>(CliText::Count); ++id) {
        const QString english = CommandLineText(static_cast<CliText>(id), false);
        const QString german = CommandLineText(static_cast<CliText>(id), true);
        EXPECT_FALSE(english.isEmpty() || german.isEmpty()) << id;
        EXPECT_EQ(placeholders(english), placeholders(german)) << id << ": " << german.toStdString();
    }
}
