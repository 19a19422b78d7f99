#include "ThreadName.h"

#include <pthread.h>

namespace vanmoor::platform {

void NameThread(std::thread& thread, const char* name) {
    pthread_setname_np(thread.native_handle(), name);
}

} // namespace vanmoor::platform
