#include "platform/DurableFile.h"
#include "tests/util/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <utility>

namespace durmivela {
namespace {

using testing::TempDir;

TEST(DurableFile, ReplacesTheWholeFileAndLeavesNoTemporary) {
    TempDir dir;
    dir.write("a.txt", "old content that is longer");
    ASSERT_TRUE(writeFileDurably(dir.path() / "a.txt", "new").ok);
    EXPECT_EQ(dir.read("a.txt"), "new");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "a.txt.tmp"));
    EXPECT_FALSE(writeFileDurably(dir.path() / "no" / "such" / "b.txt", "x").ok);
}

bool flushFails(std::FILE*) {
    errno = ENOSPC;
    return false;
}
void renameFails(const std::filesystem::path&, const std::filesystem::path&, std::error_code& error) {
    error.assign(EACCES, std::generic_category());
}

// The old file stays whole, no temporary file is left and the reason is the system's.
TEST(DurableFile, AFailedFlushOrRenameKeepsTheOldFileAndGivesTheReason) {
    const std::pair<DurableWriteSteps, int> rows[] = {{{flushFails, kSystemWriteSteps.replace}, ENOSPC},
                                                      {{kSystemWriteSteps.flushToDisk, renameFails}, EACCES}};
    for (const auto& [steps, error] : rows) {
        TempDir dir;
        dir.write("a.txt", "keep me");
        const WriteResult result = writeFileDurably(dir.path() / "a.txt", "lost", steps);
        EXPECT_FALSE(result.ok) << error;
        EXPECT_EQ(result.reason, std::generic_category().message(error));
        EXPECT_EQ(dir.read("a.txt"), "keep me") << error;
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "a.txt.tmp")) << error;
    }
}

}  // namespace
}  // namespace durmivela
