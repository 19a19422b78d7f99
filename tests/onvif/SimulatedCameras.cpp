#include "SimulatedCameras.h"

#include <chrono>
#include <cstdlib>
#include <string>

#ifndef _WIN32
#include "ProgramInLan.h"
#endif

namespace vanmoor::onvif::test {

namespace {

using namespace std::chrono_literals;

bool s_Ready = false;
#ifndef _WIN32
std::unique_ptr<vanmoor::test::ProgramInLan> s_Simulator;
#endif

} // namespace

const Credentials kCameraAdmin{"admin", "\xC3\x96"
                                        "ffne-mich 1"};

void SimulatedCameras::SetUpTestSuite() {
#ifdef _WIN32
    s_Ready = std::getenv("VANMOOR_ONVIF_CAMERAS") != nullptr;
#else
    // Started once for the program's suites, and ended with the program.
    if (!s_Simulator) {
        s_Simulator = std::make_unique<vanmoor::test::ProgramInLan>(
            1, VANMOOR_DEVSIM_PROGRAM,
            std::vector<std::string>{"--config", VANMOOR_ONVIF_CAMERAS, "--ready"});
        s_Ready = s_Simulator->ReadLine(10s).starts_with("vanmoor-devsim ready");
    }
#endif
}

void SimulatedCameras::SetUp() {
    ASSERT_TRUE(s_Ready) << "the simulated cameras are not running";
}

Camera::Camera(std::uint8_t host, const Credentials& credentials, const HttpLimits& limits)
    : m_transport(MakeHttpTransport({})),
      m_session(*this, "http://192.0.2." + std::to_string(host) + "/onvif/device_service",
                credentials, limits),
      m_client(m_session, Ipv4Octets{192, 0, 2, host}) {}

Camera::~Camera() = default;

HttpResult Camera::Post(const HttpRequest& request, const HttpLimits& limits) {
    ++m_requests;
    return m_transport->Post(request, limits);
}

} // namespace vanmoor::onvif::test
