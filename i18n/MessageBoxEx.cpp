#include "i18n/MessageBoxEx.h"

#include <array>
#include <utility>

namespace {
MessageBoxPresenter g_presenter;
// Indexed by kind code: warning, error, information, question, plain.
std::array<std::string, 5> g_titles;
} // namespace

MessageBoxPresenter SetMessageBoxPresenter(MessageBoxPresenter presenter)
{
    return std::exchange(g_presenter, std::move(presenter));
}

void SetMessageTitles(const std::string& warning, const std::string& error, const std::string& information,
                      const std::string& question, const std::string& plain)
{
    g_titles = {warning, error, information, question, plain};
}

const std::string& MessageTitle(int kind)
{
    if (kind < mbWarning || kind > mbPlain)
        kind = mbPlain;
    return g_titles[static_cast<std::size_t>(kind)];
}

int MessageBoxEx(const std::string& text, int kind, int buttons, int defaultButton)
{
    if (!g_presenter)
        return idCancel;
    return g_presenter(MessageBoxRequest{MessageTitle(kind), text, kind, buttons, defaultButton});
}
