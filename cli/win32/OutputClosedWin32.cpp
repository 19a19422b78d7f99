#include "../OutputClosed.h"

#include <io.h>
#include <windows.h>

namespace vanmoor::cli {

// Only a pipe can lose its reader; writing nothing to it tells whether the reader is still there.
bool OutputClosed(int descriptor) {
    if (descriptor < 0) {
        return false;
    }
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(descriptor));
    if (handle == INVALID_HANDLE_VALUE || GetFileType(handle) != FILE_TYPE_PIPE) {
        return false;
    }
    DWORD written = 0;
    if (WriteFile(handle, "", 0, &written, nullptr)) {
        return false;
    }
    const DWORD error = GetLastError();
    return error == ERROR_NO_DATA || error == ERROR_BROKEN_PIPE;
}

} // namespace vanmoor::cli
