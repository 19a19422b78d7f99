#pragma once

#include "ServiceDevices.h"
#include "SimDevice.h"
#include "SoapRequest.h"

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>

namespace httplib {
class Server;
struct Request;
struct Response;
} // namespace httplib

namespace vanmoor::devsim {

// One device's web service on its address and web port: SOAP 1.2 requests of the device service
// at the path of its first XAddrs, logins checked as the device takes them, every request
// recorded.
class DeviceServer {
public:
    // `workers` requests are answered at once; an idle kept-alive connection holds one.
    DeviceServer(std::size_t index, DeviceLogins& logins, ServiceDevices& devices,
                 std::size_t workers);
    ~DeviceServer(); // stops
    DeviceServer(const DeviceServer&) = delete;
    DeviceServer& operator=(const DeviceServer&) = delete;

    // Binds the device's address and port, in the calling thread's network namespace, and
    // serves on a thread of its own. Throws std::system_error when the address cannot be bound.
    void Start(const SimDevice& device);
    // Closes the server and its connections; returns once its threads have ended.
    void Stop();

private:
    void Handle(const httplib::Request& request, httplib::Response& response);
    // What the request is and whether its login holds, for the record.
    ServiceRequest Admit(const httplib::Request& request, const std::optional<SoapRequest>& soap,
                         const SimDevice& device);
    // A refused login: a challenge when the device takes Digest.
    void Refuse(const SimDevice& device, httplib::Response& response);
    void AnswerChange(const SoapRequest& soap, const SimDevice& device,
                      httplib::Response& response);
    // Answers the hostile way the device is set to; false when it is set to none.
    bool AnswerHostile(const SimDevice& device, httplib::Response& response);

    const std::size_t m_Index;
    const std::size_t m_Workers;
    DeviceLogins& m_Logins;
    ServiceDevices& m_Devices;
    std::unique_ptr<httplib::Server> m_Server;
    std::atomic<bool> m_Stopping{false};
    std::thread m_Thread;
};

} // namespace vanmoor::devsim
