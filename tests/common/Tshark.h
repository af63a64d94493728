#pragma once

// The real tshark with the shipped dissector, reading a capture the program
// wrote: one row per frame, the fields asked for split at tabs (several
// values of one field stay joined by commas).

#include <QProcess>
#include <QStringList>

#include <string>
#include <vector>

struct TsharkRun {
    int exitCode = -1;
    std::string err;
    std::vector<std::vector<std::string>> rows;
};

inline TsharkRun Tshark(const std::string& capture, const QStringList& fields, const QString& filter = {})
{
    QStringList arguments{QStringLiteral("-X"), QStringLiteral("lua_script:" KALMORIA_DISSECTOR), QStringLiteral("-r"),
                          QString::fromStdString(capture), QStringLiteral("-T"), QStringLiteral("fields")};
    for (const QString& field : fields)
        arguments << QStringLiteral("-e") << field;
    if (!filter.isEmpty())
        arguments << QStringLiteral("-Y") << filter;
    QProcess tshark;
    tshark.start(QStringLiteral("tshark"), arguments);
    tshark.waitForFinished(60000);
    TsharkRun run;
    run.exitCode = tshark.exitStatus() == QProcess::NormalExit ? tshark.exitCode() : -1;
    // tshark warns about running as root; that is not the capture's fault.
    for (const QString& line : QString::fromUtf8(tshark.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts))
        if (!line.startsWith(QLatin1String("Running as user")))
            run.err += line.toStdString() + "\n";
    for (const QString& line : QString::fromUtf8(tshark.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts)) {
        std::vector<std::string> row;
        for (const QString& value : line.split(u'\t'))
            row.push_back(value.toStdString());
        run.rows.push_back(row);
    }
    return run;
}

#define KALMORIA_REQUIRE_TSHARK()                                                                                     \
    do {                                                                                                               \
        if (QStandardPaths::findExecutable(QStringLiteral("tshark")).isEmpty())                                       \
            GTEST_SKIP() << "tshark is not installed (scripts/setup.sh installs it)";                                 \
    } while (false)
