#pragma once

#include <string>

namespace vanmoor::onvif {

// A camera user's name and password as UTF-8 bytes; both logins hash them as they are.
struct Credentials {
    std::string user;
    std::string password;
};

} // namespace vanmoor::onvif
