// Where the shipped files are for a test: the build puts Leng/ beside the test
// executable, as beside the program, so no build-time path is needed.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace durmivela::testing {

// The folder of the running test executable.
std::filesystem::path testProgramFolder();

// The base names (UTF-8) of the shipped language files, in name order.
std::vector<std::string> shippedLanguages();

}  // namespace durmivela::testing
