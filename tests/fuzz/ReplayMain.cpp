// Runs each file of the given corpus directories through the fuzz target's entry point, the way
// libFuzzer runs one input; a broken invariant aborts, as it does under the fuzzer.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS_DIRECTORY...\n", argv[0]);
        return 2;
    }
    for (int arg = 1; arg < argc; ++arg) {
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(argv[arg])) {
            if (entry.is_regular_file()) {
                files.push_back(entry.path());
            }
        }
        // An empty corpus replays nothing and would pass unnoticed.
        if (files.empty()) {
            std::fprintf(stderr, "%s: no corpus files\n", argv[arg]);
            return 1;
        }
        std::sort(files.begin(), files.end());
        for (const auto& file : files) {
            std::ifstream in(file, std::ios::binary);
            const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
            std::printf("%s (%zu bytes)\n", file.filename().c_str(), bytes.size());
            std::fflush(stdout);
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                   bytes.size());
        }
        std::printf("%zu inputs replayed from %s\n", files.size(), argv[arg]);
    }
    return 0;
}
