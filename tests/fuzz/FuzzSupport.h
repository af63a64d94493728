#pragma once

// What every fuzz target shares: a broken invariant ends the run with a
// message (libFuzzer then keeps the input as a crash), and a scratch folder
// for the targets that read real files.

#include <SimpleIni.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

[[noreturn]] void FuzzFailure(const char* condition, const char* file, int line, const std::string& detail);

#define FUZZ_CHECK(condition, detail)                                  \
    do {                                                               \
        if (!(condition))                                              \
            FuzzFailure(#condition, __FILE__, __LINE__, (detail));     \
    } while (false)

// A private folder ("/" at the end) that lives as long as the fuzzing process.
const std::string& FuzzScratchFolder();

// Writes `bytes` to `path`, replacing it; aborts when that fails, because the
// input would not have been tried.
void WriteFuzzFile(const std::string& path, std::string_view bytes);
std::string ReadFuzzFile(const std::string& path);

// Bytes as printable text for messages: others as \xNN.
std::string Printable(std::string_view bytes);

// The first entry of the INI text `before` that `after` has lost or holds
// with another value, as "[section] key" for a message; empty when there is
// none. Entries for which `skip(section, key)` holds are not compared. Both
// are read as the program reads its files.
std::string FirstChangedEntry(const std::string& before, const std::string& after,
                              const std::function<bool(const char*, const char*)>& skip);
// The same for texts already read, by a reader of the caller's choice.
std::string FirstChangedEntry(const CSimpleIniA& before, const CSimpleIniA& after,
                              const std::function<bool(const char*, const char*)>& skip);

// Reads an input front to back in the fields a target defines; past the end
// every field reads as zero or empty.
class FuzzReader {
public:
    FuzzReader(const uint8_t* data, std::size_t size)
        : m_data(data)
        , m_size(size)
    {
    }
    uint8_t byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    uint16_t word() { return static_cast<uint16_t>(byte() << 8 | byte()); }
    std::string bytes(std::size_t count);
    std::string rest() { return bytes(m_size - m_pos); }
    bool atEnd() const { return m_pos >= m_size; }

private:
    const uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};
