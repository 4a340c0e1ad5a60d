#include "platform/qt/QtServices.h"
#include "tests/util/TempDir.h"

#include <gtest/gtest.h>

namespace durmivela::qt {
namespace {

// The user's files go beside a writable executable, else under XDG_DATA_HOME,
// else ~/.local/share; a copy unpacked by root into /opt still speaks its languages.
TEST(QtServices, TheProgramFoldersFollowWhoMayWriteAndWhatTheExecutablesFolderHolds) {
    testing::TempDir dir;
    const std::filesystem::path bin = dir.path() / "usr/bin", shared = dir.path() / "usr/share/durmivela",
                                copy = dir.path() / "opt/durmivela", inXdg = dir.path() / "xdg/durmivela";
    std::filesystem::create_directories(bin);
    std::filesystem::create_directories(copy / "Leng");
    dir.write("usr/bin/Leng", "");  // a file, not the folder
    const std::string xdg = (dir.path() / "xdg").string(), home = (dir.path() / "home").string();
    struct Row { std::filesystem::path exe; bool writable; const char *xdg, *home; std::filesystem::path user, data; };
    const Row rows[] = {
        {copy, true, xdg.c_str(), home.c_str(), copy, copy},
        {copy, false, xdg.c_str(), home.c_str(), inXdg, copy},
        {bin, true, xdg.c_str(), home.c_str(), bin, shared},
        {bin, false, "relative", home.c_str(), dir.path() / "home/.local/share/durmivela", shared},
        {bin, false, nullptr, "relative", bin, shared},  // no usable user's folder: it still runs
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(&row - rows);
        const auto folders = QtProgramInfo::decideFolders(row.exe, row.writable, row.xdg, row.home);
        EXPECT_EQ(folders.user, row.user);
        EXPECT_EQ(folders.data, row.data);
        EXPECT_TRUE(std::filesystem::is_directory(folders.user)) << folders.user;
    }
}

}  // namespace
}  // namespace durmivela::qt
