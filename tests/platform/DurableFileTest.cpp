#include "platform/DurableFile.h"
#include "platform/DurableFileSystem.h"
#include "tests/util/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <set>
#include <thread>
#include <vector>

#ifdef _WIN32
#include "platform/win32/WinText.h"

#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace durmivela {
namespace {

using testing::TempDir;
using namespace std::chrono_literals;

// The names in a folder: a write must leave the target and nothing else.
std::set<std::string> namesIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

// What happened, in order, through the seam.
std::vector<std::string>& journal() {
    static std::vector<std::string> steps;
    return steps;
}
bool flushRecorded(std::FILE* file) {
    journal().push_back("flush");
    return kSystemWriteSteps.flushToDisk(file);
}
void renameRecorded(const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& error) {
    journal().push_back("replace");
    kSystemWriteSteps.replace(from, to, error);
}
bool syncRecorded(const std::filesystem::path& folder) {
    journal().push_back("sync " + folder.string());
    return kSystemWriteSteps.syncFolder(folder);
}

// The whole file is replaced and the folder synced after the rename, so that
// the new name is on the disk before a forced shutdown; a failed step keeps
// the old file whole, leaves no temporary and gives the system's reason.
TEST(DurableFile, SyncsTheFolderAfterTheRenameAndAFailedStepKeepsTheOldFile) {
    struct Row { DurableWriteSteps steps; int error; std::vector<std::string> journal; };
    TempDir dir;
    const std::string sync = "sync " + dir.path().string();
    const auto flushFails = +[](std::FILE*) {
        journal().push_back("flush");
        errno = ENOSPC;
        return false;
    };
    const auto renameFails = +[](const std::filesystem::path&, const std::filesystem::path&, std::error_code& error) {
        journal().push_back("replace");
        error.assign(EACCES, std::generic_category());
    };
    const Row rows[] = {
        {{flushRecorded, renameRecorded, syncRecorded}, 0, {"flush", "replace", sync}},
        {{flushFails, renameRecorded, syncRecorded}, ENOSPC, {"flush"}},
        {{flushRecorded, renameFails, syncRecorded}, EACCES, {"flush", "replace"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.error);
        dir.write("a.txt", "old content that is longer");
        journal().clear();
        const WriteResult result = writeFileDurably(dir.path() / "a.txt", "new", row.steps);
        EXPECT_EQ(journal(), row.journal);
        EXPECT_EQ(result.ok, row.error == 0);
        EXPECT_EQ(result.reason, row.error ? std::generic_category().message(row.error) : "");
        EXPECT_EQ(dir.read("a.txt"), row.error ? "old content that is longer" : "new");
        EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"a.txt"});
    }
    EXPECT_TRUE(kSystemWriteSteps.syncFolder(dir.path()));
}

// A file the user made read-only is refused, as Windows refuses it, and stays
// as it was. Elsewhere the new file keeps the old one's permissions (an
// updater stays executable).
TEST(DurableFile, KeepsThePermissionsAndRefusesAReadOnlyFile) {
    namespace fs = std::filesystem;
    TempDir dir;
    const fs::path target = dir.path() / "Durmivela.ini";
    dir.write("Durmivela.ini", "keep me");
    fs::permissions(target, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const WriteResult refused = writeFileDurably(target, "lost");
    EXPECT_FALSE(refused.ok);
#ifdef _WIN32
    EXPECT_EQ(refused.reason, win32::systemErrorText(ERROR_ACCESS_DENIED));
#else
    EXPECT_EQ(refused.reason, std::generic_category().message(EACCES));
#endif
    EXPECT_EQ(dir.read("Durmivela.ini"), "keep me");
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"Durmivela.ini"});
    fs::permissions(target, fs::perms::owner_write, fs::perm_options::add);
#ifndef _WIN32
    for (const fs::perms mode : {fs::perms(0640), fs::perms(0755)}) {
        fs::permissions(target, mode);
        ASSERT_TRUE(writeFileDurably(target, "new").ok);
        EXPECT_EQ(fs::status(target).permissions(), mode);
    }
#endif
}

