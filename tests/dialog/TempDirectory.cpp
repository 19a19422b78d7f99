#include "TempDirectory.h"

#include "TestEnvironment.h"

#include <fstream>

namespace kestrun::test {

TempDirectory::TempDirectory() : m_Path(vanmoor::test::MakeTempDirectory("kestrun-")) {}

TempDirectory::~TempDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(m_Path, ignored);
}

void TempDirectory::WriteFile(const std::string& name, const std::string& bytes) const {
    std::ofstream(m_Path / name, std::ios::binary) << bytes;
}

} // namespace kestrun::test
