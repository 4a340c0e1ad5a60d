// The update against the local test server (servidor_prueba.py, which
// update_server.sh runs around this test) with the system's own HTTP client
// and processes: libcurl and posix_spawn on Linux, WinInet and CreateProcess
// under Wine. Real downloads, a real updater and its arguments.
#include "platform/DurableFile.h"
#include "tests/util/TempDir.h"
#include "update/mdlActualizar.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>

#ifdef _WIN32
#include "platform/win32/Win32Processes.h"
#include "platform/win32/WinInetHttp.h"
#include "platform/win32/WinText.h"

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
const std::string kNotAProgram = win32::systemErrorText(ERROR_BAD_EXE_FORMAT);
// WinInet hands over a chunked body cut off between chunks as a whole one.
constexpr bool kLastChunkTold = false;

// The test updater (TestUpdater.cpp) named: it reports the name after the last '#'.
std::string updater(const std::string& name) {
    static const std::string program = content(pathFromUtf8("Z:" DURMIVELA_TEST_UPDATER)).value_or("");
    return program + "#" + name;
}

// One that says `name` and is longer than the plain one.
std::string longUpdater(const std::string& name) { return updater(std::string(3000, 'x') + "#" + name); }

NativeHttp shortLimits(const std::filesystem::path&) { return NativeHttp({1s, 1s}); }

// WinInet trusts what the system's root store holds: the test's throwaway
// authority goes there, in the build's own Wine prefix, and leaves after.
void trustAuthority(const std::filesystem::path& pem, bool trust) {
    const std::string text = content(pem).value_or("");
    DWORD size = 0;
    CryptStringToBinaryA(text.c_str(), 0, CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr, nullptr);
    std::string der(size, '\0');
    CryptStringToBinaryA(text.c_str(), 0, CRYPT_STRING_BASE64HEADER, reinterpret_cast<BYTE*>(der.data()), &size,
                         nullptr, nullptr);
    const PCCERT_CONTEXT authority =
        CertCreateCertificateContext(X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()), size);
    // The user's own root store in the registry: one that also shows the
    // system's certificates would not delete from the registry.
    const HCERTSTORE root =
        CertOpenStore(CERT_STORE_PROV_SYSTEM_REGISTRY_A, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, "ROOT");
    ASSERT_TRUE(authority && root);
    if (trust) {
        EXPECT_TRUE(CertAddCertificateContextToStore(root, authority, CERT_STORE_ADD_REPLACE_EXISTING, nullptr));
    } else if (const PCCERT_CONTEXT found =
                   CertFindCertificateInStore(root, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, authority, nullptr)) {
        EXPECT_TRUE(CertDeleteCertificateFromStore(found));
    }
    CertFreeCertificateContext(authority);
    CertCloseStore(root, 0);  // writes the change to the registry
}

void setPath(const std::string& value) { SetEnvironmentVariableA("PATH", value.c_str()); }

std::uint64_t peakResident() {
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize;
}
#else
using NativeHttp = qt::CurlHttp;
using NativeProcesses = qt::PosixProcesses;
const std::string kUpdater = "Update", kProgram = "durmivela";
const std::string kNotAProgram = "Exec format error";
constexpr bool kLastChunkTold = true;

// The updater writes what it was started with, after a pause that an update
// which does not wait would miss.
std::string updater(const std::string& name) {
    return "#!/bin/sh\nsleep 0.3\n{ printf " + name + "; printf ' [%s]' \"$@\"; } > \"${0%/*}/argv.txt\"\n";
}

// One that says `name` and is longer than the plain one.
std::string longUpdater(const std::string& name) { return updater(name) + "#" + std::string(3000, 'x') + "\n"; }

NativeHttp shortLimits(const std::filesystem::path& authority) { return NativeHttp({1s, 1s}, authority); }
void trustAuthority(const std::filesystem::path&, bool) {}

void setPath(const std::string& value) { setenv("PATH", value.c_str(), 1); }

std::uint64_t peakResident() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<std::uint64_t>(usage.ru_maxrss) * 1024;
}
#endif

struct TitledMessages : MessageBoxes {
    std::vector<std::string> shown;
    void show(const std::string& text, const std::string& title, MessageIcon) override { shown.push_back(title + ": " + text); }
};

// The steps run where they are called: the table is about the services.
struct InPlace : FormHost {
    void showModal(Form&) override {}
    void processPendingEvents() override {}
    void runAside(const std::function<void()>& step) override { step(); }
};

