// The update against the local test server (servidor_prueba.py, which
// update_server.sh runs around this test) with the system's own HTTP client
// and processes: libcurl and posix_spawn on Linux, WinInet and CreateProcess
// under Wine. Real downloads, a real updater and its arguments.
#include "platform/DurableFile.h"
#include "tests/fake/FakePlatform.h"
#include "tests/util/TempDir.h"
#include "update/mdlActualizar.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>

#ifdef _WIN32
#include "platform/win32/Win32Processes.h"
#include "platform/win32/WinInetHttp.h"

#include <windows.h>
#include <psapi.h>
#include <wincrypt.h>
#else
#include "platform/qt/CurlHttp.h"
#include "platform/qt/PosixProcesses.h"

#include <sys/resource.h>
#endif

namespace durmivela {
namespace {

using namespace std::chrono_literals;
using testing::TempDir;

std::optional<std::string> content(const std::filesystem::path& file) {
    std::string bytes;
    return readWholeFile(file, bytes) ? std::optional(bytes) : std::nullopt;
}

#ifdef _WIN32
using NativeHttp = win32::WinInetHttp;
using NativeProcesses = win32::Win32Processes;
const std::string kUpdater = "Update.exe", kProgram = "Durmivela.exe";
// WinInet hands over a chunked body cut off between chunks as a whole one.
constexpr bool kLastChunkTold = false;

// The test updater (TestUpdater.cpp) reports the name after the last '#'.
std::string updater(const std::string& name) {
    static const std::string program = content(pathFromUtf8("Z:" DURMIVELA_TEST_UPDATER)).value_or("");
    return program + "#" + name;
}
NativeHttp shortLimits(const std::filesystem::path&) { return NativeHttp({1s, 1s}); }

// WinInet trusts the system's root store: the test's throwaway authority goes
// into the build's own Wine prefix (its key leaves with the served folder).
void trustAuthority(const std::filesystem::path& der) {
    const std::string bytes = content(der).value_or("");
    ASSERT_TRUE(CertAddEncodedCertificateToSystemStoreA("ROOT", reinterpret_cast<const BYTE*>(bytes.data()),
                                                        static_cast<DWORD>(bytes.size())));
}

std::uint64_t peakResident() {
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize;
}
#else
using NativeHttp = qt::CurlHttp;
using NativeProcesses = qt::PosixProcesses;
const std::string kUpdater = "Update", kProgram = "durmivela";
constexpr bool kLastChunkTold = true;

// Writes what it was started with after a pause that an update which does
// not wait would miss.
std::string updater(const std::string& name) {
    return "#!/bin/sh\nsleep 0.3\n{ printf " + name + "; printf ' [%s]' \"$@\"; } > \"${0%/*}/argv.txt\"\n";
}
NativeHttp shortLimits(const std::filesystem::path& authority) { return NativeHttp({1s, 1s}, authority); }
void trustAuthority(const std::filesystem::path&) {}

std::uint64_t peakResident() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<std::uint64_t>(usage.ru_maxrss) * 1024;
}
#endif

class UpdateServer : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const char *port = std::getenv("DURMIVELA_TEST_PORT"), *tls = std::getenv("DURMIVELA_TEST_TLS_PORT"),
                   *served = std::getenv("DURMIVELA_TEST_SERVED");
        ASSERT_TRUE(port && tls && served) << "run through update_server.sh";
        port_ = port;
        tlsPort_ = tls;
        served_ = pathFromUtf8(served);
        trustAuthority(served_ / "ca.der");
        ASSERT_GT(updater("").size(), 50u);
    }
    // "https:WAY/..." goes to the TLS port by the name its certificate gives
    // (Wine matches no address).
    static std::string url(const std::string& path) {
        const bool secure = path.rfind("https:", 0) == 0;
        return (secure ? "https://localhost:" + tlsPort_ : "http://127.0.0.1:" + port_) + "/" +
               path.substr(secure ? 6 : 0);
    }
    static void serve(const std::string& name, const std::optional<std::string>& bytes) {
        std::filesystem::remove(served_ / name);
        if (bytes) {
            ASSERT_TRUE(writeFileDurably(served_ / name, *bytes).ok);
        }
    }

    inline static std::string port_, tlsPort_;
    inline static std::filesystem::path served_;
    NativeHttp http = shortLimits(served_ / "ca.pem");
    NativeProcesses processes;
};

