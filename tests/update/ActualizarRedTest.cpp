// The update against a local HTTP server (servidor_prueba.py), with the Linux
// HTTP client and processes: real downloads, a real updater and its arguments.
#include "platform/DurableFile.h"
#include "platform/qt/CurlHttp.h"
#include "platform/qt/PosixProcesses.h"
#include "tests/util/TempDir.h"
#include "update/mdlActualizar.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
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

// The updater writes what it was started with, after a pause that an update
// which does not wait would miss.
std::string updater(const std::string& name) {
    return "#!/bin/sh\nsleep 0.3\n{ printf " + name + "; printf ' [%s]' \"$@\"; } > \"${0%/*}/argv.txt\"\n";
}

class UpdateServer : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("no_proxy", "*", 1);
        root_ = new TempDir;
        const std::string command = "exec python3 '" DURMIVELA_TEST_SERVER "' '" + root_->path().string() + "'";
        server_ = popen(command.c_str(), "r");
        ASSERT_TRUE(server_ && std::fscanf(server_, "%d %d", &port_, &pid_) == 2);
    }
    static void TearDownTestSuite() {
        kill(pid_, SIGTERM);
        pclose(server_);
        delete root_;
    }
    static std::string url(const std::string& path) { return "http://127.0.0.1:" + std::to_string(port_) + "/" + path; }

    inline static TempDir* root_ = nullptr;
    inline static std::FILE* server_ = nullptr;
    inline static int port_ = 0;
    inline static int pid_ = 0;
    qt::CurlHttp http{1s, 1s};
    qt::PosixProcesses processes;
};

TEST_F(UpdateServer, TheSizeDecidesTheDownloadOnlyACompleteOneReplacesTheUpdaterWhichGetsItsArguments) {
    constexpr auto no = std::nullopt;
    const std::string fresh = updater("new");
    const std::string old = updater("old") + "#" + std::string(3000, 'x') + "\n";  // longer than the new one
    const std::string size = " " + std::to_string(fresh.size());
    const std::string args = " [Act_Durmivela.ini] [1234] [durmivela]";
    const std::string m1 = "Actualizando: No se puede encontrar una conexión a Internet válida.";
    const std::string m2 = "Actualizando: No se ha podido encontrar Update en el servidor";
    const std::string m3 = "Actualizando: Error descargando el programa de actualización Update";
    const std::string m4 = "Error calling {}: Exec format error";
    struct Row {
        std::string way;  // "down": the probe finds nothing
        std::optional<std::string> size, served, before;
        std::string message, ran;
        std::optional<std::string> after;
    };
    const Row rows[] = {
        {"down", size, fresh, no, m1, "", no},
        {"ok", " -1", fresh, no, m2, "", no},
        {"ok", no, fresh, no, m2, "", no},
        {"silent", size, fresh, old, m2, "", old},
        {"ok", "-1", fresh, "x", m4, "", "x"},  // size 1: kept, and not a program
        {"ok", " " + std::to_string(old.size()), fresh, old, "", "old" + args, old},
        {"ok", " 0", fresh, "", m4, "", ""},
        {"ok", size, fresh, "", "", "new" + args, fresh},
        {"ok", " " + std::to_string(old.size()) + "x", fresh, old, "", "new" + args, fresh},
        {"ok", size, fresh, old, "", "new" + args, fresh},
        {"redirect", size, fresh, no, "", "new" + args, fresh},
        {"ok", size, no, no, m3, "", no},
        {"ok", size, no, old, "", "old" + args, old},
        {"truncated", size, fresh, old, "", "old" + args, old},
    };
    auto content = [](const std::filesystem::path& file) -> std::optional<std::string> {
        std::string bytes;
        return readWholeFile(file, bytes) ? std::optional(bytes) : std::nullopt;
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(&row - rows);
        for (const char* name : {"checksize-Update", "Update"}) std::filesystem::remove(root_->path() / name);
        if (row.size) root_->write("checksize-Update", *row.size);
        if (row.served) root_->write("Update", *row.served);
        TempDir dir;
        const std::filesystem::path folder = dir.path() / "Mi Programa", updater = folder / "Update";
        std::filesystem::create_directory(folder);
        if (row.before) dir.write("Mi Programa/Update", *row.before);
        processes.makeExecutable(updater);  // as a written updater is
        TitledMessages messages;
        const bool down = row.way == "down";
        const auto begin = std::chrono::steady_clock::now();
        ActualizarPrograma({http, processes, messages, folder, 1234, "Update", "durmivela",
                            url(down ? "ok" : row.way) + "/Descargas/Actualizar/", down ? "http://127.0.0.1:1/" : url("ok/")},
                           kIniActualizacion);
        EXPECT_LT(std::chrono::steady_clock::now() - begin, 3s);
        std::string message = row.message;
        if (const auto at = message.find("{}"); at != std::string::npos) message.replace(at, 2, updater.string());
        EXPECT_EQ(messages.shown, message.empty() ? std::vector<std::string>{} : std::vector<std::string>{message});
        EXPECT_EQ(content(folder / "argv.txt").value_or(""), row.ran);
        EXPECT_EQ(content(updater), row.after);
        EXPECT_FALSE(std::filesystem::exists(folder / "Update.tmp"));
    }
}

// The probe counts any answer; a download names the program as an old browser
// and asks past caches. A path is searched only in absolute folders of PATH.
TEST_F(UpdateServer, TheClientAndTheProgramSearch) {
    EXPECT_TRUE(http.probe(url("ok/missing")));
    EXPECT_EQ(http.download(url("headers")), "Mozilla/4.0|no-cache|no-cache");

    TempDir dir;
    dir.write("a/tool", "");
    dir.write("b/tool", "");
    processes.makeExecutable(dir.path() / "b/tool");
    const std::filesystem::path cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const std::string saved = std::getenv("PATH");
    setenv("PATH", ("b:" + (dir.path() / "a").string() + ":" + (dir.path() / "b").string()).c_str(), 1);
    EXPECT_EQ(processes.findOnPath("tool"), dir.path() / "b/tool");
    EXPECT_EQ(processes.findOnPath("b/tool"), "");
    setenv("PATH", saved.c_str(), 1);
    std::filesystem::current_path(cwd);
}

}  // namespace
}  // namespace durmivela
