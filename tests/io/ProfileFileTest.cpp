#include "io/IniBytes.h"
#include "io/ProfileFile.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

using namespace std::string_literals;

namespace {

// The text with its first `from` replaced by `to`.
std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

} // namespace

TEST(SettingsFile, WritingChangesOnlyTheLineOfTheValue)
{
    TempDir folder;
    const std::string handMade = "; Von Hand gepflegt\r\n"
                                 "[Schnittstellen]\r\n"
                                 "; USB-Adapter im Koffer\r\n"
                                 "COM3=/dev/ttyUSB0\r\n"
                                 "COM4\r\n"
                                 "\r\n"
                                 "[ kalmoria ]\r\n"
                                 "  sprache = KalmoriaDE.TXT \r\n"
                                 "Fenster=1\r\n"
                                 "SPRACHE = KalmoriaXX.TXT\r\n"
                                 "\r\n"
                                 "; Rest\r\n"
                                 "[Andere]\r\n"
                                 "A=x=y\r\n";
    folder.write("Kalmoria.ini", handMade);
    const std::string path = folder.file("Kalmoria.ini");

    // Reading takes the last of two equal keys, so writing replaces that one.
    EXPECT_EQ(ReadProfileString(path, "KALMORIA", "Sprache", "-"), "KalmoriaXX.TXT");
    ASSERT_TRUE(WriteProfileString(path, "Kalmoria", "Sprache", "KalmoriaEN.TXT"));
    std::string expected = replaced(handMade, "SPRACHE = KalmoriaXX.TXT", "SPRACHE=KalmoriaEN.TXT");
    EXPECT_EQ(folder.read("Kalmoria.ini"), expected);
    EXPECT_EQ(ReadProfileString(path, "Kalmoria", "Sprache", "-"), "KalmoriaEN.TXT");

    // A new key goes behind the section's last key (a key without "=" is
    // none), so the comment above the next section stays where it is.
    ASSERT_TRUE(WriteProfileString(path, "schnittstellen", "COM5", "/dev/ttyS0"));
    expected = replaced(expected, "COM3=/dev/ttyUSB0\r\n", "COM3=/dev/ttyUSB0\r\nCOM5=/dev/ttyS0\r\n");
    EXPECT_EQ(folder.read("Kalmoria.ini"), expected);

    ASSERT_TRUE(WriteProfileString(path, "Neu", "Schluessel", "Wert \xFC"));
    expected += "\r\n[Neu]\r\nSchluessel=Wert \xFC\r\n";
    EXPECT_EQ(folder.read("Kalmoria.ini"), expected);
    EXPECT_EQ(ReadProfileString(path, "neu", "schluessel", "-"), "Wert \xFC");

    // Only the file itself is left behind, no temporary copy.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(SettingsFile, LineEndsOfTheFileAreKept)
{
    TempDir folder;
    const std::string path = folder.file("Kalmoria.ini");
    folder.write("Kalmoria.ini", "[Leer]\n[Kalmoria]\nSprache=KalmoriaDE.TXT\nFenster=1");

    ASSERT_TRUE(WriteProfileString(path, "Kalmoria", "Sprache", "KalmoriaEN.TXT"));
    EXPECT_EQ(folder.read("Kalmoria.ini"), "[Leer]\n[Kalmoria]\nSprache=KalmoriaEN.TXT\nFenster=1");
    ASSERT_TRUE(WriteProfileString(path, "Kalmoria", "Breite", "800"));
    ASSERT_TRUE(WriteProfileString(path, "Leer", "x", "1"));
    EXPECT_EQ(folder.read("Kalmoria.ini"),
              "[Leer]\nx=1\r\n[Kalmoria]\nSprache=KalmoriaEN.TXT\nFenster=1\r\nBreite=800\r\n");

    // A file cut short by a power failure ends in zero bytes, where reading
    // stops: the new section must stand before them to be read.
    folder.write("Kalmoria.ini", "[Schnittstellen]\r\nCOM1=/dev/ttyS0\r\n\0\0\0"s);
    ASSERT_TRUE(WriteProfileString(path, "Kalmoria", "Sprache", "KalmoriaEN.TXT"));
    EXPECT_EQ(folder.read("Kalmoria.ini"),
              "[Schnittstellen]\r\nCOM1=/dev/ttyS0\r\n\r\n[Kalmoria]\r\nSprache=KalmoriaEN.TXT\r\n\0\0\0"s);
}

TEST(SettingsFile, SameValueLeavesTheFileUntouched)
{
    TempDir folder;
    const std::string path = folder.file("Kalmoria.ini");
    const std::string bytes = "[kalmoria]\n  Sprache = KalmoriaEN.TXT \n; mein Kommentar\n";
    folder.write("Kalmoria.ini", bytes);
    const auto yesterday = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24);
    std::filesystem::last_write_time(path, yesterday);

    ASSERT_TRUE(WriteProfileString(path, "Kalmoria", "SPRACHE", "KalmoriaEN.TXT"));
    EXPECT_EQ(folder.read("Kalmoria.ini"), bytes);
    EXPECT_EQ(std::filesystem::last_write_time(path), yesterday);
}

TEST(SettingsFile, MissingFileAndFolderAreCreatedAndUnsafeWritesRefused)
{
    TempDir folder;
    const std::string path = folder.file("config/Kalmoria.ini");
    EXPECT_EQ(ReadProfileString(path, "Kalmoria", "Sprache", "none"), "none");
    ASSERT_TRUE(WriteProfileString(path, "Kalmoria", "Sprache", ""));
    const std::string created = "[Kalmoria]\r\nSprache=\r\n";
    EXPECT_EQ(folder.read("config/Kalmoria.ini"), created);

    EXPECT_FALSE(WriteProfileString(path, "Kalmoria", "Sprache", "a\r\n[Evil]\r\nx=1"));
    // Names that would be read back as another section or key.
    EXPECT_FALSE(WriteProfileString(path, "Kalmoria]x", "Sprache", "a"));
    EXPECT_FALSE(WriteProfileString(path, "Kalmoria", "Sprache=x", "a"));
    EXPECT_EQ(folder.read("config/Kalmoria.ini"), created);

    // Reading stops after kMaxIniFileBytes: rewriting from that part would
    // cut off the rest of the user's file.
    const std::string large = created + std::string(kMaxIniFileBytes, ';');
    folder.write("config/Kalmoria.ini", large);
    EXPECT_FALSE(WriteProfileString(path, "Kalmoria", "Sprache", "KalmoriaEN.TXT"));
    EXPECT_EQ(folder.read("config/Kalmoria.ini").size(), large.size());

    // Not a file at all.
    EXPECT_FALSE(WriteProfileString(folder.path(), "Kalmoria", "Sprache", "KalmoriaEN.TXT"));
}
