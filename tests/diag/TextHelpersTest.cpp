#include "diag/TextHelpers.h"

#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

TEST(TextHelpers, DecimalTextIsCutToTenCharacters)
{
    EXPECT_EQ(IntToText(0), "0");
    EXPECT_EQ(IntToText(-7), "-7");
    EXPECT_EQ(IntToText(INT32_MAX), "2147483647");
    EXPECT_EQ(IntToText(INT32_MIN), "-214748364");
}

TEST(TextHelpers, ZeroPaddingKeepsTheLastPlaceAndTheSign)
{
    EXPECT_EQ(IntToTextZero(7, 2), "07");
    EXPECT_EQ(IntToTextZero(0, 2), "00");
    EXPECT_EQ(IntToTextZero(100, 2), "100"); // a number wider than the field is not cut
    EXPECT_EQ(IntToTextZero(123, 2), "123");
    EXPECT_EQ(IntToTextZero(-5, 3), "0-5");
    EXPECT_EQ(IntToTextZero(-5, 2), "-5");
    EXPECT_EQ(IntToTextZero(5, 1), "5");
    EXPECT_EQ(IntToTextZero(42, 10), "0000000042");
    EXPECT_EQ(IntToTextZero(INT32_MIN, 4), "-214748364");
}

TEST(TextHelpers, ZeroPaddingWiderThanTenKeepsTheDigits)
{
    EXPECT_EQ(IntToTextZero(5, 12), "0000000005");
}

TEST(TextHelpers, HexTextsIgnoreHigherBitsAndUseUpperCase)
{
    EXPECT_EQ(NibbleToHex(0), "0");
    EXPECT_EQ(NibbleToHex(9), "9");
    EXPECT_EQ(NibbleToHex(10), "A");
    EXPECT_EQ(NibbleToHex(15), "F");

    EXPECT_EQ(ByteToHex2(0), "00");
    EXPECT_EQ(ByteToHex2(0x28), "28");
    EXPECT_EQ(ByteToHex2(0x1A5), "A5");
    EXPECT_EQ(ByteToHex2(0xFFFFFFFF), "FF");

    EXPECT_EQ(WordToHex4(0), "0000");
    EXPECT_EQ(WordToHex4(0x012C), "012C");
    EXPECT_EQ(WordToHex4(0x0900), "0900");
    EXPECT_EQ(WordToHex4(0xFFFF), "FFFF");

    EXPECT_EQ(IntToHex6(0), "000000");
    EXPECT_EQ(IntToHex6(0x12345678), "345678");
    EXPECT_EQ(IntToHex6(0xFFFFFFFF), "FFFFFF");
    EXPECT_EQ(IntToHex6(0xABCDE), "0ABCDE");
}

TEST(TextHelpers, HexDumpTreatsBytesAsUnsigned)
{
    EXPECT_EQ(HexDump(""), "");
    EXPECT_EQ(HexDump(std::string("\xE1\x00\x05", 3)), "E1 00 05 ");
    EXPECT_EQ(HexDump("\xFF"), "FF ");
}

TEST(TextHelpers, BoolTextIsAlwaysFiveCharacters)
{
    EXPECT_EQ(BoolText(true), "TRUE ");
    EXPECT_EQ(BoolText(false), "FALSE");
}

TEST(TextHelpers, FileProbeAcceptsOnlyReadableFiles)
{
    TempDir dir;
    dir.write("present", "");
    std::filesystem::create_directory(dir.file("folder"));

    EXPECT_TRUE(FileExistsIO(dir.file("present")));
    EXPECT_FALSE(FileExistsIO(dir.file("missing")));
    EXPECT_FALSE(FileExistsIO(dir.file("folder")));
    EXPECT_FALSE(FileExistsIO(""));
}

TEST(TextHelpers, FileProbeLeavesTheErrorStateAlone)
{
    TempDir dir;
    errno = EAGAIN;
    EXPECT_FALSE(FileExistsIO(dir.file("missing")));
    EXPECT_EQ(errno, EAGAIN);
}

TEST(TextHelpers, FileProbeDoesNotWaitOnAPipeWithoutWriter)
{
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);
    EXPECT_TRUE(FileExistsIO(dir.file("pipe")));
}

TEST(TextHelpers, FileProbeRejectsAFileLockedAgainstReading)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser reads every file";
    TempDir dir;
    dir.write("locked", "x");
    ASSERT_EQ(::chmod(dir.file("locked").c_str(), 0200), 0);
    EXPECT_FALSE(FileExistsIO(dir.file("locked")));
}
