#pragma once

#include "vanmoor.h"

namespace kestrun {

// The library functions the dialog calls, as a table of function pointers. The program uses the
// real exports; tests hand in fakes with the same signatures.
struct LibraryApi {
    void* (*init)();
    void (*deinit)();
    bool (*search)(int milliseconds);
    int (*getCounts)();
    bool (*setIPSearch)(int enable, const char* address);
    int (*getIPcount)();
    const char* (*getIPinfo)(int i);
    bool (*getName)(int index, void* out, int len);
    bool (*getIPString)(int index, char* out, int outSize);
    bool (*getIPString_DetVer)(int index, char* out, int outSize, char* protocolOut);
    bool (*getMacString)(int index, char* out, int outSize);
    int (*getPort)(int index);
    bool (*getNetMaskString)(int index, char* out, int outSize);
    bool (*getGateWayString)(int index, char* out, int outSize);
    bool (*getDNS1String)(int index, char* out, int outSize);
    bool (*getDNS2String)(int index, char* out, int outSize);
    int (*getDHCP)(int index);
    int (*getType)(int index);
    bool (*getDevice)(int index, void* out, int len);
    bool (*getVersion)(int index, void* out, int len);
    bool (*getBrand)(int index, void* out, int len);
    bool (*getModeName)(int index, void* out, int len);
    bool (*getCameraName1)(int index, void* out, int len);
    int (*set)(NetSettings settings);
    int (*set_MD5)(AuthNetSettings settings);
};

// The table of the library's own exports.
LibraryApi RealLibraryApi();

} // namespace kestrun
