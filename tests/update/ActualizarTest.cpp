// The update's sequence on a scripted HTTP client and recorded processes, and
// the schedule that keeps running through it on the fake platform.
#include "tests/scheduler/ScheduleFixture.h"
#include "tests/util/TempDir.h"
#include "update/Direcciones.h"
#include "update/mdlActualizar.h"

#include <gtest/gtest.h>

#include <optional>

namespace durmivela {
namespace {

const std::string kBase = "https://updates.test/Descargas/Actualizar/";
const std::string kSize = kBase + "checksize.php?input=Update.exe", kUpdater = kBase + "Update.exe";

// How the shared table (ActualizarRedTest) judges each answer is not
// repeated here: what it cannot see is. A write that fails (an updater made
// read-only, a missing folder) leaves an old updater to start; nothing is
// waited for after a failed start; the download is held to the promised size.
// No network call and no wait holds the window's ticks: each runs aside.
TEST(Update, FetchesOnlyThePromisedUpdaterThenStartsAndWaitsOrReports) {
    struct Row { const char* size; bool old, blocked, starts; const char* left, *message; };
    const char* missing = "Error descargando el programa de actualización Update.exe";
    const Row rows[] = {
        {"3", false, false, true, "new", ""},   {"3", true, true, true, "older", ""},
        {"3", false, true, true, "", missing},  {"3", false, false, false, "new", "No such file"},
        {"x", true, false, true, "new", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.size) + (row.old ? " old" : "") + (row.blocked ? " blocked" : "") +
                     (row.starts ? "" : " no start"));
        testing::TempDir dir;
        testing::FakePlatform fake;
        std::vector<std::string> holding;
        int waits = 0;
        fake.http.online = true;
        fake.http.bodies = {{kSize, std::string("\n") + row.size}, {kUpdater, "new"}};
        fake.http.stall = [&] { if (!fake.forms.aside) holding.push_back(fake.http.asked.back()); };
        fake.desktop.running = [&] {
            if (!fake.forms.aside) holding.push_back("wait");
            ++waits;
        };
        if (!row.starts) fake.desktop.startError = "No such file";
        if (row.old) dir.write("Update.exe", "older");
        if (row.blocked && row.old) std::filesystem::permissions(dir.path() / "Update.exe", std::filesystem::perms::owner_read);
        const std::filesystem::path folder = row.blocked && !row.old ? dir.path() / "missing" : dir.path();
        ActualizarPrograma({fake.http, fake.desktop, fake.messages, fake.forms, folder, 4242, "Update.exe",
                            "Durmivela.exe", kBase, "http://probe.test/"},
                           kIniActualizacion);
        EXPECT_EQ(fake.http.asked, (std::vector<std::string>{"http://probe.test/", kSize, kUpdater}));
        EXPECT_TRUE(holding.empty());
        EXPECT_EQ(fake.http.lastLimit, *row.size == 'x' ? UINT64_MAX : std::stoull(row.size));
        const bool started = *row.message == '\0' || !row.starts;
        ASSERT_EQ(fake.desktop.started.size(), started ? 1u : 0u);
        if (started) {
            EXPECT_EQ(fake.desktop.started[0].commandLine,
                      "\"" + (dir.path() / "Update.exe").string() + "\" Act_Durmivela.ini 4242 Durmivela.exe");
        }
        EXPECT_EQ(waits, started && row.starts ? 1 : 0);
        EXPECT_EQ(fake.messages.shown, *row.message ? std::vector<std::string>{row.message} : std::vector<std::string>{});
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
