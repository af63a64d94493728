#include "tests/fuzz/FuzzSupport.h"

#include <SimpleIni.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {

class ScratchFolder {
public:
    ScratchFolder()
    {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/kalmoria-fuzz-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        m_path = pattern + "/";
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

} // namespace

void FuzzFailure(const char* condition, const char* file, int line, const std::string& detail)
{
    std::fprintf(stderr, "\n%s:%d: broken invariant: %s\n  %s\n", file, line, condition, detail.c_str());
    std::fflush(stderr);
    std::abort();
}

const std::string& FuzzScratchFolder()
{
    static const ScratchFolder folder;
    return folder.path();
}

void WriteFuzzFile(const std::string& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::abort();
    }
}

std::string ReadFuzzFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Printable(std::string_view bytes)
{
    std::string out;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7F && c != '\\') {
            out += c;
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", u);
            out += hex;
        }
    }
    return out;
}

std::string FirstChangedEntry(const std::string& before, const std::string& after,
                              const std::function<bool(const char*, const char*)>& skip)
{
    CSimpleIniA old(false, false, false);
    CSimpleIniA now(false, false, false);
    if (old.LoadData(before.data(), before.size()) < 0 || now.LoadData(after.data(), after.size()) < 0)
        return "(out of memory)";
    return FirstChangedEntry(old, now, skip);
}

std::string FirstChangedEntry(const CSimpleIniA& old, const CSimpleIniA& now,
                              const std::function<bool(const char*, const char*)>& skip)
{
    CSimpleIniA::TNamesDepend sections;
    old.GetAllSections(sections);
    for (const auto& s : sections) {
        CSimpleIniA::TNamesDepend keys;
        old.GetAllKeys(s.pItem, keys);
        for (const auto& k : keys) {
            if (skip(s.pItem, k.pItem))
                continue;
            const char* kept = now.GetValue(s.pItem, k.pItem, nullptr);
            if (kept == nullptr || std::string_view(kept) != old.GetValue(s.pItem, k.pItem, ""))
                return "[" + Printable(s.pItem) + "] " + Printable(k.pItem);
        }
    }
    return {};
}

std::string FuzzReader::bytes(std::size_t count)
{
    const std::size_t n = std::min(count, m_size - std::min(m_pos, m_size));
    std::string out(reinterpret_cast<const char*>(m_data) + m_pos, n);
    m_pos += n;
    return out;
}