// A temporary file is always a new one: nothing found under its name, be it a
// file, a link or a pipe (or the fixed name an earlier writer used), is
// opened, truncated or waited on; nor does the reader wait on a pipe.
TEST(DurableFile, TheTemporaryFileIsNeverAnExistingOneAndNoPipeIsWaitedOn) {
    TempDir dir;
    dir.write("victim", "untouched");
    dir.write("taken", "untouched");
    std::vector<std::filesystem::path> taken{dir.path() / "taken"};
#ifndef _WIN32
    std::filesystem::create_symlink(dir.path() / "victim", dir.path() / "link");
    std::filesystem::create_symlink(dir.path() / "nowhere", dir.path() / "dangling");
    ASSERT_EQ(::mkfifo((dir.path() / "pipe").c_str(), 0600), 0);
    for (const char* name : {"link", "dangling", "pipe"}) taken.push_back(dir.path() / name);
    ASSERT_EQ(::mkfifo((dir.path() / "Durmivela.ini.tmp").c_str(), 0600), 0);
    std::filesystem::create_symlink(dir.path() / "victim", dir.path() / "Captura.bmp.tmp");
#endif
    // Waiting on a pipe hangs the test until its time limit.
    for (const auto& path : taken) {
        std::error_code error;
        std::FILE* file = files::createNewFile(path, {}, error);
        EXPECT_FALSE(file) << path;
        if (file) std::fclose(file);
        EXPECT_EQ(error, std::errc::file_exists) << path;
    }
    std::string piped;
    EXPECT_FALSE(readWholeFile(dir.path() / "pipe", piped));
    EXPECT_TRUE(writeFileDurably(dir.path() / "Durmivela.ini", "ini").ok);
    EXPECT_TRUE(writeFileDurably(dir.path() / "Captura.bmp", "bmp").ok);
    EXPECT_EQ(dir.read("victim"), "untouched");
    EXPECT_EQ(dir.read("taken"), "untouched");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "nowhere"));
    EXPECT_EQ(dir.read("Durmivela.ini"), "ini");
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(dir.path() / "Captura.bmp")));

    // Only an ordinary file of at most the limit is read.
    std::string bytes;
    EXPECT_TRUE(readWholeFile(dir.path() / "victim", bytes, 9));
    EXPECT_EQ(bytes, "untouched");
    EXPECT_FALSE(readWholeFile(dir.path() / "victim", bytes, 8));
    EXPECT_FALSE(readWholeFile(dir.path(), bytes));
    EXPECT_FALSE(readWholeFile(dir.path() / "missing", bytes));
}

// A temporary file that a killed program left goes with the next write to the
// same file once it is an hour older; a write under way, other files' and the
// user's own files stay.
TEST(DurableFile, AWriteRemovesTheTemporariesAKilledWriteLeft) {
    TempDir dir;
    const auto now = std::filesystem::file_time_type::clock::now();
    const std::pair<const char*, bool> rows[] = {
        {".Captura.bmp.k3j9x0qa.tmp", false},  {".Captura.bmp.00000000.tmp", false},
        {".Captura.bmp.underway.tmp", true},   {".Durmivela.ini.k3j9x0qa.tmp", true},
        {".Captura.bmp.mine.tmp", true},       {"Captura.bmp.k3j9x0qa.tmp", true},
        {".Captura.bmp.k3j9-x0q.tmp", true},   {".Captura.bmp.k3j9x0qa.tmp.old", true},
    };
    for (const auto& [name, kept] : rows) {
        dir.write(name, "left");
        const bool underway = std::string_view(name).find("underway") != std::string_view::npos;
        std::filesystem::last_write_time(dir.path() / name, now - (underway ? 10min : 2h));
    }
    ASSERT_TRUE(writeFileDurably(dir.path() / "Captura.bmp", "BM").ok);
    for (const auto& [name, kept] : rows) EXPECT_EQ(std::filesystem::exists(dir.path() / name), kept) << name;
}

#ifdef _WIN32
// A viewer holding the capture open for a moment is waited for; one that never
// lets go fails with the system's own words, and the old file stays.
TEST(DurableFile, OnWindowsWaitsForAProgramHoldingTheTargetAndElseGivesTheSystemsReason) {
    TempDir dir;
    dir.write("Captura.bmp", "old");
    const std::filesystem::path target = dir.path() / "Captura.bmp";
    HANDLE viewer = CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::thread letGo([viewer] {
        Sleep(300);
        CloseHandle(viewer);
    });
    EXPECT_TRUE(writeFileDurably(target, "new").ok);
    letGo.join();
    HANDLE stubborn = CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    const WriteResult refused = writeFileDurably(target, "lost");
    CloseHandle(stubborn);
    EXPECT_TRUE(refused.reason == win32::systemErrorText(ERROR_SHARING_VIOLATION) ||
                refused.reason == win32::systemErrorText(ERROR_ACCESS_DENIED))
        << refused.reason;
    EXPECT_EQ(dir.read("Captura.bmp"), "new");
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"Captura.bmp"});
}
#endif

}  // namespace
}  // namespace durmivela
