#include "cli/ConsoleText.h"

#include "diag/AnsiText.h"

#include <cstdio>
#include <unistd.h>

namespace {

// Names come from the device or the file system: a module name holding
// ESC [2J, sent raw, would clear the user's screen. Control characters are
// shown as "\x1B".
std::string withoutControls(const QString& text)
{
    QString shown;
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            shown += QString::asprintf("\\x%02X", c.unicode());
        else
            shown += c;
    }
    return shown.toUtf8().toStdString();
}

} // namespace

std::string toTerminal(const std::string& ansi)
{
    return withoutControls(ansiToQString(ansi));
}

std::string pathOnTerminal(const std::string& path)
{
    return withoutControls(fileNameShown(path));
}

std::string oneLine(const std::string& ansi)
{
    std::string line;
    bool pendingBlank = false;
    for (const char c : ansi) {
        if (c == '\r' || c == '\n' || c == ' ' || c == '\t') {
            pendingBlank = !line.empty();
            continue;
        }
        if (pendingBlank)
            line += ' ';
        pendingBlank = false;
        line += c;
    }
    return line;
}

std::string pathText(const std::string& path)
{
    return fileNameToAnsi(path);
}

bool isTerminal(int fd)
{
    return isatty(fd) == 1;
}

void printOut(const std::string& utf8)
{
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fflush(stdout);
}

void printErr(const std::string& utf8)
{
    std::fwrite(utf8.data(), 1, utf8.size(), stderr);
    std::fflush(stderr);
}
