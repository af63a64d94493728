#pragma once

#include "app/FileNameChooser.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

// Stands in for the user at every file dialog while it lives: chooses `answer`
// (nothing: cancels) and remembers what was asked.
class ScriptedFileNames {
public:
    explicit ScriptedFileNames(std::optional<std::string> answer = std::nullopt)
        : answer(std::move(answer))
    {
        m_previous = SetFileNameChooser([this](const FileNameRequest& request) {
            asked.push_back(request);
            return this->answer;
        });
    }
    ~ScriptedFileNames() { SetFileNameChooser(std::move(m_previous)); }

    ScriptedFileNames(const ScriptedFileNames&) = delete;
    ScriptedFileNames& operator=(const ScriptedFileNames&) = delete;

    std::optional<std::string> answer;
    std::vector<FileNameRequest> asked;

private:
    FileNameChooser m_previous;
};
