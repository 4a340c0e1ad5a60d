// The update's sequence on a scripted HTTP client and recorded processes, and
// the schedule that keeps running through it on the fake platform.
#include "tests/scheduler/ScheduleFixture.h"
#include "tests/util/TempDir.h"
#include "update/Direcciones.h"
#include "update/mdlActualizar.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>

namespace durmivela {
namespace {

using Calls = std::vector<std::string>;
const std::string kBase = "https://updates.test/Descargas/Actualizar/";
const std::string kSize = kBase + "checksize.php?input=Update.exe", kUpdater = kBase + "Update.exe";

// Network calls and the wait are marked when they are not run aside, where
// they would hold the schedule's ticks.
struct Recorder : Http, Processes, MessageBoxes, FormHost {
    std::map<std::string, HttpBody> bodies;
    std::uint32_t pid = 77;
    Calls calls;
    bool aside = false;
    void note(const std::string& call) { calls.push_back((aside ? "" : "HOLDING ") + call); }
    bool probe(const std::string& url) override { return note("probe " + url), true; }
    HttpBody download(const std::string& url, std::uint64_t limit) override {
        note("get " + url + (limit == UINT64_MAX ? "" : " " + std::to_string(limit)));
        return bodies[url];
    }
    StartResult start(const ProcessStart& start) override {
        return calls.push_back("start " + start.commandLine), StartResult{pid, "No such file"};
    }
    bool waitForExit(std::uint32_t pid) override { return note("wait " + std::to_string(pid)), true; }
    std::filesystem::path findOnPath(const std::string&) const override { return {}; }
    bool makeExecutable(const std::filesystem::path&) override { return calls.push_back("chmod"), true; }
    void show(const std::string& text, const std::string& title, MessageIcon) override { calls.push_back(title + ": " + text); }
    void showModal(Form&) override {}
    void processPendingEvents() override {}
    void runAside(const std::function<void()>& step) override {
        aside = true;
        step();
        aside = false;
    }
};

HttpBody body(const std::string& bytes, bool delimited = true) { return {true, delimited, bytes}; }

// The updater must be what the server promised: the size it reported, or,
// when that is no number, a body whose end the transfer itself marked. A write
// that fails (an updater made read-only, a missing folder) leaves an old
// updater to start; nothing is waited for after a failed start.
TEST(Update, FetchesOnlyThePromisedUpdaterThenStartsAndWaitsOrReports) {
    struct Row { const char* size; HttpBody served; bool old, blocked; std::uint32_t pid; Calls last; const char* left; };
    const std::string started = "start \"{}\" Act_Durmivela.ini 4242 Durmivela.exe";
    const Calls replaced{"chmod", started, "wait 77"}, kept{started, "wait 77"},
        missing{"Actualizando: Error descargando el programa de actualización Update.exe"};
    const Row rows[] = {
        {"3", body("new"), false, false, 77, replaced, "new"},
        {"3", body("new"), true, true, 77, kept, "older"},
        {"3", body("new"), false, true, 77, missing, ""},
        {"3", body("new"), false, false, 0, {"chmod", started, "Error calling {}: No such file"}, "new"},
        {"3", body("new", false), true, false, 77, replaced, "new"},
        {"4", body("new"), true, false, 77, kept, "older"},
        {"2", body("new"), true, false, 77, kept, "older"},
        {"x", body("new"), true, false, 77, replaced, "new"},
        {"x", body("new", false), true, false, 77, kept, "older"},
        {"3", HttpBody{false, true, "new"}, true, false, 77, kept, "older"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.size) + (row.served.delimited ? "" : " undelimited") + (row.old ? " old" : "") +
                     (row.blocked ? " blocked" : "") + (row.pid ? "" : " no start"));
        testing::TempDir dir;
        Recorder r;
        r.pid = row.pid;
        r.bodies = {{kSize, body(std::string("\n") + row.size)}, {kUpdater, row.served}};
        if (row.old) dir.write("Update.exe", "older");
        if (row.blocked && row.old) std::filesystem::permissions(dir.path() / "Update.exe", std::filesystem::perms::owner_read);
        const std::filesystem::path folder = row.blocked && !row.old ? dir.path() / "missing" : dir.path();
        ActualizarPrograma({r, r, r, r, folder, 4242, "Update.exe", "Durmivela.exe", kBase, "http://probe.test/"},
                           kIniActualizacion);
        const std::string limit = *row.size == 'x' ? "" : std::string(" ") + row.size;
        Calls expected{"probe http://probe.test/", "get " + kSize, "get " + kUpdater + limit};
        for (std::string call : row.last) {
            if (const auto at = call.find("{}"); at != std::string::npos) call.replace(at, 2, (dir.path() / "Update.exe").string());
            expected.push_back(call);
        }
        EXPECT_EQ(r.calls, expected);
        EXPECT_EQ(dir.read("Update.exe"), row.left);
    }
}

// The size query stalls 114 s, then the updater runs 60 s; the window ticks
// meanwhile only if the update runs them aside. The schedule fires on time.
class UpdateUnderASchedule : public testing::MainWindowTest {
protected:
    std::optional<TimeOfDay> firedAt;
    std::function<void()> meanwhile;  // at 18:02:50, inside the stall

