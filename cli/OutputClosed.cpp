#include "OutputClosed.h"

#include <poll.h>

namespace vanmoor::cli {

bool OutputClosed(int descriptor) {
    if (descriptor < 0) {
        return false;
    }
    // No events asked for: poll still reports an error or a hang-up, and never blocks.
    pollfd entry{descriptor, 0, 0};
    return poll(&entry, 1, 0) == 1 && (entry.revents & (POLLERR | POLLHUP)) != 0;
}

} // namespace vanmoor::cli
