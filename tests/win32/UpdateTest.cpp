// The update against the local test server (servidor_prueba.py, which
// update_server.sh runs around this test), with WinInet and real processes
// under Wine: real downloads, a real updater .exe and its command line.
#include "platform/DurableFile.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/WinInetHttp.h"
#include "platform/win32/WinText.h"
#include "tests/util/TempDir.h"
#include "update/mdlActualizar.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>

namespace durmivela {
namespace {

using namespace std::chrono_literals;
using testing::TempDir;

struct TitledMessages : MessageBoxes {
    std::vector<std::string> shown;
    void show(const std::string& text, const std::string& title, MessageIcon) override { shown.push_back(title + ": " + text); }
};

std::optional<std::string> content(const std::filesystem::path& file) {
    std::string bytes;
    return readWholeFile(file, bytes) ? std::optional(bytes) : std::nullopt;
}

// The test updater (TestUpdater.cpp) named: it reports the name after the last '#'.
std::string updater(const std::string& name) {
    static const std::string program = content(pathFromUtf8("Z:" DURMIVELA_TEST_UPDATER)).value_or("");
    return program + "#" + name;
}

class UpdateServer : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const char* port = std::getenv("DURMIVELA_TEST_PORT");
        const char* served = std::getenv("DURMIVELA_TEST_SERVED");
        ASSERT_TRUE(port && served) << "run through update_server.sh";
        port_ = port;
        served_ = pathFromUtf8(served);
        ASSERT_GT(updater("").size(), 1000u);
    }
    static std::string url(const std::string& path) { return "http://127.0.0.1:" + port_ + "/" + path; }
    static void serve(const std::string& name, const std::optional<std::string>& bytes) {
        std::filesystem::remove(served_ / name);
        if (bytes) {
            ASSERT_TRUE(writeFileDurably(served_ / name, *bytes).ok);
        }
    }

    inline static std::string port_;
    inline static std::filesystem::path served_;
    win32::WinInetHttp http{1s, 1s};
    win32::Win32Processes processes;
};

TEST_F(UpdateServer, TheSizeDecidesTheDownloadOnlyACompleteOneReplacesTheUpdaterWhichGetsItsArguments) {
    constexpr auto no = std::nullopt;
    const std::string fresh = updater("new");
    const std::string old = updater(std::string(3000, 'x') + "#old");  // longer than the new one
    const std::string size = " " + std::to_string(fresh.size());
    const std::string args = " [Act_Durmivela.ini] [1234] [Durmivela.exe]";
    const std::string m1 = "Actualizando: No se puede encontrar una conexión a Internet válida.";
    const std::string m2 = "Actualizando: No se ha podido encontrar Update.exe en el servidor";
    const std::string m3 = "Actualizando: Error descargando el programa de actualización Update.exe";
    const std::string m4 = "Error calling {}: " + win32::systemErrorText(ERROR_BAD_EXE_FORMAT);
    struct Row {
        std::string way;  // "down": the probe finds nothing
        std::optional<std::string> size, served, before;
        std::string message, ran;
        std::optional<std::string> after;
    };
    const Row rows[] = {
        {"down", size, fresh, no, m1, "", no},
        {"ok", " -1", fresh, no, m2, "", no},
        {"ok", no, fresh, no, m2, "", no},  // 404
        {"silent", size, fresh, old, m2, "", old},
        {"ok", "-1", fresh, "x", m4, "", "x"},  // size 1: kept, and not a program
        {"ok", " " + std::to_string(old.size()), fresh, old, "", "old" + args, old},
        {"ok", " 0", fresh, "", m4, "", ""},
        {"ok", size, fresh, "", "", "new" + args, fresh},
        {"ok", " " + std::to_string(old.size()) + "x", fresh, old, "", "new" + args, fresh},
        {"ok", size, fresh, old, "", "new" + args, fresh},
        {"redirect", size, fresh, no, "", "new" + args, fresh},
        {"ok", size, no, no, m3, "", no},  // 404
        {"ok", size, no, old, "", "old" + args, old},
        {"truncated", size, fresh, old, "", "old" + args, old},
    };
    // Updaters compared by name, so that a failure does not print a program.
    auto name = [&](const std::optional<std::string>& bytes) -> std::string {
        if (!bytes) return "none";
        if (*bytes == fresh) return "new";
        if (*bytes == old) return "old";
        return bytes->size() <= 40 ? "\"" + *bytes + "\"" : std::to_string(bytes->size()) + " bytes";
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(&row - rows);
        serve("checksize-Update.exe", row.size);
        serve("Update.exe", row.served);
        TempDir dir;
        const std::filesystem::path folder = dir.path() / "Mi Programa", updater = folder / "Update.exe";
        std::filesystem::create_directory(folder);
        if (row.before) dir.write("Mi Programa/Update.exe", *row.before);
        TitledMessages messages;
        const bool down = row.way == "down";
        const auto begin = std::chrono::steady_clock::now();
        ActualizarPrograma({http, processes, messages, folder, 1234, "Update.exe", "Durmivela.exe",
                            url(down ? "ok" : row.way) + "/Descargas/Actualizar/", down ? "http://127.0.0.1:1/" : url("ok/")},
                           kIniActualizacion);
        EXPECT_LT(std::chrono::steady_clock::now() - begin, 4s);
        std::string message = row.message;
        if (const auto at = message.find("{}"); at != std::string::npos) message.replace(at, 2, utf8FromPath(updater));
        EXPECT_EQ(messages.shown, message.empty() ? std::vector<std::string>{} : std::vector<std::string>{message});
        EXPECT_EQ(content(folder / "argv.txt").value_or(""), row.ran);
        EXPECT_EQ(name(content(updater)), name(row.after));
        EXPECT_FALSE(std::filesystem::exists(folder / "Update.exe.tmp"));
    }
}

