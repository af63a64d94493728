#include "cli/ConsoleView.h"

#include "cli/ConsoleText.h"

namespace {

// Back to the start of the line and erase it.
constexpr const char* kClearLine = "\r\x1B[K";

} // namespace

ConsoleView::ConsoleView(bool quiet)
    : m_showProgress(!quiet && isTerminal(2))
{
}

ConsoleView::~ConsoleView()
{
    EndProgress();
}

void ConsoleView::SetProgressText(const std::string& text)
{
    if (!m_showProgress)
        return;
    printErr(kClearLine + toTerminal(text));
    m_lineShown = !text.empty();
}

void ConsoleView::EndProgress()
{
    if (m_lineShown)
        printErr(kClearLine);
    m_lineShown = false;
}
