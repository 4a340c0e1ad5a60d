#include "platform/DurableFile.h"
#include "tests/util/TempDir.h"

#include <gtest/gtest.h>

namespace durmivela {
namespace {

using testing::TempDir;

TEST(DurableFile, ReplacesTheWholeFileAndLeavesNoTemporary) {
    TempDir dir;
    dir.write("a.txt", "old content that is longer");
    ASSERT_TRUE(writeFileDurably(dir.path() / "a.txt", "new").ok);
    EXPECT_EQ(dir.read("a.txt"), "new");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "a.txt.tmp"));
}

TEST(DurableFile, AFailedWriteKeepsTheOldFileAndGivesTheReason) {
    TempDir dir;
    dir.write("a.txt", "keep me");
    // A directory where the temporary file must go makes the write fail even as root.
    std::filesystem::create_directory(dir.path() / "a.txt.tmp");
    const WriteResult result = writeFileDurably(dir.path() / "a.txt", "lost");
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.reason.empty());
    EXPECT_EQ(dir.read("a.txt"), "keep me");

    const WriteResult missingFolder = writeFileDurably(dir.path() / "no" / "such" / "b.txt", "x");
    EXPECT_FALSE(missingFolder.ok);
}

}  // namespace
}  // namespace durmivela
