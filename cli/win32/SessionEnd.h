#pragma once

namespace vanmoor::cli {

// For the whole run of the program. When the console is closed, the user logs off or the
// system shuts down, Windows ends the process as soon as its console handler returns. The
// handler asks the running command to stop (as Ctrl-C does for `watch`) and returns only when
// this object ends, a few seconds at most, so that the command can finish its output document
// and hand over the log lines.
class SessionEndWait {
public:
    SessionEndWait();
    ~SessionEndWait();
    SessionEndWait(const SessionEndWait&) = delete;
    SessionEndWait& operator=(const SessionEndWait&) = delete;
};

} // namespace vanmoor::cli
