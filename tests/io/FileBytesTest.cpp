#include "io/FileBytes.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::size_t filesIn(const TempDir& folder)
{
    const std::filesystem::directory_iterator entries(folder.path());
    return static_cast<std::size_t>(std::distance(begin(entries), end(entries)));
}

} // namespace

TEST(FileBytes, ANameAsLongAsTheSystemAllowsIsSavedAndLeavesNoTemporaryFile)
{
    const TempDir folder;
    const std::string name = std::string(250, 'a') + ".ini"; // 254 bytes
    std::string reason;
    EXPECT_TRUE(ReplaceFileAtomically(folder.file(name), "new", &reason)) << reason;
    EXPECT_TRUE(ReplaceFileAtomically(folder.file(name), "newer", &reason)) << reason;
    EXPECT_EQ(folder.read(name), "newer");
    EXPECT_EQ(CreateFileExclusively(folder.file("b" + name.substr(1)), "created", &reason), FileCreation::Created)
        << reason;
    EXPECT_EQ(filesIn(folder), 2u);
}

TEST(FileBytes, AnExclusiveCreationLeavesAnExistingFileAsItWas)
{
    const TempDir folder;
    EXPECT_EQ(CreateFileExclusively(folder.file("snapshot.ini"), "first"), FileCreation::Created);
    EXPECT_EQ(CreateFileExclusively(folder.file("snapshot.ini"), "second"), FileCreation::Taken);
    EXPECT_EQ(folder.read("snapshot.ini"), "first");
    EXPECT_EQ(filesIn(folder), 1u);

    std::string reason;
    EXPECT_EQ(CreateFileExclusively(folder.file("missing/snapshot.ini"), "", &reason), FileCreation::Failed);
    EXPECT_EQ(reason, "No such file or directory");
}
