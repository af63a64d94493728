#pragma once

#include "i18n/MessageBoxEx.h"

#include <string>
#include <utility>
#include <vector>

// Stands in for the user at every message box while it lives: gives `answer`
// and remembers what was shown.
class ScriptedMessageBoxes {
public:
    explicit ScriptedMessageBoxes(int answer = idOk)
        : answer(answer)
    {
        m_previous = SetMessageBoxPresenter([this](const MessageBoxRequest& request) {
            shown.push_back(request);
            return this->answer;
        });
    }
    ~ScriptedMessageBoxes() { SetMessageBoxPresenter(std::move(m_previous)); }

    ScriptedMessageBoxes(const ScriptedMessageBoxes&) = delete;
    ScriptedMessageBoxes& operator=(const ScriptedMessageBoxes&) = delete;

    int answer;
    std::vector<MessageBoxRequest> shown;

private:
    MessageBoxPresenter m_previous;
};
