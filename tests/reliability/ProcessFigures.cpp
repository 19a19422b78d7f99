#include "ProcessFigures.h"

#include <dirent.h>
#include <fstream>
#include <string>
#include <unistd.h>

namespace vanmoor::test {

namespace {

std::size_t EntriesOf(const char* directory) {
    std::size_t count = 0;
    if (DIR* listing = opendir(directory)) {
        while (const dirent* entry = readdir(listing)) {
            count += entry->d_name[0] != '.' ? 1 : 0;
        }
        closedir(listing);
    }
    return count;
}

} // namespace

ProcessFigures ProcessFigures::Now() {
    std::size_t sizePages = 0;
    std::size_t residentPages = 0;
    std::ifstream("/proc/self/statm") >> sizePages >> residentPages;
    // The listing of the descriptors holds one descriptor of its own while it reads.
    return {EntriesOf("/proc/self/fd") - 1, EntriesOf("/proc/self/task"),
            residentPages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE))};
}

} // namespace vanmoor::test
