#include "TempDirectory.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace kestrun::test {

TempDirectory::TempDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kestrun-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary directory");
    }
    m_Path = pattern;
}

TempDirectory::~TempDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(m_Path, ignored);
}

void TempDirectory::WriteFile(const std::string& name, const std::string& bytes) const {
    std::ofstream(m_Path / name, std::ios::binary) << bytes;
}

} // namespace kestrun::test