// What each way of answering makes of an old updater: only a body the server
// promised replaces it (the reported size, or, when the size is no number, an
// end the transfer marked); a refused one leaves it whole, and started.
TEST_F(UpdateServer, EachWayOfAnsweringReplacesTheUpdaterOrLeavesTheOldOne) {
    const std::string fresh = updater("new"), old = updater("older");  // a size of its own
    const std::string size = " " + std::to_string(fresh.size());
    const std::string under = " " + std::to_string(fresh.size() + 1), over = " " + std::to_string(fresh.size() - 1);
    const std::string noNumber = " " + std::to_string(old.size()) + "x";  // not read as the old one's size
    const std::string noSize = "No se ha podido encontrar " + kUpdater + " en el servidor";
    const std::string chunked = kLastChunkTold ? "new" : "older";
    // `after`: the updater left, which ran unless there is a message.
    struct Row { std::string way; std::optional<std::string> size; std::string served, message, after; };
    const Row rows[] = {
        {"ok", std::nullopt, fresh, noSize, "older"},  // 404
        {"noloc", size, fresh, noSize, "older"},       // a 3xx without Location is no answer
        {"silent", size, fresh, noSize, "older"},
        {"https:tohttp", size, fresh, noSize, "older"},  // https is never followed to http
        {"ok", size, fresh, "", "new"},
        {"https:redirect", size, fresh, "", "new"},
        {"ok+truncated", size, fresh, "", "older"},
        {"ok", under, fresh, "", "older"},  // a whole body, but not the promised one
        {"ok", over, fresh, "", "older"},
        {"ok+close", size, fresh, "", "new"},
        {"ok", noNumber, fresh, "", "new"},
        {"ok+chunked", noNumber, fresh, "", chunked},
        {"ok+chunkcut", noNumber, fresh, "", "older"},
        {"ok+close", noNumber, fresh, "", "older"},  // cut off, it would look the same
    };
    // By name, so that a failure does not print a program.
    auto name = [&](const std::optional<std::string>& bytes) -> std::string {
        return !bytes ? "none" : *bytes == fresh ? "new" : *bytes == old ? "older" : "other";
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.way + (row.size ? " size" + *row.size : ""));
        serve("checksize-" + kUpdater, row.size);
        serve(kUpdater, row.served);
        TempDir dir;
        const std::filesystem::path folder = dir.path() / "Mi Programa", updater = folder / kUpdater;
        dir.write("Mi Programa/" + kUpdater, old);
        processes.makeExecutable(updater);  // as a written updater is
        testing::FakeMessageBoxes messages;
        testing::FakeFormHost forms;  // runs each step where it is called
        const auto begin = std::chrono::steady_clock::now();
        ActualizarPrograma({http, processes, messages, forms, folder, 1234, kUpdater, kProgram,
                            url(row.way) + "/Descargas/Actualizar/", url("ok/")},
                           kIniActualizacion);
        EXPECT_LT(std::chrono::steady_clock::now() - begin, 4s);
        EXPECT_EQ(messages.shown, row.message.empty() ? std::vector<std::string>{} : std::vector{row.message});
        const std::string ran = row.message.empty() ? row.after + " [Act_Durmivela.ini] [1234] [" + kProgram + "]" : "";
        EXPECT_EQ(content(folder / "argv.txt").value_or(""), ran);
        EXPECT_EQ(name(content(updater)), row.after);
        EXPECT_FALSE(std::filesystem::exists(folder / (kUpdater + ".tmp")));
    }
}

// The service main.cpp builds, with its shipped limits: its cap holds as the
// bytes of a chunked body arrive, as does a smaller promised size, and the
// body is held once.
TEST_F(UpdateServer, TheShippedServiceStopsABodyAsSoonAsItPassesItsLimit) {
    NativeHttp shipped;
    const HttpLimits& limits = shipped.limits();
    EXPECT_EQ(limits.connect, 15s);
    EXPECT_EQ(limits.transfer, 60s);
    ASSERT_EQ(limits.ceiling, std::uint64_t{64} << 20);

    // The server sends 256 MiB unless the client stops it.
    const std::uint64_t before = peakResident();
    EXPECT_FALSE(shipped.download(url("endless/x"), 1000).ok);
    EXPECT_LT(peakResident() - before, std::uint64_t{16} << 20);
    EXPECT_FALSE(shipped.download(url("endless/x"), UINT64_MAX).ok);
    EXPECT_LT(peakResident() - before, limits.ceiling + limits.ceiling / 2);  // no second copy

    for (const std::uint64_t length : {limits.ceiling, limits.ceiling + 1}) {
        serve("big", std::string(length, 'x'));
        const HttpBody body = shipped.download(url("chunked/big"), UINT64_MAX);
        EXPECT_EQ(body.ok, length == limits.ceiling) << length;
        EXPECT_EQ(body.bytes.size(), body.ok ? length : 0) << length;
    }
    serve("big", std::nullopt);
}

// About's system-information button runs what this finds: never a program
// planted in the current folder or reached through a relative PATH entry.
TEST_F(UpdateServer, AProgramIsFoundOnlyInTheAbsoluteFoldersOfPath) {
    TempDir dir;
#ifdef _WIN32
    const std::string file = "tool.exe", separator = ";";
    const auto setPath = [](const std::string& value) { SetEnvironmentVariableA("PATH", value.c_str()); };
#else
    const std::string file = "tool", separator = ":";
    const auto setPath = [](const std::string& value) { setenv("PATH", value.c_str(), 1); };
#endif
    for (const std::string folder : {"", "b/", "c/"}) {
        dir.write(folder + file, "");
        processes.makeExecutable(dir.path() / (folder + file));
    }
    const std::filesystem::path cwd = std::filesystem::current_path();
    const std::string saved = std::getenv("PATH");
    std::filesystem::current_path(dir.path());
    setPath("b" + separator + (dir.path() / "c").string());
    EXPECT_EQ(processes.findOnPath("tool").lexically_normal(), (dir.path() / "c" / file).lexically_normal());
    EXPECT_EQ(processes.findOnPath("b/tool"), "");
    setPath(saved);
    std::filesystem::current_path(cwd);
}

}  // namespace
}  // namespace durmivela