// The probe counts any answer, a download names the program as an old
// browser and refuses what no updater can be; a start runs the program named,
// whatever the command line's first word; a search sees only absolute folders
// of PATH.
TEST_F(UpdateServer, TheClientAndTheProcesses) {
    EXPECT_TRUE(http.probe(url("ok/missing")));
    EXPECT_EQ(http.download(url("headers")).substr(0, 12), "Mozilla/4.0|");
    serve("big", std::string((64 << 20) + 1, 'x'));  // one byte over the ceiling
    EXPECT_EQ(http.download(url("ok/big")).size(), 0u);
    serve("big", std::nullopt);

    TempDir dir;
    const std::filesystem::path program = dir.path() / "Mi Programa" / "Update.exe";
    dir.write("Mi.exe", updater("decoy"));
    dir.write(program, updater("new"));
    // Unquoted, the command line's first word is ...\Mi, which the system would run as Mi.exe.
    const StartResult started = processes.start({program, {}, utf8FromPath(program) + " x"});
    ASSERT_NE(started.pid, 0u) << started.error;
    EXPECT_TRUE(processes.waitForExit(started.pid));
    EXPECT_EQ(content(program.parent_path() / "argv.txt"), "new [Programa\\Update.exe] [x]");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "argv.txt"));
    EXPECT_EQ(processes.start({dir.path() / "None.exe", {}, "None.exe"}).error,
              win32::systemErrorText(ERROR_FILE_NOT_FOUND));

    dir.write("tool.exe", "");
    dir.write("a/tool", "");
    dir.write("b/tool.exe", "");
    const std::filesystem::path cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const std::string saved = std::getenv("PATH");
    SetEnvironmentVariableA("PATH", ("b;" + (dir.path() / "a").string() + ";" + (dir.path() / "b").string()).c_str());
    EXPECT_EQ(processes.findOnPath("tool"), dir.path() / "b\\tool.exe");
    EXPECT_EQ(processes.findOnPath("b\\tool"), "");
    SetEnvironmentVariableA("PATH", saved.c_str());
    std::filesystem::current_path(cwd);
}

}  // namespace
}  // namespace durmivela
