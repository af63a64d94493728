#pragma once

#include <QTemporaryDir>

#include <string>

// A scratch folder that lives as long as the test, with byte-exact file helpers:
// the program's files are Windows-1252 bytes, so tests read and write bytes.
class TempDir {
public:
    TempDir();

    std::string path() const;                        // without trailing slash
    std::string file(const std::string& name) const; // path + "/" + name
    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const; // empty when missing
    bool exists(const std::string& name) const;

private:
    QTemporaryDir m_dir;
};
