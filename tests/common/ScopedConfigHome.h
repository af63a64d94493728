#pragma once

#include "tests/common/TempDir.h"

#include <QByteArray>

#include <string>

// Points XDG_CONFIG_HOME, and with it Kalmoria.ini, at a scratch folder for as
// long as it lives, then puts back what was there before.
class ScopedConfigHome {
public:
    ScopedConfigHome()
        : m_previous(qgetenv("XDG_CONFIG_HOME"))
        , m_hadPrevious(qEnvironmentVariableIsSet("XDG_CONFIG_HOME"))
    {
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(m_folder.path()));
    }
    ~ScopedConfigHome()
    {
        if (m_hadPrevious)
            qputenv("XDG_CONFIG_HOME", m_previous);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }
    ScopedConfigHome(const ScopedConfigHome&) = delete;
    ScopedConfigHome& operator=(const ScopedConfigHome&) = delete;

    void writeSettings(const std::string& ini) const { m_folder.write("Kalmoria.ini", ini); }
    std::string settings() const { return m_folder.read("Kalmoria.ini"); }
    std::string settingsPath() const { return m_folder.file("Kalmoria.ini"); }

private:
    TempDir m_folder;
    QByteArray m_previous;
    bool m_hadPrevious;
};
