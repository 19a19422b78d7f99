#include "TestEnvironment.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#ifdef _WIN32
#include <io.h>
#endif

// The unit tests run on Linux and, cross-built, under Wine; these are the calls that differ.
namespace vanmoor::test {

std::string MakeTempDirectory(const std::string& prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "XXXXXX")).string();
#ifdef _WIN32
    if (_mktemp_s(pattern.data(), pattern.size() + 1) == 0 &&
        std::filesystem::create_directory(pattern)) {
        return pattern;
    }
#else
    if (mkdtemp(pattern.data()) != nullptr) {
        return pattern;
    }
#endif
    throw std::runtime_error("cannot create a temporary directory");
}

void SetVariable(const std::string& name, const std::string& value) {
#ifdef _WIN32
    _putenv_s(name.c_str(), value.c_str());
#else
    if (value.empty()) {
        unsetenv(name.c_str());
    } else {
        setenv(name.c_str(), value.c_str(), 1);
    }
#endif
}

void SetLogDirVariable(const std::string& value) {
    SetVariable("VANMOOR_LOG_DIR", value);
}

} // namespace vanmoor::test
