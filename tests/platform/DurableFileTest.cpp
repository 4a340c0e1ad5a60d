#include "platform/DurableFile.h"
#include "tests/util/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <utility>

#ifdef _WIN32
#include "platform/win32/WinText.h"

#include <windows.h>

#include <thread>
#endif

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

#ifdef _WIN32
// A viewer showing the capture, or a scanner reading the new log, holds the
// target open for a moment: the write waits for it. One that never lets go
// fails with the system's own words, and the old file stays.
TEST(DurableFile, OnWindowsWaitsForAProgramHoldingTheTargetAndElseGivesTheSystemsReason) {
    TempDir dir;
    dir.write("Captura.bmp", "old");
    const std::filesystem::path target = dir.path() / "Captura.bmp";
    const auto holdOpen = [&] {
        return CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    };

    HANDLE viewer = holdOpen();
    ASSERT_NE(viewer, INVALID_HANDLE_VALUE);
    std::thread letGo([viewer] {
        Sleep(300);
        CloseHandle(viewer);
    });
    const WriteResult waited = writeFileDurably(target, "new");
    letGo.join();
    EXPECT_TRUE(waited.ok) << waited.reason;
    EXPECT_EQ(dir.read("Captura.bmp"), "new");

    HANDLE stubborn = holdOpen();
    const WriteResult refused = writeFileDurably(target, "lost");
    CloseHandle(stubborn);
    EXPECT_FALSE(refused.ok);
    EXPECT_TRUE(refused.reason == win32::systemErrorText(ERROR_SHARING_VIOLATION) ||
                refused.reason == win32::systemErrorText(ERROR_ACCESS_DENIED))
        << refused.reason;
    EXPECT_EQ(dir.read("Captura.bmp"), "new");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "Captura.bmp.tmp"));
}
#endif

}  // namespace
}  // namespace durmivela