    void pass(int seconds) {
        for (int i = 0; i < seconds; ++i) {
            if (fake.forms.aside && !ventana->closed()) {
                tick();
            } else {
                fake.clock.now = sumarSegundos(fake.clock.now, 1);
                fake.clock.monotonic += 1000;
            }
            if (!firedAt && fake.power.shutdowns() > 0) firedAt = fake.clock.now;
            if (fake.clock.now == TimeOfDay{18, 2, 50} && meanwhile) meanwhile();
        }
    }
};

TEST_F(UpdateUnderASchedule, TheScheduleFiresOnTimeWhileTheUpdateWaits) {
    const std::string probe = kUrlSonda, size = std::string(kUrlActualizacion) + "checksize.php?input=Update.exe";
    struct Row { int minute; bool salir; std::optional<TimeOfDay> fired; std::size_t started; };
    const Row rows[] = {
        {3, false, TimeOfDay{18, 3, 0}, 1},  // in the size query's stall
        {5, false, TimeOfDay{18, 5, 0}, 1},  // while the updater runs
        {3, true, std::nullopt, 0},          // the program ends: nothing more starts
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.minute);
        frmPrincipal& w = start(1, 4);
        std::filesystem::remove(dir.path() / "Update.exe");
        fake.power.found.clear();
        fake.desktop.started.clear();
        fake.messages.shown.clear();
        firedAt.reset();
        fake.clock.now = {18, 2, 30};
        w.txtHora.setText("18");
        w.txtMinuto.setText(std::to_string(row.minute));
        w.cmdAceptar.click();

        fake.http = {};
        fake.http.online = true;
        fake.http.bodies = {{size, " 3"}, {std::string(kUrlActualizacion) + "Update.exe", "new"}};
        fake.http.stall = [&] {
            if (fake.http.asked.size() == 2) pass(114);
        };
        fake.desktop.running = [&] { pass(60); };
        meanwhile = [&] {
            w.mnuActualizar.click();  // a second update cannot start inside the first
            if (row.salir) w.mnuSTISalir.click();
        };
        w.mnuActualizar.click();
        EXPECT_EQ(firedAt, row.fired);
        EXPECT_EQ(fake.power.shutdowns(), row.fired ? 1 : 0);
        if (row.fired) {
            EXPECT_TRUE(fake.power.found[0].log && fake.power.found[0].capture);
        }
        EXPECT_TRUE(fake.messages.shown.empty());
        EXPECT_EQ(fake.desktop.started.size(), row.started);
        EXPECT_EQ(fake.http.asked.size(), row.started ? 3u : 2u);
        EXPECT_EQ(fake.http.asked.front(), probe);
    }
}

}  // namespace
}  // namespace durmivela
