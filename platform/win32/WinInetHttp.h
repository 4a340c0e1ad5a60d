// HTTP on Windows through WinInet: synchronous, as the update expects, with
// time limits so that a silent server cannot hold the program.
#pragma once

#include "platform/Services.h"

namespace durmivela::win32 {

class WinInetHttp final : public Http {
public:
    explicit WinInetHttp(HttpLimits limits = {});
    // Any answer counts, whatever its status; nothing of the body is read.
    bool probe(const std::string& url) override;
    // Follows redirects, but never from https to http; an error status or a
    // body other than the announced length gives nothing.
    HttpBody download(const std::string& url, std::uint64_t limit) override;
    const HttpLimits& limits() const { return limits_; }

private:
    HttpLimits limits_;
};

}  // namespace durmivela::win32
