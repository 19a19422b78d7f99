#include "OpenFileLimit.h"

#include <sys/resource.h>

namespace vanmoor::devsim {

void RaiseOpenFileLimit() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        // Where it cannot be raised, a server that finds no descriptor says so when it starts.
        setrlimit(RLIMIT_NOFILE, &limit);
    }
}

} // namespace vanmoor::devsim
