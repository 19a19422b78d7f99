/* Starts and stops the library without a search (no socket is opened) and prints the file the
 * library was loaded from, so that the test can tell an installed copy from the build tree's. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <vanmoor.h>

int main(void) {
    if (!init()) {
        return 1;
    }
    const int addresses = getIPcount(); /* 0: no setIPSearch() yet */
    deinit();
    Dl_info library;
    if (addresses != 0 || !dladdr((void*)&init, &library) || !library.dli_fname) {
        return 1;
    }
    printf("%s\n", library.dli_fname);
    return 0;
}
