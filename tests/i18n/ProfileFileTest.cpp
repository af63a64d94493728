#include "i18n/ProfileFile.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(SettingsFile, RewriteKeepsEveryOtherSectionAndKeyInPlace)
{
    TempDir folder;
    folder.write("Kalmoria.ini", "[Schnittstellen]\r\nCOM3=/dev/ttyUSB0\r\n"
                                 "[kalmoria]\n  sprache = KalmoriaDE.TXT \nFenster=1\n"
                                 "[Andere]\r\nA=x=y\r\n");
    const std::string path = folder.file("Kalmoria.ini");

    EXPECT_EQ(ReadProfileString(path, "KALMORIA", "Sprache", "-"), "KalmoriaDE.TXT");
    ASSERT_TRUE(WriteProfileString(path, "Kalmoria", "Sprache", "KalmoriaEN.TXT"));
    EXPECT_EQ(folder.read("Kalmoria.ini"), "[Schnittstellen]\r\nCOM3=/dev/ttyUSB0\r\n\r\n"
                                           "[kalmoria]\r\nsprache=KalmoriaEN.TXT\r\nFenster=1\r\n\r\n"
                                           "[Andere]\r\nA=x=y\r\n\r\n");
    ASSERT_TRUE(WriteProfileString(path, "Neu", "Schluessel", "Wert \xFC"));
    EXPECT_EQ(ReadProfileString(path, "neu", "schluessel", "-"), "Wert \xFC");
    EXPECT_EQ(ReadProfileString(path, "Schnittstellen", "COM3", "-"), "/dev/ttyUSB0");

    // Only the file itself is left behind, no temporary copy.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(SettingsFile, MissingFileAndFolderAreCreatedAndLineBreaksRefused)
{
    TempDir folder;
    const std::string path = folder.file("config/Kalmoria.ini");
    EXPECT_EQ(ReadProfileString(path, "Kalmoria", "Sprache", "none"), "none");
    ASSERT_TRUE(WriteProfileString(path, "Kalmoria", "Sprache", ""));
    EXPECT_EQ(folder.read("config/Kalmoria.ini"), "[Kalmoria]\r\nSprache=\r\n\r\n");

    EXPECT_FALSE(WriteProfileString(path, "Kalmoria", "Sprache", "a\r\n[Evil]\r\nx=1"));
    EXPECT_EQ(folder.read("config/Kalmoria.ini"), "[Kalmoria]\r\nSprache=\r\n\r\n");
}
