#pragma once

#include <thread>

namespace vanmoor::platform {

// Names a thread (at most 15 characters), so that it can be told apart in a debugger or a
// process listing. Named by its creator, so the name is there as soon as the thread exists.
void NameThread(std::thread& thread, const char* name);

} // namespace vanmoor::platform
