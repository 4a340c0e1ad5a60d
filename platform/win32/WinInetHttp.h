// HTTP on Windows through WinInet: synchronous, as the update expects, with
// time limits so that a silent server cannot hold the program.
#pragma once

#include "platform/Services.h"

#include <chrono>

namespace durmivela::win32 {

class WinInetHttp final : public Http {
public:
    explicit WinInetHttp(std::chrono::milliseconds connectLimit = std::chrono::seconds(15),
                         std::chrono::milliseconds transferLimit = std::chrono::seconds(60));
    // Any answer counts, whatever its status; nothing of the body is read.
    bool probe(const std::string& url) override;
    // Follows redirects, but never from https to http; an error status or a
    // body other than the announced length gives nothing.
    std::string download(const std::string& url) override;

private:
    std::chrono::milliseconds connectLimit_;
    std::chrono::milliseconds transferLimit_;
};

}  // namespace durmivela::win32
