#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vanmoor::listing {

// The library's queries that tell which local address found a device, with the signatures of
// its exports: the command line hands in the exports themselves, the dialog the entries of its
// own function table.
struct LocalAddressQueries {
    bool (*setIPSearch)(int enable, const char* address);
    int (*getIPcount)();
    const char* (*getIPinfo)(int i);
    bool (*getMacString)(int index, char* out, int outSize);
};

// The local address each of the first `count` devices of the library's table was found through,
// by index: the library tells no device's address, but its filter hides every device found
// through another one, so each address in turn shows its own. None for a device no address
// shows, or more than one (then which one answered is not known). Leaves the filter on `filter`
// again, or off when it is empty.
std::vector<std::optional<std::string>> ReadLocalAddresses(const LocalAddressQueries& queries,
                                                           int count, const std::string& filter);

} // namespace vanmoor::listing
