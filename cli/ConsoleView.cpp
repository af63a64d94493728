#include "cli/ConsoleView.h"

#include "cli/ConsoleText.h"

#include <algorithm>

namespace {

// Back to the start of the line and erase it.
constexpr const char* kClearLine = "\r\x1B[K";
constexpr int kBarWidth = 20;

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
    m_text = text;
    showLine();
}

void ConsoleView::SetProgress(int done, int total)
{
    m_total = std::max(total, 1);
    m_done = std::clamp(done, 0, m_total);
    showLine();
}

void ConsoleView::EndProgress()
{
    if (m_lineShown)
        printErr(kClearLine);
    m_lineShown = false;
    m_done = 0;
    m_total = 0;
    m_text.clear();
}

// "[#######             ] 25/72  lese: 22"
void ConsoleView::showLine()
{
    if (!m_showProgress)
        return;
    std::string line;
    if (m_total > 0) {
        const int filled = kBarWidth * m_done / m_total;
        line = "[" + std::string(static_cast<std::size_t>(filled), '#')
               + std::string(static_cast<std::size_t>(kBarWidth - filled), ' ') + "] " + std::to_string(m_done) + "/"
               + std::to_string(m_total);
    }
    if (!m_text.empty())
        line += (line.empty() ? "" : "  ") + toTerminal(m_text);
    printErr(kClearLine + line);
    m_lineShown = !line.empty();
}
