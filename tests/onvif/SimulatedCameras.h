#pragma once

#include "DeviceClient.h"
#include "DeviceSession.h"
#include "HttpTransport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

namespace vanmoor::onvif::test {

// The password of every camera of cameras.conf: "Öffne-mich 1" in UTF-8.
extern const Credentials kCameraAdmin;

// The simulated cameras of cameras.conf in lan 1 of the test network. On Linux the first suite
// starts the simulator; under Wine, tests/windows/wine-network.sh starts it and sets
// VANMOOR_ONVIF_CAMERAS.
class SimulatedCameras : public testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
};

// One camera's session and client over the platform's transport, the camera at
// 192.0.2.`host`; counts the requests sent.
class Camera : private HttpTransport {
public:
    explicit Camera(std::uint8_t host, const Credentials& credentials = kCameraAdmin,
                    const HttpLimits& limits = {});
    ~Camera() override;

    DeviceSession& Session() { return m_session; }
    DeviceClient& Client() { return m_client; }
    int RequestsSent() const { return m_requests; }

private:
    HttpResult Post(const HttpRequest& request, const HttpLimits& limits) override;

    std::unique_ptr<HttpTransport> m_transport;
    int m_requests = 0;
    DeviceSession m_session;
    DeviceClient m_client;
};

} // namespace vanmoor::onvif::test