class UpdateServer : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const char* port = std::getenv("DURMIVELA_TEST_PORT");
        const char* tls = std::getenv("DURMIVELA_TEST_TLS_PORT");
        const char* served = std::getenv("DURMIVELA_TEST_SERVED");
        ASSERT_TRUE(port && tls && served) << "run through update_server.sh";
        port_ = port;
        tlsPort_ = tls;
        served_ = pathFromUtf8(served);
        trustAuthority(served_ / "ca.pem", true);
        ASSERT_GT(updater("").size(), 50u);
    }
    static void TearDownTestSuite() { trustAuthority(served_ / "ca.pem", false); }
    // "https:WAY/..." goes to the server's TLS port, by the name its
    // certificate gives (Wine matches no address).
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
    InPlace forms;
};

// Only what the server promised replaces the updater: exactly the reported
// size, or, when the size is no number, a body whose end the transfer marked.
// Whatever is refused leaves an old updater whole, and started.
TEST_F(UpdateServer, TheSizeDecidesTheDownloadOnlyThePromisedOneReplacesTheUpdaterWhichGetsItsArguments) {
    constexpr auto no = std::nullopt;
    const std::string fresh = updater("new");
    const std::string old = longUpdater("old");
    const std::string size = " " + std::to_string(fresh.size());
    const std::string noNumber = " " + std::to_string(old.size()) + "x";  // not read as the old one's size
    const std::string args = " [Act_Durmivela.ini] [1234] [" + kProgram + "]";
    const std::string m1 = "Actualizando: No se puede encontrar una conexión a Internet válida.";
    const std::string m2 = "Actualizando: No se ha podido encontrar " + kUpdater + " en el servidor";
    const std::string m3 = "Actualizando: Error descargando el programa de actualización " + kUpdater;
    const std::string m4 = "Error calling {}: " + kNotAProgram;
    struct Row {
        std::string way;  // "down": the probe finds nothing
        std::optional<std::string> size, served, before;
        std::string message, ran;
        std::optional<std::string> after;
    };
    const Row rows[] = {
        {"down", size, fresh, no, m1, "", no},
        {"ok", " -1", fresh, no, m2, "", no},
        {"ok", no, fresh, no, m2, "", no},               // 404
        {"noloc", size, fresh, no, m2, "", no},          // a 3xx without Location is no size
        {"silent", size, fresh, old, m2, "", old},
        {"https:tohttp", size, fresh, no, m2, "", no},   // https is never answered over http
        {"ok", "-1", fresh, "x", m4, "", "x"},           // size 1: kept, and not a program
        {"ok", " " + std::to_string(old.size()), fresh, old, "", "old" + args, old},
        {"ok", " 0", fresh, "", m4, "", ""},
        {"ok", size, fresh, old, "", "new" + args, fresh},
        {"https:redirect", size, fresh, no, "", "new" + args, fresh},
        {"ok", size, no, no, m3, "", no},                // 404
        {"ok+noloc", size, fresh, old, "", "old" + args, old},  // nor an updater
        {"ok+truncated", size, fresh, old, "", "old" + args, old},
        {"ok+cut", size, fresh, no, m3, "", no},         // cut off by a closed connection
        {"ok+close", size, fresh, old, "", "new" + args, fresh},
        {"ok", " " + std::to_string(fresh.size() - 1), fresh, old, "", "old" + args, old},
        {"ok", " " + std::to_string(fresh.size() + 1), fresh, old, "", "old" + args, old},
        {"ok", noNumber, fresh, old, "", "new" + args, fresh},
        {"ok+chunked", noNumber, fresh, old, "", (kLastChunkTold ? "new" : "old") + args, kLastChunkTold ? fresh : old},
        {"ok+chunkcut", noNumber, fresh, old, "", "old" + args, old},
        {"ok+close", noNumber, fresh, old, "", "old" + args, old},
    };
    // Updaters compared by name, so that a failure does not print a program.
    auto name = [&](const std::optional<std::string>& bytes) -> std::string {
        if (!bytes) return "none";
        if (*bytes == fresh) return "new";
        if (*bytes == old) return "old";
        return bytes->size() <= 40 ? "\"" + *bytes + "\"" : std::to_string(bytes->size()) + " bytes";
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.way + (row.size ? " size" + *row.size : ""));
        serve("checksize-" + kUpdater, row.size);
        serve(kUpdater, row.served);
        TempDir dir;
        const std::filesystem::path folder = dir.path() / "Mi Programa", updater = folder / kUpdater;
        std::filesystem::create_directory(folder);
        if (row.before) {
            dir.write("Mi Programa/" + kUpdater, *row.before);
            processes.makeExecutable(updater);  // as a written updater is
        }
        TitledMessages messages;
        const bool down = row.way == "down";
        const auto begin = std::chrono::steady_clock::now();
        ActualizarPrograma({http, processes, messages, forms, folder, 1234, kUpdater, kProgram,
                            url(down ? "ok" : row.way) + "/Descargas/Actualizar/", down ? "http://127.0.0.1:1/" : url("ok/")},
                           kIniActualizacion);
        EXPECT_LT(std::chrono::steady_clock::now() - begin, 4s);
        std::string message = row.message;
        if (const auto at = message.find("{}"); at != std::string::npos) message.replace(at, 2, utf8FromPath(updater));
        EXPECT_EQ(messages.shown, message.empty() ? std::vector<std::string>{} : std::vector<std::string>{message});
        EXPECT_EQ(content(folder / "argv.txt").value_or(""), row.ran);
        EXPECT_EQ(name(content(updater)), name(row.after));
        EXPECT_FALSE(std::filesystem::exists(folder / (kUpdater + ".tmp")));
    }
}

