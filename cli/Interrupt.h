#pragma once

namespace vanmoor::cli {

// While it lives, Ctrl-C (SIGINT), SIGTERM and SIGHUP (the terminal closed) do not end the
// process but ask the running loop to stop (StopRequested), so that it can end cleanly: output
// closed, library shut down. The previous handlers come back at the end.
class InterruptCatcher {
public:
    InterruptCatcher();
    ~InterruptCatcher();
    InterruptCatcher(const InterruptCatcher&) = delete;
    InterruptCatcher& operator=(const InterruptCatcher&) = delete;

    static bool StopRequested();
};

} // namespace vanmoor::cli
