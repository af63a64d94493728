#include "tests/common/TempDir.h"

#include <filesystem>
#include <fstream>
#include <iterator>

TempDir::TempDir() = default;

std::string TempDir::path() const
{
    return m_dir.path().toStdString();
}

std::string TempDir::file(const std::string& name) const
{
    return path() + "/" + name;
}

void TempDir::write(const std::string& name, const std::string& bytes) const
{
    std::ofstream out(file(name), std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string TempDir::read(const std::string& name) const
{
    std::ifstream in(file(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool TempDir::exists(const std::string& name) const
{
    return std::filesystem::exists(file(name));
}
