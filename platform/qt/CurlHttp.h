// HTTP on Linux through libcurl's easy interface: synchronous, as the update
// expects, with time limits so that a silent server cannot hold the program.
#pragma once

#include "platform/Services.h"

#include <filesystem>
#include <string>

namespace durmivela::qt {

class CurlHttp final : public Http {
public:
    // `authorities`: a file of the certificate authorities to trust instead
    // of the system's (a test's throwaway one); empty, the system's.
    explicit CurlHttp(HttpLimits limits = {}, std::filesystem::path authorities = {});
    // Any answer counts, whatever its status; nothing of the body is read.
    bool probe(const std::string& url) override;
    // Follows redirects, but never from https to http; an error status, a
    // body other than the announced length, or a cut-off chunked one fails.
    HttpBody download(const std::string& url, std::uint64_t limit) override;
    const HttpLimits& limits() const { return limits_; }

private:
    HttpLimits limits_;
    std::string authorities_;
};

}  // namespace durmivela::qt
