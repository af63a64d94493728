#include "cli/ConsoleMessages.h"

#include "cli/ConsoleText.h"
#include "cli/CliMessages.h"
#include "cli/CommandLineTexts.h"
#include "diag/AnsiText.h"
#include "i18n/LanguageTexts.h"
#include "i18n/NoticeText.h"

#include <QString>

#include <iostream>

namespace {

// One prefix for every error line, whatever box the window would show, so
// that a journal or a script finds them all alike; a warning says so in its
// place.
std::string errorLine(int kind, const std::string& ansiText)
{
    return (kind == mbWarning ? WarningLinePrefix() : ErrorLinePrefix()) + toTerminal(oneLine(ansiText)) + "\n";
}

bool isError(int kind)
{
    // The only plain box is the fatal one about missing language files.
    return kind == mbError || kind == mbWarning || kind == mbPlain;
}

} // namespace

ConsoleMessages::ConsoleMessages(bool quiet)
    : m_quiet(quiet)
{
    m_previous = SetMessageBoxPresenter([this](const MessageBoxRequest& request) { return present(request); });
}

ConsoleMessages::~ConsoleMessages()
{
    SetMessageBoxPresenter(std::move(m_previous));
}

bool ConsoleMessages::report(const std::vector<Notice>& notices, bool failed)
{
    if (failed) {
        if (notices.empty())
            return false;
        error(NoticeText(notices.back(), kConsoleWording));
        return true;
    }
    for (const Notice& notice : notices)
        print(NoticeBoxKind(notice.severity), NoticeText(notice, kConsoleWording));
    return false;
}

void ConsoleMessages::error(const std::string& ansiText)
{
    printErr(errorLine(mbError, ansiText));
}

void ConsoleMessages::note(const std::string& ansiText)
{
    if (!m_quiet)
        printErr(toTerminal(oneLine(ansiText)) + "\n");
}

bool ConsoleMessages::ask(const std::string& ansiText)
{
    // "j/n" in German, "y/n" in English: the first letter is the yes.
    const std::string letters = GetMessageText(kMessageAnswerLetters, {}, -1);
    printErr(toTerminal(oneLine(ansiText)) + " [" + toTerminal(letters) + "] ");
    std::string answer;
    if (!std::getline(std::cin, answer))
        return false;
    const QString word = QString::fromLocal8Bit(answer).trimmed().toLower();
    const QString yes = ansiToQString(letters.substr(0, 1)).toLower();
    return (!yes.isEmpty() && word == yes) || word == QLatin1String("y") || word == QLatin1String("yes")
           || word == QLatin1String("j") || word == QLatin1String("ja");
}

int ConsoleMessages::present(const MessageBoxRequest& request)
{
    if (request.buttons == mbYesNo || request.buttons == mbYesNoCancel)
        return ask(request.text) ? idYes : idNo;
    print(request.kind, request.text);
    return request.buttons == mbOkCancel || request.buttons == mbOk ? idOk : idCancel;
}

void ConsoleMessages::print(int kind, const std::string& ansiText)
{
    if (isError(kind))
        printErr(errorLine(kind, ansiText));
    else
        note(ansiText);
}
