#include "cli/ConsoleMessages.h"

#include "cli/ConsoleText.h"

#include <QString>

#include <iostream>

namespace {

// The box title names the kind ("Kalmoria - Fehler"); before any language
// file was read there is none.
std::string errorLine(int kind, const std::string& ansiText)
{
    const std::string& title = MessageTitle(kind);
    return toTerminal((title.empty() ? std::string("kalmoria-cli") : title) + ": " + oneLine(ansiText)) + "\n";
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

void ConsoleMessages::hold()
{
    m_holding = true;
    m_held.clear();
}

bool ConsoleMessages::release(bool failed)
{
    m_holding = false;
    std::vector<MessageBoxRequest> held;
    held.swap(m_held);
    if (failed) {
        if (held.empty())
            return false;
        printErr(errorLine(mbError, held.back().text));
        return true;
    }
    for (const MessageBoxRequest& request : held)
        print(request);
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
    printErr(toTerminal(oneLine(ansiText)) + " [y/n] ");
    std::string answer;
    if (!std::getline(std::cin, answer))
        return false;
    const QString word = QString::fromLocal8Bit(answer).trimmed().toLower();
    return word == QLatin1String("y") || word == QLatin1String("yes") || word == QLatin1String("j")
           || word == QLatin1String("ja");
}

int ConsoleMessages::present(const MessageBoxRequest& request)
{
    if (request.buttons == mbYesNo || request.buttons == mbYesNoCancel)
        return ask(request.text) ? idYes : idNo;
    if (m_holding)
        m_held.push_back(request);
    else
        print(request);
    return request.buttons == mbOkCancel || request.buttons == mbOk ? idOk : idCancel;
}

void ConsoleMessages::print(const MessageBoxRequest& request)
{
    if (isError(request.kind))
        printErr(errorLine(request.kind, request.text));
    else
        note(request.text);
}
