#pragma once

#include "tests/common/TempDir.h"

#include <QByteArray>

#include <string>

// Points an XDG folder variable at a scratch folder for as long as it lives,
// then puts back what was there before.
class ScopedXdgFolder {
public:
    ScopedXdgFolder(const char* variable, const std::string& folder)
        : m_variable(variable)
        , m_previous(qgetenv(variable))
        , m_hadPrevious(qEnvironmentVariableIsSet(variable))
    {
        qputenv(variable, QByteArray::fromStdString(folder));
    }
    ~ScopedXdgFolder()
    {
        if (m_hadPrevious)
            qputenv(m_variable, m_previous);
        else
            qunsetenv(m_variable);
    }
    ScopedXdgFolder(const ScopedXdgFolder&) = delete;
    ScopedXdgFolder& operator=(const ScopedXdgFolder&) = delete;

private:
    const char* m_variable;
    QByteArray m_previous;
    bool m_hadPrevious;
};

// Points XDG_CONFIG_HOME, and with it Kalmoria.ini, and XDG_DATA_HOME, and
// with it the snapshots of the stations, at a scratch folder for as long as
// it lives.
class ScopedConfigHome {
public:
    ScopedConfigHome() = default;
    ScopedConfigHome(const ScopedConfigHome&) = delete;
    ScopedConfigHome& operator=(const ScopedConfigHome&) = delete;

    void writeSettings(const std::string& ini) const { m_folder.write("Kalmoria.ini", ini); }
    std::string settings() const { return m_folder.read("Kalmoria.ini"); }
    std::string settingsPath() const { return m_folder.file("Kalmoria.ini"); }
    std::string dataHome() const { return m_folder.file("data"); }

private:
    TempDir m_folder;
    ScopedXdgFolder m_config{"XDG_CONFIG_HOME", m_folder.path()};
    ScopedXdgFolder m_data{"XDG_DATA_HOME", m_folder.file("data")};
};
