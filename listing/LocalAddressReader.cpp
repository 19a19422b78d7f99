#include "LocalAddressReader.h"

namespace vanmoor::listing {

std::vector<std::optional<std::string>> ReadLocalAddresses(const LocalAddressQueries& queries,
                                                           int count, const std::string& filter) {
    // Copied first: the list the texts live in is rebuilt by every change of the filter.
    std::vector<std::string> addresses;
    for (int i = 0; i < queries.getIPcount(); ++i) {
        if (const char* address = queries.getIPinfo(i)) {
            addresses.emplace_back(address);
        }
    }
    std::vector<std::optional<std::string>> found(static_cast<std::size_t>(count > 0 ? count : 0));
    std::vector<bool> shownTwice(found.size());
    for (const std::string& address : addresses) {
        if (!queries.setIPSearch(1, address.c_str())) {
            continue; // gone since the search: it shows nothing
        }
        char mac[32];
        for (std::size_t index = 0; index < found.size(); ++index) {
            if (queries.getMacString(static_cast<int>(index), mac, sizeof mac)) {
                shownTwice[index] = shownTwice[index] || (found[index] && *found[index] != address);
                found[index] = address;
            }
        }
    }
    for (std::size_t index = 0; index < found.size(); ++index) {
        if (shownTwice[index]) {
            found[index].reset();
        }
    }
    queries.setIPSearch(filter.empty() ? 0 : 1, filter.c_str());
    return found;
}

} // namespace vanmoor::listing
