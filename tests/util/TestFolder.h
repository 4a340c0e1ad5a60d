// Where the shipped files are for a test: the build puts Leng/ beside the test
// executable, as beside the program, so no build-time path is needed.
#pragma once

#include <filesystem>

namespace durmivela::testing {

// The folder of the running test executable.
std::filesystem::path testProgramFolder();

}  // namespace durmivela::testing
