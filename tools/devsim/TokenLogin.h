#pragma once

#include "SoapRequest.h"

#include <chrono>
#include <mutex>
#include <set>
#include <string>

namespace vanmoor::devsim {

// WS-Security UsernameToken login as a device checks it: PasswordDigest only, equal to
// Base64(SHA-1(nonce + created + password)), Created within a few seconds of the device's clock,
// and a nonce never used before. Thread-safe.
class TokenLogin {
public:
    static constexpr std::chrono::seconds kClockTolerance{5};

    bool Check(const UsernameToken& token, const std::string& user, const std::string& password,
               std::chrono::system_clock::time_point deviceNow);

private:
    std::mutex m_Mutex;
    std::set<std::string> m_UsedNonces;
};

} // namespace vanmoor::devsim
