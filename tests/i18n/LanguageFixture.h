#pragma once

// A program folder and a settings folder of its own for every test, language
// files written byte for byte, and message boxes answered by script.

#include "i18n/LanguageTexts.h"
#include "i18n/MessageBoxEx.h"
#include "tests/common/TempDir.h"

#include <QByteArray>
#include <gtest/gtest.h>

#include <string>
#include <vector>

// The head of a language file; `body` follows it (CR LF line ends throughout).
inline std::string languageFile(const std::string& displayName, const std::string& version,
                                const std::string& body = {})
{
    return "[GLOBAL]\r\nVERSION=" + version + "\r\nSPRACHE=" + displayName + "\r\n" + body;
}

class LanguageTest : public testing::Test {
protected:
    static constexpr int kStamp = 20150610;

    void SetUp() override
    {
        m_savedConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.path()));
        m_savedPresenter = SetMessageBoxPresenter([this](const MessageBoxRequest& request) {
            boxes.push_back(request);
            return answer;
        });
        ResetLanguageTexts(program.path(), "Kalmoria");
    }

    void TearDown() override
    {
        SetMessageBoxPresenter(m_savedPresenter);
        qputenv("XDG_CONFIG_HOME", m_savedConfig);
    }

    // Writes the file and starts over, so the default file is read anew.
    void writeAndReset(const std::string& name, const std::string& bytes)
    {
        program.write(name, bytes);
        ResetLanguageTexts(program.path(), "Kalmoria");
    }

    std::string settings() const { return config.read("Kalmoria.ini"); }

    TempDir program;
    TempDir config;
    std::vector<MessageBoxRequest> boxes;
    int answer = idOk;

private:
    QByteArray m_savedConfig;
    MessageBoxPresenter m_savedPresenter;
};
