#pragma once

#include "DeviceLink.h"
#include "LibraryApi.h"

namespace kestrun {

// A batch's searches and settings commands through the dialog's library table. It calls the
// library from whichever thread runs the batch; nothing else may call it meanwhile.
class LibraryLink : public vanmoor::commission::DeviceLink {
public:
    explicit LibraryLink(const LibraryApi& api) : m_Api(api) {}

    // A search as long as the search button's. A failed search gives none: the library
    // keeps its table then, whose records set() has already overwritten with the new settings,
    // and reading them would count a device as changed that never answered.
    std::optional<std::vector<vanmoor::commission::SiteDevice>> Search() override;
    bool Send(const NetSettings& settings) override;
    bool Send(const AuthNetSettings& settings) override;

private:
    const LibraryApi& m_Api;
};

} // namespace kestrun
