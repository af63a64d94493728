// The settings file editor: a file of any bytes, one value written into it.
// A write that reports success reads back as written and leaves every other
// entry of the file as it was; a write that fails leaves the file untouched.
//
// Input: flags (bit 0: the file exists), the lengths of section, key and
// value (one byte each, modulo 48), those three names, then the file's bytes.

#include "tests/fuzz/FuzzSupport.h"

#include "io/IniLines.h"
#include "io/ProfileFile.h"

#include <SimpleIni.h>

#include <algorithm>
#include <filesystem>

namespace {

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(" \t") - first + 1);
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
    const std::string changed = FirstChangedEntry(before, after, [&](const char* s, const char* k) {
        return SameIniName(s, section) && SameIniName(k, key);
    });
    FUZZ_CHECK(changed.empty(), what + " changed " + changed);
    CSimpleIniA old(false, false, false);
    CSimpleIniA now(false, false, false);
    old.LoadData(before.data(), before.size());
    now.LoadData(after.data(), after.size());
    FUZZ_CHECK(now.GetSectionSize(section.c_str()) <= std::max(old.GetSectionSize(section.c_str()), 0) + 1,
               what + " added more than one entry");
    return 0;
}
