#include "platform/AsideThread.h"

#include <system_error>
#include <thread>

namespace durmivela {

std::exception_ptr runOnOwnThread(const std::function<void()>& step, const std::function<void()>& finished,
                                  const std::function<void()>& wait) {
    std::exception_ptr failure;
    const auto guarded = [&] {
        try {
            step();
        } catch (...) {
            failure = std::current_exception();
        }
    };
    std::thread worker;
    try {
        worker = std::thread([&] {
            guarded();
            finished();
        });
    } catch (const std::system_error&) {
        guarded();
        return failure;
    }
    wait();
    worker.join();
    return failure;
}

}  // namespace durmivela
