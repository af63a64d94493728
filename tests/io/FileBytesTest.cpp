#include "io/FileBytes.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(FileBytes, ANameAsLongAsTheSystemAllowsIsSavedAndACreationReplacesNoFile)
{
    const TempDir folder;
    const std::string name = std::string(250, 'a') + ".ini"; // 254 bytes
    std::string reason;
    EXPECT_TRUE(ReplaceFileAtomically(folder.file(name), "new", &reason)) << reason;
    EXPECT_TRUE(ReplaceFileAtomically(folder.file(name), "newer", &reason)) << reason;
    EXPECT_EQ(CreateFileExclusively(folder.file(name), "created"), FileCreation::Taken);
    EXPECT_EQ(folder.read(name), "newer");
    const std::string other = "b" + name.substr(1);
    EXPECT_EQ(CreateFileExclusively(folder.file(other), "created", &reason), FileCreation::Created) << reason;
    EXPECT_EQ(folder.read(other), "created");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2) << "a temporary file stayed";
}

TEST(FileBytes, AMoveGivesNoNameToALinkPutWhereTheFileWas)
{
    const TempDir folder;
    folder.write("victim", "keep");
    std::filesystem::create_symlink(folder.file("victim"), folder.file("moved"));
    std::string reason;
    EXPECT_EQ(MoveFileExclusively(folder.file("moved"), folder.file("placed"), &reason), FileCreation::Failed);
    EXPECT_FALSE(reason.empty());
    EXPECT_FALSE(std::filesystem::is_symlink(folder.file("placed")));
}
