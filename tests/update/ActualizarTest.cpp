// The update's sequence on a scripted HTTP client and recorded processes.
#include "tests/util/TempDir.h"
#include "update/mdlActualizar.h"

#include <gtest/gtest.h>

#include <map>

namespace durmivela {
namespace {

using Calls = std::vector<std::string>;
const std::string kBase = "https://updates.test/Descargas/Actualizar/";

struct Recorder : Http, Processes, MessageBoxes {
    std::map<std::string, std::string> bodies;
    std::uint32_t pid = 77;
    Calls calls;
    bool probe(const std::string& url) override { return calls.push_back("probe " + url), true; }
    std::string download(const std::string& url) override { return calls.push_back("get " + url), bodies[url]; }
    StartResult start(const ProcessStart& start) override {
        return calls.push_back("start " + start.commandLine), StartResult{pid, "No such file"};
    }
    bool waitForExit(std::uint32_t pid) override { return calls.push_back("wait " + std::to_string(pid)), true; }
    std::filesystem::path findOnPath(const std::string&) const override { return {}; }
    bool makeExecutable(const std::filesystem::path&) override { return calls.push_back("chmod"), true; }
    void show(const std::string& text, const std::string& title, MessageIcon) override { calls.push_back(title + ": " + text); }
};

// A write that fails (an updater made read-only, a missing folder) leaves an
// old updater to start; nothing is waited for after a failed start.
TEST(Update, FetchesWritesMakesExecutableStartsAndWaitsOrReports) {
    struct Row {
        bool old, blocked;
        std::uint32_t pid;
        Calls last;
    };
    const std::string started = "start \"{}\" Act_Durmivela.ini 4242 Durmivela.exe";
    const Row rows[] = {{false, false, 77, {"chmod", started, "wait 77"}},
                        {true, true, 77, {started, "wait 77"}},
                        {false, true, 77, {"Actualizando: Error descargando el programa de actualización Update.exe"}},
                        {false, false, 0, {"chmod", started, "Error calling {}: No such file"}}};
    for (const Row& row : rows) {
        testing::TempDir dir;
        Recorder r;
        r.pid = row.pid;
        r.bodies = {{kBase + "checksize.php?input=Update.exe", "\n9"}, {kBase + "Update.exe", "new"}};
        if (row.old) dir.write("Update.exe", "old");
        if (row.blocked && row.old) std::filesystem::permissions(dir.path() / "Update.exe", std::filesystem::perms::owner_read);
        const std::filesystem::path folder = row.blocked && !row.old ? dir.path() / "missing" : dir.path();
        ActualizarPrograma({r, r, r, folder, 4242, "Update.exe", "Durmivela.exe", kBase, "http://probe.test/"},
                           kIniActualizacion);
        Calls expected{"probe http://probe.test/", "get " + kBase + "checksize.php?input=Update.exe",
                       "get " + kBase + "Update.exe"};
        for (std::string call : row.last) {
            if (const auto at = call.find("{}"); at != std::string::npos) call.replace(at, 2, (dir.path() / "Update.exe").string());
            expected.push_back(call);
        }
        EXPECT_EQ(r.calls, expected);
        EXPECT_EQ(dir.read("Update.exe"), row.old ? "old" : row.blocked ? "" : "new");
    }
}

// The process id has a sign place: a blank, or the minus of a number that
// reads negative as a signed 32-bit number.
TEST(Update, TheCommandLineQuotesThePathAndGivesThePidASignPlace) {
    const std::pair<std::uint32_t, std::string> rows[] = {
        {1234, "Act_Durmivela.ini 1234"}, {0, "Act_Durmivela.ini 0"}, {0x80000005u, "Act_Durmivela.ini-2147483643"}};
    for (const auto& [pid, middle] : rows) {
        Recorder r;
        const ProcessStart start = LineaActualizador(
            {r, r, r, "/opt/Mi Programa", pid, "Update.exe", "Durmivela.exe", kBase, ""}, kIniActualizacion);
        const std::filesystem::path updater = std::filesystem::path("/opt/Mi Programa") / "Update.exe";
        EXPECT_EQ(start.commandLine, "\"" + updater.string() + "\" " + middle + " Durmivela.exe");
        EXPECT_EQ(start.program, updater);
        EXPECT_EQ(start.arguments, (Calls{"Act_Durmivela.ini", std::to_string(pid), "Durmivela.exe"}));
    }
}

}  // namespace
}  // namespace durmivela
