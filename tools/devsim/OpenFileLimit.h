#pragma once

namespace vanmoor::devsim {

// Raises the process's soft limit of open files to its hard limit: every device with a web
// service holds a listening socket and a WS-Discovery socket of its own, and a thousand of them
// pass the soft limit most systems start a process with (1,024).
void RaiseOpenFileLimit();

} // namespace vanmoor::devsim
