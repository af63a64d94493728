#include "i18n/MessageBoxEx.h"

#include <utility>

namespace {
MessageBoxPresenter g_presenter;
}

MessageBoxPresenter SetMessageBoxPresenter(MessageBoxPresenter presenter)
{
    return std::exchange(g_presenter, std::move(presenter));
}

int MessageBoxEx(const std::string& text, int kind, int buttons, int defaultButton)
{
    if (!g_presenter)
        return idCancel;
    return g_presenter(MessageBoxRequest{std::string(), text, kind, buttons, defaultButton});
}
