// The settings file editor: a file of any bytes, one value written into it.
// A write that reports success reads back as written and leaves every other
// entry of the file as it was; a write that fails leaves the file untouched.
//
// Input: flags (bit 0: the file exists), the lengths of section, key and
// value (one byte each, modulo 48), those three names, then the file's bytes.

#include "tests/fuzz/FuzzSupport.h"

#include "io/ProfileFile.h"

#include <SimpleIni.h>

#include <algorithm>
#include <filesystem>
#include <memory>

namespace {

bool sameName(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
               return lower(x) == lower(y);
           });
}

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::unique_ptr<CSimpleIniA> parse(const std::string& bytes)
{
    auto ini = std::make_unique<CSimpleIniA>(false, false, false);
    if (ini->LoadData(bytes.data(), bytes.size()) < 0)
        ini->Reset();
    return ini;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FuzzReader in(data, size);
    const bool exists = (in.byte() & 1) != 0;
    const std::size_t sectionLength = in.byte() % 48;
    const std::size_t keyLength = in.byte() % 48;
    const std::size_t valueLength = in.byte() % 48;
    const std::string section = in.bytes(sectionLength);
    const std::string key = in.bytes(keyLength);
    const std::string value = in.bytes(valueLength);
    const std::string content = in.rest();
    const std::string before = exists ? content : std::string();

    const std::string path = FuzzScratchFolder() + "Kalmoria.ini";
    std::filesystem::remove(path);
    if (exists)
        WriteFuzzFile(path, content);
    const std::string what = "[" + Printable(section) + "] " + Printable(key) + "=" + Printable(value);

    const bool written = WriteProfileString(path, section, key, value);
    const std::string after = std::filesystem::exists(path) ? ReadFuzzFile(path) : std::string();
    if (!written) {
        FUZZ_CHECK(std::filesystem::exists(path) == exists && after == before, "failed write changed the file: " + what);
        return 0;
    }
    const std::string readBack = ReadProfileString(path, section, key, "\x01");
    FUZZ_CHECK(readBack == trimmed(value), what + " reads back as " + Printable(readBack));

    // Every other entry keeps its value, and none is added but the one written.
    const auto old = parse(before);
    const auto now = parse(after);
    CSimpleIniA::TNamesDepend sections;
    old->GetAllSections(sections);
    for (const auto& s : sections) {
        CSimpleIniA::TNamesDepend keys;
        old->GetAllKeys(s.pItem, keys);
        for (const auto& k : keys) {
            if (sameName(s.pItem, section) && sameName(k.pItem, key))
                continue;
            const char* kept = now->GetValue(s.pItem, k.pItem, nullptr);
            FUZZ_CHECK(kept != nullptr && std::string(kept) == old->GetValue(s.pItem, k.pItem, ""),
                       what + " changed [" + Printable(s.pItem) + "] " + Printable(k.pItem));
        }
    }
    FUZZ_CHECK(now->GetSectionSize(section.c_str()) <= old->GetSectionSize(section.c_str()) + 1
                   || old->GetSectionSize(section.c_str()) < 0,
               what + " added more than one entry");
    return 0;
}