// The service main.cpp builds: its time limits are bounded, and its cap holds
// as the bytes of a chunked body arrive, as does a smaller promised size.
TEST_F(UpdateServer, TheShippedServiceHasBoundedLimitsAndStopsABodyAsSoonAsItPassesOne) {
    NativeHttp shipped;  // as main.cpp builds it
    const HttpLimits& limits = shipped.limits();
    EXPECT_GE(limits.connect, 5s);
    EXPECT_LE(limits.connect, 30s);
    EXPECT_GE(limits.transfer, 30s);
    EXPECT_LE(limits.transfer, 120s);
    ASSERT_GE(limits.ceiling, std::uint64_t{1} << 20);
    ASSERT_LE(limits.ceiling, std::uint64_t{64} << 20);  // the bodies below are that large

    // The server sends 256 MiB unless the client stops it.
    const std::uint64_t before = peakResident();
    EXPECT_FALSE(shipped.download(url("endless/x"), 1000).ok);
    const std::uint64_t promised = peakResident();
    EXPECT_FALSE(shipped.download(url("endless/x"), UINT64_MAX).ok);
    const std::uint64_t capped = peakResident();
    std::printf("peak resident memory: %.1f MiB before, %.1f MiB after an endless chunked body against a promised"
                " 1000 bytes, %.1f MiB after one against the cap\n",
                static_cast<double>(before) / (1 << 20), static_cast<double>(promised) / (1 << 20),
                static_cast<double>(capped) / (1 << 20));
    EXPECT_LT(promised - before, std::uint64_t{16} << 20);
    EXPECT_LT(capped - before, limits.ceiling + limits.ceiling / 2);  // the body, and no second copy

    for (const std::uint64_t length : {limits.ceiling, limits.ceiling + 1}) {
        serve("big", std::string(length, 'x'));
        const HttpBody body = shipped.download(url("chunked/big"), UINT64_MAX);
        EXPECT_EQ(body.ok, length == limits.ceiling) << length;
        EXPECT_EQ(body.bytes.size(), body.ok ? length : 0) << length;
    }
    serve("big", std::nullopt);
}

// The probe counts any answer; a download names the program as an old
// browser.
TEST_F(UpdateServer, TheClientAndTheProcesses) {
    EXPECT_TRUE(http.probe(url("ok/missing")));
    EXPECT_EQ(http.download(url("headers"), UINT64_MAX).bytes.substr(0, 12), "Mozilla/4.0|");
    TempDir dir;
#ifdef _WIN32
    // A start runs the program named, whatever the command line's first word.
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
    dir.write("b/tool.exe", "");
    const char separator = ';';
    const std::filesystem::path found = dir.path() / "b\\tool.exe";
#else
    EXPECT_EQ(http.download(url("headers"), UINT64_MAX).bytes, "Mozilla/4.0|no-cache|no-cache");
    dir.write("b/tool", "");
    processes.makeExecutable(dir.path() / "b/tool");
    const char separator = ':';
    const std::filesystem::path found = dir.path() / "b/tool";
#endif
    // A search sees only absolute folders of PATH, never the current one.
    dir.write("a/tool", "");
    const std::filesystem::path cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const std::string saved = std::getenv("PATH");
    setPath("b" + std::string(1, separator) + (dir.path() / "a").string() + separator + (dir.path() / "b").string());
    EXPECT_EQ(processes.findOnPath("tool"), found);
    EXPECT_EQ(processes.findOnPath("b/tool"), "");
    setPath(saved);
    std::filesystem::current_path(cwd);
}

}  // namespace
}  // namespace durmivela
