#pragma once

#include "DeviceLink.h"
#include "Session.h"

namespace vanmoor::cli {

// A batch's searches through the command's session (the device protocols alone: a batch looks
// for its devices by MAC), its commands straight to the library. A
// search that fails gives no devices instead of ending the command, so that the batch can still
// report every device.
class SessionLink : public commission::DeviceLink {
public:
    explicit SessionLink(Session& session) : m_Session(session) {}

    std::optional<std::vector<commission::SiteDevice>> Search() override;
    bool Send(const NetSettings& settings) override;
    bool Send(const AuthNetSettings& settings) override;

private:
    Session& m_Session;
};

} // namespace vanmoor::cli
