// Time to capture the primary screen and save it as Captura.bmp (flushed to
// disk), as the shutdown sequence does. Prints each run and the median in ms.
// Usage: capture_bench FOLDER [RUNS]
#include "capture/Captura.h"
#include "platform/qt/QtServices.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [RUNS]\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const int runs = argc > 2 ? std::atoi(argv[2]) : 10;
    durmivela::qt::QtScreen screen;
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const durmivela::WriteResult result = durmivela::GuardarCaptura(screen, folder);
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        if (!result.ok) {
            std::fprintf(stderr, "capture failed: %s\n", result.reason.c_str());
            return 1;
        }
        times.push_back(took.count());
        std::printf("run %d: %.1f ms\n", i + 1, took.count());
    }
    std::sort(times.begin(), times.end());
    const double median = times.size() % 2 ? times[times.size() / 2]
                                           : (times[times.size() / 2 - 1] + times[times.size() / 2]) / 2;
    std::printf("capture + BMP save: median %.1f ms over %d runs\n", median, runs);
    return 0;
}
